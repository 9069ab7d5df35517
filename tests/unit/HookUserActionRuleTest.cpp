// The user-action rule: a new frame is let through only when a qualifying key
// press or click was seen at most 1500 ms before it was created. Each test
// plays one desktop: one SharedState (the DLL's shared section) and one
// ProcessState per process that has the library mapped.
#include <gtest/gtest.h>

#include "hook/UserActionRule.h"

namespace {

constexpr uint32_t kLoad = 10000;  // tick count when the library loads
constexpr uint32_t kFrameStyle = 0x16CF0000;
constexpr KillTimerTarget kLetThrough = KillTimerTarget::None;
constexpr KillTimerTarget kKill = KillTimerTarget::Window;
const WindowFacts kIeFrame{"IEFrame", kFrameStyle};
const WindowFacts kMozillaFrame{"MozillaWindowClass", kFrameStyle};
const WindowFacts kAolFrame{"_AOL_EBROWSER_SITE", 0, "", "", true};
const WindowFacts kIcqFrame{"Shell Embedding", 0, "", "ICQ Now!", true};

class HookRule : public ::testing::Test {
 protected:
  SharedState shared;
  ProcessState ie;
  ProcessState mozilla;

  void SetUp() override {
    Load(mozilla, "C:\\Program Files\\mozilla.org\\Mozilla\\mozilla.exe");
    Load(ie, "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE");
  }
  void Load(ProcessState& process, const char* path, uint32_t now = kLoad) {
    OnLibraryLoaded(process, shared, path, now);
  }
  KillTimerTarget Create(ProcessState& process, const WindowFacts& window, uint32_t now) {
    return OnWindowCreated(process, shared, window, now).killTimer;
  }
  void Key(ProcessState& process, uint32_t key, uint32_t now) {
    OnKeyEvent(process, shared, key, false, now);
    OnKeyEvent(process, shared, key, true, now);
  }
  void CtrlKey(ProcessState& process, uint32_t key, uint32_t now) {
    OnKeyEvent(process, shared, kVkControl, false, now);
    Key(process, key, now);
    OnKeyEvent(process, shared, kVkControl, true, now);
  }
  void Click(ProcessState& process, const char* className, bool hasParent, uint32_t now) {
    OnMouseEvent(process, shared, MouseButtonEvent::LeftUp, {className, hasParent}, now);
  }
};

TEST_F(HookRule, CtrlNCounts1500MsAndNoLonger) {
  CtrlKey(ie, kVkN, 20000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 20000 + 1400));
  CtrlKey(ie, kVkN, 30000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 30000 + 1500));
  CtrlKey(ie, kVkN, 40000);
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 40000 + 1600));
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 50000));  // nothing since
}

TEST_F(HookRule, OneCtrlNLetsOneFrameThroughTheNextIsKilled) {
  CtrlKey(ie, kVkN, 20000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 20050));
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 20150));
}

TEST_F(HookRule, TickWrapAroundKeepsTheDifferenceSmall) {
  // 0x00000100 - 0xFFFFFF00 = 0x200 = 512 ms: let through.
  CtrlKey(ie, kVkN, 0xFFFFFF00);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 0x00000100));
  // 0x00000700 - 0xFFFFFF00 = 0x800 = 2048 ms: too old.
  CtrlKey(ie, kVkN, 0xFFFFFF00);
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 0x00000700));
}

TEST_F(HookRule, EveryWindowOfAWatchedProcessIsReportedOnlyFramesKilled) {
  const WindowFacts noSystemMenu{"IEFrame", kFrameStyle & ~kSystemMenuStyle};
  const WindowFacts child{"Internet Explorer_Server", 0x56000000, "", "", true};
  for (const WindowFacts& window : {noSystemMenu, child}) {
    const CreateDecision decision = OnWindowCreated(ie, shared, window, 30000);
    EXPECT_TRUE(decision.startReportTimer) << window.className;
    EXPECT_EQ(kLetThrough, decision.killTimer) << window.className;
  }
}

TEST_F(HookRule, MenuThenNKeyOrMenuClickCountsUntilTheNextKeyEvent) {
  Key(ie, kVkN, 20000);  // N alone: nothing
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 20100));
  OnMenuOpened(ie, shared);
  Key(ie, kVkN, 21000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 21300));
  OnMenuOpened(ie, shared);
  Key(ie, 'X', 22000);  // closes the chance
  Key(ie, kVkN, 22100);
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 22300));
  Click(ie, "#32768", false, 23000);  // no menu open
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 23100));
  OnMenuOpened(ie, shared);
  Click(ie, "#32768", false, 24000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 24100));
}

TEST_F(HookRule, ClickOnAnEmbeddedBrowserElsewhereLetsTheNextFrameThrough) {
  ProcessState helpViewer;  // not watched, yet its clicks count
  Load(helpViewer, "C:\\Windows\\hh.exe");
  Click(helpViewer, "internet explorer_server", true, 20000);
  // The skip has no time limit: 5 s later the frame still goes through.
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 25000));
  // The skip restarts the clock but leaves the click's own user action
  // pending, so one more frame within 1500 ms goes through; then none.
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 25100));
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 25200));
  // In the browser itself that class is just a page click.
  Click(ie, "Internet Explorer_Server", true, 30000);
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 30100));
}

TEST_F(HookRule, ShellEnterOrClickServesBothBrowserGroupsAndItsWindowsAreIgnored) {
  ProcessState shell;
  Load(shell, "C:\\WINDOWS\\Explorer.EXE");
  Create(mozilla, kMozillaFrame, kLoad);  // uses up the first-window pass
  Key(shell, kVkReturn, 20000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 20500));
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 20600));
  Click(shell, "SysListView32", true, 30000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 31000));
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 31400));
  EXPECT_FALSE(OnWindowCreated(shell, shared, {"CabinetWClass", kFrameStyle}, 32000).startReportTimer);
}

