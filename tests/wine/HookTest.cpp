// Wendle.dll on the real binaries: a probe in this process or the real
// Tarnelix installs the hooks; TestBrowser copies named like the watched
// programs create windows, press keys and stay open while the reports come.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HookHarness.h"

namespace {

using hooktest::HookProbe;
using hooktest::kChildStyle;
using hooktest::kFrameStyle;
using hooktest::kNoSystemMenuStyle;
using hooktest::Report;
using hooktest::Script;
using hooktest::Windows;

// Reports come 100 ms after creation, plus Wine's timer and scheduling delay
// (about 100 to 145 ms measured): 400 ms after the last creation every
// report of a run has come.
constexpr DWORD kSettleMs = 400;
// The report timer runs 100 ms; the creation tick is taken just before
// CreateWindowEx, so only clock rounding can make it look shorter.
constexpr DWORD kMinReportDelayMs = 95;

struct Case {
    std::string program;                // file name of the TestBrowser copy
    Script script;
    std::vector<std::string> reported;  // each gets exactly one new-window report
    std::vector<std::string> killed;    // the windows kill reports name, in order
};

// One probe for the suite; each case looks only at the reports that came
// after its own start.
class HookReports : public ::testing::Test {
protected:
    static void SetUpTestSuite() { probe = new HookProbe(); }
    static void TearDownTestSuite() { delete probe; }
    void SetUp() override { ASSERT_TRUE(probe->Started()); }

    // Runs the script and checks the new-window and kill reports it caused.
    void Check(const Case& c) {
        SCOPED_TRACE(c.program);
        const size_t first = probe->Reports().size();
        Script script = c.script;
        Windows windows;
        ASSERT_TRUE(hooktest::RunBrowser(c.program, script.Wait(kSettleMs), windows));
        const std::vector<Report> reports = probe->Reports();
        for (const std::string& name : c.reported) {
            const auto* window = hooktest::Find(windows, name);
            ASSERT_NE(nullptr, window) << name;
            const auto found = hooktest::ReportsOf(reports, first, "new", window->hwnd);
            ASSERT_EQ(1u, found.size()) << "new-window reports about " << name;
            EXPECT_GE(found[0].tick - window->created, kMinReportDelayMs) << name;
        }
        std::vector<std::string> killed;
        for (const Report& report : hooktest::ReportsOf(reports, first, "kill")) {
            const auto named = std::find_if(windows.begin(), windows.end(), [&](auto& w) { return w.hwnd == report.window; });
            killed.push_back(named != windows.end() ? named->name : "foreign");
        }
        EXPECT_EQ(c.killed, killed);
        // Wendle's timers are one-shot, and they leave the program's own
        // timers alone, whatever their ids.
        for (const auto& window : windows) {
            if (window.name == "owntimers") {
                EXPECT_GE(window.timerMessages, 5) << "the program's own timers were replaced";
            } else {
                EXPECT_LE(window.timerMessages, 2) << window.name;
            }
        }
        if (c.reported.empty()) {
            EXPECT_EQ(first, reports.size()) << "a program that is not watched reports nothing";
        }
    }

