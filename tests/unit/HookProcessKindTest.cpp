// Which program a process is, from its file name, and which of its windows
// are browser or messenger frames.
#include <gtest/gtest.h>

#include "hook/UserActionRule.h"

namespace {

constexpr uint32_t kFrameStyle = 0x16CF0000;  // Wine's IEFrame, WS_SYSMENU among others
constexpr uint32_t kNoSystemMenu = kFrameStyle & ~kSystemMenuStyle;

TEST(HookProcessKind, ContainmentInTableOrderOnTheUpperCasedFileName) {
  // "IEXPLORE" is tested before "EXPLORER": the browser is never the shell.
  EXPECT_EQ(ProcessKind::InternetExplorer, ProcessKindFromPath("C:\\Program Files\\Internet Explorer\\iexplore.exe"));
  EXPECT_EQ(ProcessKind::Shell, ProcessKindFromPath("C:\\WINDOWS\\Explorer.EXE"));
  // Any name holding the text AOL is AOL, and AOL comes before AIM...
  EXPECT_EQ(ProcessKind::Aol, ProcessKindFromPath("c:\\tools\\kaolin.exe"));
  EXPECT_EQ(ProcessKind::Aol, ProcessKindFromPath("C:\\aolaim.exe"));
  // ...but C-A-R-O-L holds the letters, not the text.
  EXPECT_EQ(ProcessKind::NotWatched, ProcessKindFromPath("C:\\Users\\carol\\CAROL.EXE"));
  EXPECT_EQ(ProcessKind::NetscapeFamily, ProcessKindFromPath("C:\\Netscape\\Netscp6.exe"));
  EXPECT_EQ(ProcessKind::IcqLite, ProcessKindFromPath("ICQLite.exe"));
  EXPECT_EQ(ProcessKind::OutlookExpress, ProcessKindFromPath("msimn.exe"));
}

TEST(HookProcessKind, OnlyThePartAfterTheLastSlashOrBackslashCounts) {
  EXPECT_EQ(ProcessKind::NotWatched, ProcessKindFromPath("C:\\Program Files\\AOL 9.0\\notepad.exe"));
  EXPECT_EQ(ProcessKind::Kazaa, ProcessKindFromPath("/home/aol/.wine/kazaa.exe"));
  EXPECT_EQ(ProcessKind::NotWatched, ProcessKindFromPath("C:\\iexplore/run.exe"));
  EXPECT_EQ(ProcessKind::NotWatched, ProcessKindFromPath(""));
}

TEST(HookBrowserFrame, BrowserFramesNeedTheSystemMenuBit) {
  EXPECT_TRUE(IsBrowserFrame(ProcessKind::InternetExplorer, {"cabinetwclass", kSystemMenuStyle}));
  EXPECT_FALSE(IsBrowserFrame(ProcessKind::InternetExplorer, {"IEFrame", kNoSystemMenu}));
  EXPECT_FALSE(IsBrowserFrame(ProcessKind::InternetExplorer, {"IEFrameX", kFrameStyle}));
  EXPECT_TRUE(IsBrowserFrame(ProcessKind::NetscapeFamily, {"MOZILLAWINDOWCLASS", kFrameStyle}));
  EXPECT_FALSE(IsBrowserFrame(ProcessKind::NetscapeFamily, {"MozillaWindowClass", kNoSystemMenu}));
}

TEST(HookBrowserFrame, ContainmentTestsAreCaseSensitive) {
  EXPECT_TRUE(IsBrowserFrame(ProcessKind::NetscapeFamily, {"NS6Frame", kFrameStyle, "Ads - Netscape 7"}));
  EXPECT_FALSE(IsBrowserFrame(ProcessKind::NetscapeFamily, {"NS6Frame", kFrameStyle, "Ads - NETSCAPE 7"}));
  EXPECT_TRUE(IsBrowserFrame(ProcessKind::Kazaa, {"AdPIWindow"}));
  EXPECT_FALSE(IsBrowserFrame(ProcessKind::Kazaa, {"AdPiWindow"}));
}

TEST(HookBrowserFrame, IcqLiteFrameNeedsTheExactParentTitle) {
  WindowFacts frame{"shell embedding", 0, "", "Initiating Message", true};
  EXPECT_TRUE(IsBrowserFrame(ProcessKind::IcqLite, frame));
  frame.parentTitle = "ICQ Now!";
  EXPECT_TRUE(IsBrowserFrame(ProcessKind::IcqLite, frame));
  frame.parentTitle = "ICQ NOW!";
  EXPECT_FALSE(IsBrowserFrame(ProcessKind::IcqLite, frame));
}

TEST(HookBrowserFrame, ShellMorpheusOutlookAndUnwatchedHaveNoFrames) {
  const WindowFacts anything{"IEFrame", kFrameStyle, "Netscape", "ICQ Now!", true};
  for (ProcessKind kind : {ProcessKind::Shell, ProcessKind::Morpheus, ProcessKind::OutlookExpress,
                           ProcessKind::NotWatched}) {
    EXPECT_FALSE(IsBrowserFrame(kind, anything)) << static_cast<int>(kind);
  }
}

}  // namespace