TEST_F(HookRule, FirstNetscapeFrameAfterLoadIsLetThroughTheSecondNot) {
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 60000));
  EXPECT_EQ(kKill, Create(mozilla, kMozillaFrame, 60100));
}

TEST_F(HookRule, NetscapeCtrlNCtrlWOrRightClickThenW) {
  Create(mozilla, kMozillaFrame, kLoad);
  CtrlKey(mozilla, kVkN, 20000);
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 21000));
  CtrlKey(mozilla, kVkW, 22000);
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 22500));
  OnMouseEvent(mozilla, shared, MouseButtonEvent::RightUp, {}, 23000);
  Key(mozilla, kVkW, 23400);
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 23600));
  OnMouseEvent(mozilla, shared, MouseButtonEvent::RightUp, {}, 24000);
  Key(mozilla, 'A', 24100);  // the right click counts only until this
  Key(mozilla, kVkW, 24200);
  EXPECT_EQ(kKill, Create(mozilla, kMozillaFrame, 24400));
}

TEST_F(HookRule, NetscapeClickCountsOnlyOnAChildWindow) {
  Create(mozilla, kMozillaFrame, kLoad);
  Click(mozilla, "MozillaWindowClass", false, 20000);
  EXPECT_EQ(kKill, Create(mozilla, kMozillaFrame, 20100));
  Click(mozilla, "MozillaWindowClass", true, 21200);
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 21300));
}

TEST_F(HookRule, AolKillTimerGoesOnTheParentAndOnlyIfThereIsOne) {
  ProcessState aol;
  Load(aol, "C:\\America Online 9.0\\aol.exe");
  EXPECT_EQ(KillTimerTarget::Parent, Create(aol, kAolFrame, 20000));
  WindowFacts orphan = kAolFrame;
  orphan.hasParent = false;
  const CreateDecision decision = OnWindowCreated(aol, shared, orphan, 21000);
  EXPECT_TRUE(decision.startReportTimer);
  EXPECT_EQ(kLetThrough, decision.killTimer);
}

TEST_F(HookRule, AolClickOrEnterAimClickOnlyEachInItsOwnProcess) {
  ProcessState aol;
  ProcessState aim;
  const WindowFacts aimFrame{"_aim_MiniBrowserClass"};
  Load(aol, "aol.exe");
  Load(aim, "aim.exe");
  Click(aol, "Button", true, 20000);
  EXPECT_EQ(kKill, Create(aim, aimFrame, 20100));  // not AIM's click
  EXPECT_EQ(kLetThrough, Create(aol, kAolFrame, 21000));
  Key(aol, kVkReturn, 22000);
  EXPECT_EQ(kLetThrough, Create(aol, kAolFrame, 23400));
  Key(aim, kVkReturn, 24000);
  EXPECT_EQ(kKill, Create(aim, aimFrame, 24100));
  Click(aim, "Button", true, 25000);
  EXPECT_EQ(kLetThrough, Create(aim, aimFrame, 25100));
}

TEST_F(HookRule, IcqLiteFramesAreKilledEvenRightAfterAClick) {
  ProcessState icq;
  Load(icq, "ICQLite.exe");
  Click(icq, "Button", true, 20000);
  EXPECT_EQ(kKill, Create(icq, kIcqFrame, 20050));
}

TEST_F(HookRule, FileSharingWindowsUseUpTheBrowsersUserAction) {
  ProcessState morpheus;
  ProcessState kazaa;
  Load(morpheus, "Morpheus.exe");
  Load(kazaa, "Kazaa.exe");
  CtrlKey(ie, kVkN, 20000);
  EXPECT_EQ(kLetThrough, Create(morpheus, {"Button"}, 20100));  // reported, never killed
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 20200));
  CtrlKey(ie, kVkN, 30000);
  EXPECT_EQ(kLetThrough, Create(kazaa, {"Button"}, 30100));
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 30200));
  // A Kazaa frame dies whatever the user did.
  Click(kazaa, "Button", true, 40000);
  EXPECT_EQ(kKill, Create(kazaa, {"AdPIWnd"}, 40010));
}

TEST_F(HookRule, UnwatchedProgramsAndOutlookExpressKillNothing) {
  ProcessState notepad;
  ProcessState outlook;
  Load(notepad, "notepad.exe");
  Load(outlook, "msimn.exe");
  OnKeyEvent(notepad, shared, kVkControl, false, 20000);
  EXPECT_EQ(0, notepad.ctrlDown.load());
  EXPECT_FALSE(OnWindowCreated(notepad, shared, kIeFrame, 20000).startReportTimer);
  EXPECT_TRUE(OnWindowCreated(outlook, shared, kIeFrame, 20000).startReportTimer);
  EXPECT_EQ(kLetThrough, Create(outlook, kIeFrame, 20000));
}

TEST_F(HookRule, LoadStampsEveryGroupAndClearsAimsFlag) {
  ProcessState aim;
  aim.imUserAction.store(1);
  Load(aim, "aim.exe", 4242);
  EXPECT_EQ(0, aim.imUserAction.load());
  EXPECT_EQ(4242u, aim.imLastAction.load());
  EXPECT_EQ(4242u, shared.ieLastAction.load());
  EXPECT_EQ(4242u, shared.nsLastAction.load());
}

}  // namespace