    static inline HookProbe* probe = nullptr;
};

Script PlainWindows() {
    return Script().Frame("frame").Create("plain", "TarnelixPlain", kFrameStyle, "Plain").Create(
        "child", "TarnelixChild", kChildStyle, "Child", "plain");
}

TEST_F(HookReports, EachProgramKindReportsEveryWindowAndKillsItsFrames) {
    const Case cases[] = {
        // Class names compare without regard to case: registered first, the
        // upper-case spelling is the class name both frames report.
        {"IEXPLORE.EXE",
         Script()
             .Create("shouting", "IEFRAME", kFrameStyle, "Shouting")
             .Frame("popup")
             .Create("tab", "TabWindowClass", kChildStyle, "Tab", "popup")
             .Create("cabinet", "CabinetWClass", kFrameStyle, "Cabinet")
             .Create("bare", "IEFrame", kNoSystemMenuStyle, "Bare")
             .Create("owntimers", "IEFrame", kFrameStyle, "OwnTimers"),
         {"shouting", "popup", "tab", "cabinet", "bare", "owntimers"},
         {"shouting", "popup", "cabinet", "owntimers"}},
        // The first Netscape frame after load goes through. A title holding
        // "Netscape" (case-sensitive) makes any class a frame. The hook reads
        // no title by WM_GETTEXT, so a window filling the whole buffer
        // unterminated harms nothing.
        {"NETSCAPE.EXE",
         Script()
             .Create("first", "MozillaWindowClass", kFrameStyle, "First")
             .Create("second", "MozillaWindowClass", kFrameStyle, "Second")
             .Create("titled", "TarnelixAd", kFrameStyle, "Buy now - Netscape 7")
             .Create("lower", "TarnelixAd", kFrameStyle, "buy now - netscape 7")
             .Create("nomenu", "MozillaWindowClass", kNoSystemMenuStyle, "No menu")
             .Create("fulltext", "TarnelixFullText", kFrameStyle, "Full"),
         {"first", "second", "titled", "lower", "nomenu", "fulltext"},
         {"second", "titled"}},
        // Holding the letters AOL makes any name AOL. The frame's parent
        // goes; a frame without a parent is spared.
        {"myaolhelper.exe",
         Script()
             .Create("host", "AOL Frame25", kFrameStyle, "AOL")
             .Create("page", "BrowserWindowMDI", kChildStyle, "Page", "host")
             .Create("host2", "AOL Frame25", kFrameStyle, "AOL 2")
             .Create("site", "_AOL_EBROWSER_SITE", kChildStyle, "Site", "host2")
             .Create("lone", "BrowserWindowMDI", kFrameStyle, "Lone"),
         {"host", "page", "host2", "site", "lone"},
         {"host", "host2"}},
        {"AIM.EXE",
         Script()
             .Create("buddies", "_Oscar_BuddyListWin", kFrameStyle, "Buddy List")
             .Create("mini", "_aim_MiniBrowserClass", kFrameStyle, "Today"),
         {"buddies", "mini"},
         {"mini"}},
        // Only the real parent counts: an owned popup has none.
        {"ICQLITE.EXE",
         Script()
             .Create("message", "TarnelixIcq", kFrameStyle, "Initiating Message")
             .Create("embedded", "Shell Embedding", kChildStyle, "", "message")
             .Create("owned", "Shell Embedding", "0x80000000", "", "message")
             .Create("now", "TarnelixIcq", kFrameStyle, "ICQ Now!")
             .Create("embedded2", "Shell Embedding", kChildStyle, "", "now")
             .Create("chat", "TarnelixIcq", kFrameStyle, "Chat")
             .Create("embedded3", "Shell Embedding", kChildStyle, "", "chat"),
         {"message", "embedded", "owned", "now", "embedded2", "chat", "embedded3"},
         {"embedded", "embedded2"}},
        {"KAZAA.EXE",
         Script()
             .Create("ad", "KazaaAdPIWnd", kFrameStyle, "Ad")
             .Create("child", "PIChild", kChildStyle, "Child", "ad")
             .Create("spinner", "Spinner", kFrameStyle, "lower-case pi"),
         {"ad", "child", "spinner"},
         {"ad", "child"}},
        {"MSIMN.EXE", PlainWindows(), {"frame", "plain", "child"}, {}},
        // "IEXPLORE" is tested before "EXPLORER": only the shell name is kind 1.
        {"EXPLORER.EXE", PlainWindows(), {}, {}},
        {"NOTEPAD.EXE", PlainWindows(), {}, {}},
    };
    for (const Case& c : cases) {
        Check(c);
    }
}

// Ctrl+N through SendInput reaches the keyboard hook of the browser's own
// process. Key() pumps 30 ms after the key.
TEST_F(HookReports, CtrlNLetsOneFrameThroughFor1500Ms) {
    Script script;
    script.Key("ctrl+n").Frame("wanted").Wait(100).Frame("popup");
    script.Key("ctrl+n").Wait(1200).Frame("late");   // about 1230 ms after the key
    script.Key("ctrl+n").Wait(1700).Frame("stale");  // about 1730 ms: too old
    Check({"IEXPLORE.EXE", script, {"wanted", "popup", "late", "stale"}, {"popup", "stale"}});
}

// What Wendle32Host.exe reports for a click in the 64-bit shell: the browser
// started by it keeps its first frame, as after a click in the shell itself.
TEST_F(HookReports, ShellActionNotedFromOutsideLetsTheNextFrameThrough) {
    const FARPROC noted = GetProcAddress(GetModuleHandleA("Wendle.dll"), "NoteShellAction");
    const auto note = reinterpret_cast<void (*)()>(noted);
    ASSERT_NE(nullptr, note);
    note();
    Check({"IEXPLORE.EXE", Script().Frame("launched").Frame("popup"), {"launched", "popup"}, {"popup"}});
}

// ICQ Lite once read the title of a new window's owner, which lives in
// another thread, by a sent message; that thread waiting for this one hung
// both for good.
TEST_F(HookReports, OwnedPopupFromASecondThreadDoesNotHangItsProcess) {
    hooktest::Browser browser;
    ASSERT_TRUE(browser.Start(
        "ICQLITE.EXE", Script().Create("owner", "TarnelixOwner", kFrameStyle, "Initiating Message").OwnedWait("owner"),
        "owned.out"));
    ASSERT_NE(nullptr, winetest::WaitForWindow("TarnelixOwner", "Initiating Message", 15000));
    Windows windows;
    EXPECT_TRUE(browser.Finish(windows, 2000));
}

// Tarnelix goes while report timers of the library are pending in a browser
// that creates a frame every 20 ms until Tarnelix kills one: the "pending"
// frame's timers wait while the browser then stalls. Windows then unloads the library from the browser (the
// script's Unload does it under Wine); the browser must go on without a
// timer firing into unmapped code, which the system would take for an
// access violation, swallow and repeat every 100 ms. A second Tarnelix then
// gets the reports of the browser that outlived the first: the library looks
// the main window up again.
TEST(HookUnload, BrowserOutlivesTarnelixExitingAndTerminatedAndServesTheNextOne) {
    winetest::Process tarnelix[2];
    HWND main = winetest::StartTarnelix(tarnelix[0]);
    ASSERT_NE(nullptr, main);
    hooktest::Browser browser;
    Script script;
    for (const char* phase : {"one", "two"}) {
        script.Flood(phase, 20, 30000).Frame(std::string("pending-") + phase).Stall(2500).Unload();
    }
    ASSERT_TRUE(browser.Start("IEXPLORE.EXE", script.Flood("after", 20, 3500), "outlive.out"));
    for (int phase = 0; phase < 2; ++phase) {
        SCOPED_TRACE(phase == 0 ? "exited" : "terminated");
        HWND input = winetest::WaitForWindow("TestBrowserInput", "stalled", 30000);
        ASSERT_NE(nullptr, input);
        if (phase == 0) {
            ASSERT_TRUE(winetest::ExitTarnelix(tarnelix[0], main));
        } else {
            HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, tarnelix[1].Id());
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
        ASSERT_NE(nullptr, winetest::WaitForWindow("TestBrowserInput", "TestBrowser input", 5000));
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000; winetest::PumpFor(100)) {
            DWORD_PTR answer = 0;
            ASSERT_NE(0, SendMessageTimeoutA(input, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
        }
        if (phase == 0) {
            main = winetest::StartTarnelix(tarnelix[1]);
            ASSERT_NE(nullptr, main);
        }
    }
    Windows windows;
    ASSERT_TRUE(browser.Finish(windows)) << "the browser crashed or hung";
    bool killed[2] = {false, false};
    for (const auto& window : windows) {
        EXPECT_LE(window.timerMessages, 2) << window.name;  // the report and the kill timer, once each
        for (int phase = 0; phase < 2; ++phase) {
            killed[phase] |= window.name.rfind(phase == 0 ? "one." : "two.", 0) == 0 && window.sysCloses > 0;
        }
    }
    EXPECT_TRUE(killed[0] && killed[1]) << "each Tarnelix killed a frame of its flood";
}

}  // namespace
