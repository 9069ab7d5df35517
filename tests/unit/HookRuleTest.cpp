// The hook library's decisions. Each rule test plays one desktop: one
// SharedState (the DLL's shared section), one ProcessState per process.
#include <gtest/gtest.h>

#include <vector>

#include "hook/HookLifecycle.h"
#include "hook/UserActionRule.h"

namespace {

constexpr uint32_t kLoad = 10000;  // tick count when the library loads
constexpr uint32_t kFrameStyle = 0x16CF0000;  // Wine's IEFrame, WS_SYSMENU among others
constexpr uint32_t kNoSystemMenu = kFrameStyle & ~kSystemMenuStyle;
constexpr KillTimerTarget kLetThrough = KillTimerTarget::None;
constexpr KillTimerTarget kKill = KillTimerTarget::Window;
const WindowFacts kIeFrame{"IEFrame", kFrameStyle};
const WindowFacts kMozillaFrame{"MozillaWindowClass", kFrameStyle};
const WindowFacts kAolFrame{"_AOL_EBROWSER_SITE", 0, "", "", true};
const WindowFacts kAimFrame{"_aim_MiniBrowserClass"};
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

// The tick counter wraps after 49.7 days; the unsigned difference stays
// right: 0x100 - 0xFFFFFF00 = 0x200 = 512 ms, 0x700 - 0xFFFFFF00 = 2048 ms.
TEST_F(HookRule, CtrlNCounts1500MsAndNoLongerAlsoAcrossTheWrap) {
  const struct {
    uint32_t key;
    uint32_t frame;
    KillTimerTarget expected;
  } cases[] = {{20000, 21400, kLetThrough}, {30000, 31500, kLetThrough}, {40000, 41501, kKill},
               {0xFFFFFF00, 0x100, kLetThrough}, {0xFFFFFF00, 0x700, kKill}};
  for (const auto& c : cases) {
    CtrlKey(ie, kVkN, c.key);
    EXPECT_EQ(c.expected, Create(ie, kIeFrame, c.frame)) << c.key << " -> " << c.frame;
  }
}

TEST_F(HookRule, OneActionLetsOneFrameThroughAndEveryWindowIsReported) {
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 20000));  // nothing done since the load
  CtrlKey(ie, kVkN, 21000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 21050));
  EXPECT_EQ(kKill, Create(ie, kIeFrame, 21150));
  const WindowFacts noSystemMenu{"IEFrame", kNoSystemMenu};
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
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, kLoad));  // the first frame after the load
  EXPECT_EQ(kKill, Create(mozilla, kMozillaFrame, kLoad + 100));
  Key(shell, kVkReturn, 20000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 20500));
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 20600));
  Click(shell, "SysListView32", true, 30000);
  EXPECT_EQ(kLetThrough, Create(ie, kIeFrame, 31000));
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 31400));
  EXPECT_FALSE(OnWindowCreated(shell, shared, {"CabinetWClass", kFrameStyle}, 32000).startReportTimer);
}

TEST_F(HookRule, NetscapeCtrlNCtrlWRightClickThenWOrAClickOnAChildWindow) {
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
  Click(mozilla, "MozillaWindowClass", false, 25000);
  EXPECT_EQ(kKill, Create(mozilla, kMozillaFrame, 25100));
  Click(mozilla, "MozillaWindowClass", true, 26200);
  EXPECT_EQ(kLetThrough, Create(mozilla, kMozillaFrame, 26300));
}

TEST_F(HookRule, MessengersCountTheirOwnClicksAolKillsTheParentIcqAlways) {
  ProcessState aol;
  ProcessState aim;
  ProcessState icq;
  Load(aol, "C:\\America Online 9.0\\aol.exe");
  Load(aim, "aim.exe");
  Load(icq, "ICQLite.exe");
  EXPECT_EQ(KillTimerTarget::Parent, Create(aol, kAolFrame, 20000));
  WindowFacts orphan = kAolFrame;
  orphan.hasParent = false;
  EXPECT_EQ(kLetThrough, Create(aol, orphan, 20500));
  Click(aol, "Button", true, 21000);
  EXPECT_EQ(kKill, Create(aim, kAimFrame, 21100));  // not AIM's click
  EXPECT_EQ(kLetThrough, Create(aol, kAolFrame, 21200));
  Key(aol, kVkReturn, 22000);
  EXPECT_EQ(kLetThrough, Create(aol, kAolFrame, 23400));
  Key(aim, kVkReturn, 24000);
  EXPECT_EQ(kKill, Create(aim, kAimFrame, 24100));
  Click(aim, "Button", true, 25000);
  EXPECT_EQ(kLetThrough, Create(aim, kAimFrame, 25100));
  Click(icq, "Button", true, 26000);
  EXPECT_EQ(kKill, Create(icq, kIcqFrame, 26050));
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

// Behaves like SetWindowsHookExA / UnhookWindowsHookEx: hands out handles
// 1, 2, 3... and fails the mouse hook or every removal when told to.
struct FakeHookApi {
  std::vector<HookType> installed;
  std::vector<uintptr_t> removed;
  int failures = 0;
  bool failMouse = false;
  bool removeFails = false;

  uintptr_t Install(HookType type) {
    if (failMouse && type == HookType::Mouse) {
      return 0;
    }
    installed.push_back(type);
    return installed.size();
  }
  bool Remove(uintptr_t handle) {
    removed.push_back(handle);
    return !removeFails;
  }
  void ReportFailure() { ++failures; }
};

TEST(HookLifecycle, InstallsInOrderOnceAndARetryKeepsWhatIsInPlace) {
  HookLifecycle hooks;
  FakeHookApi api{{}, {}, 0, true, false};
  RemoveHooks(hooks, api);  // Shutdown without Initialise
  InstallHooks(hooks, api);
  EXPECT_EQ(std::vector<HookType>{HookType::CallWindowProcedure}, api.installed);
  EXPECT_FALSE(hooks.installed);
  api.failMouse = false;
  InstallHooks(hooks, api);
  InstallHooks(hooks, api);
  // Window hook 1 from the first call is kept; mouse 2 and keyboard 3 added.
  EXPECT_EQ((std::vector<HookType>{HookType::CallWindowProcedure, HookType::Mouse, HookType::Keyboard}),
            api.installed);
  EXPECT_TRUE(hooks.installed);
  EXPECT_EQ(1, api.failures);
  api.removeFails = true;
  RemoveHooks(hooks, api);
  RemoveHooks(hooks, api);  // again at DLL unload
  EXPECT_EQ((std::vector<uintptr_t>{1, 2, 3}), api.removed);
  EXPECT_FALSE(hooks.installed);
  EXPECT_EQ(2u, hooks.handles[1]);  // a handle whose removal failed is kept
}

}  // namespace

// The Wine hook test runs the common program kinds under their usual file
// names; here every kind's entry and the names that only look alike.
TEST(HookProcessKind, ContainmentInTableOrderOnTheUpperCasedFileName) {
  const struct {
    const char* path;
    ProcessKind kind;
  } cases[] = {
      {"C:\\Program Files\\Internet Explorer\\iexplore.exe", ProcessKind::InternetExplorer},
      // Any name holding the text AOL is AOL, and AOL comes before AIM...
      {"C:\\aolaim.exe", ProcessKind::Aol},
      // ...but C-A-R-O-L holds the letters, not the text.
      {"C:\\Users\\carol\\CAROL.EXE", ProcessKind::NotWatched},
      {"C:\\Netscape\\Netscp6.exe", ProcessKind::NetscapeFamily},
      // Only the part after the last slash or backslash counts.
      {"C:\\Program Files\\AOL 9.0\\notepad.exe", ProcessKind::NotWatched},
      {"/home/aol/.wine/kazaa.exe", ProcessKind::Kazaa},
      {"C:\\iexplore/run.exe", ProcessKind::NotWatched},
      {"", ProcessKind::NotWatched},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.kind, ProcessKindFromPath(c.path)) << c.path;
  }
}

// Class names compare without regard to case, containment tests are
// case-sensitive. The Wine hook test shows the same on real windows.
TEST(HookBrowserFrame, ByProgramKind) {
  const WindowFacts anything{"IEFrame", kFrameStyle, "Netscape", "ICQ Now!", true};
  const struct {
    ProcessKind kind;
    WindowFacts window;
    bool frame;
  } cases[] = {
      {ProcessKind::InternetExplorer, {"cabinetwclass", kSystemMenuStyle}, true},
      {ProcessKind::InternetExplorer, {"IEFrameX", kFrameStyle}, false},
      {ProcessKind::NetscapeFamily, {"MozillaWindowClass", kNoSystemMenu}, false},
      {ProcessKind::NetscapeFamily, {"NS6Frame", kFrameStyle, "Ads - NETSCAPE 7"}, false},
      {ProcessKind::Kazaa, {"AdPiWindow"}, false},
      {ProcessKind::IcqLite, {"shell embedding", 0, "", "Initiating Message", true}, true},
      {ProcessKind::IcqLite, {"Shell Embedding", 0, "", "ICQ NOW!", true}, false},
      {ProcessKind::Shell, anything, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.frame, IsBrowserFrame(c.kind, c.window)) << static_cast<int>(c.kind) << " " << c.window.className;
  }
  // The parent's title is read only once the class could make a frame.
  EXPECT_TRUE(NeedsParentTitle(ProcessKind::IcqLite, "SHELL EMBEDDING"));
  EXPECT_FALSE(NeedsParentTitle(ProcessKind::IcqLite, "Button"));
  EXPECT_FALSE(NeedsParentTitle(ProcessKind::InternetExplorer, "Shell Embedding"));
}
