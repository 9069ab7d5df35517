// Wendle.dll on the real binaries: a probe here or the real Tarnelix installs
// the hooks; TestBrowser copies named like the watched programs make windows.
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

// Reports come 100 to 145 ms after creation: all are in 400 ms after the last.
constexpr DWORD kSettleMs = 400;
// The report timer runs 100 ms; only clock rounding makes it look shorter.
constexpr DWORD kMinReportDelayMs = 95;

struct Case {
    std::string program;
    Script script;
    std::vector<std::string> reported;  // each gets exactly one new-window report
    std::vector<std::string> killed;    // the windows kill reports name, in order
};

// One probe for the suite; each case looks at the reports after its start.
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
        // Wendle's timers are one-shot and leave the program's own alone.
        for (const auto& window : windows) {
            EXPECT_TRUE(window.name == "owntimers" ? window.timerMessages >= 5 : window.timerMessages <= 2)
                << window.name << " got " << window.timerMessages << " timer messages";
        }
        EXPECT_TRUE(!c.reported.empty() || first == reports.size()) << "a program that is not watched reports nothing";
    }
    static inline HookProbe* probe = nullptr;
};

TEST_F(HookReports, EachProgramKindReportsEveryWindowAndKillsItsFrames) {
    const Case cases[] = {
        // Class names compare without regard to case (the first spelling registers).
        {"IEXPLORE.EXE",
         Script().Create("shouting", "IEFRAME", kFrameStyle, "Shouting").Frame("popup")
             .Create("tab", "TabWindowClass", kChildStyle, "Tab", "popup")
             .Create("cabinet", "CabinetWClass", kFrameStyle, "Cabinet")
             .Create("bare", "IEFrame", kNoSystemMenuStyle, "Bare")
             .Create("owntimers", "IEFrame", kFrameStyle, "OwnTimers"),
         {"shouting", "popup", "tab", "cabinet", "bare", "owntimers"},
         {"shouting", "popup", "cabinet", "owntimers"}},
        // The first Netscape frame goes through; "Netscape" (case-sensitive) in a
        // title makes a frame; a WM_GETTEXT filling the buffer unterminated harms nothing.
        {"NETSCAPE.EXE",
         Script().Create("first", "MozillaWindowClass", kFrameStyle, "First")
             .Create("second", "MozillaWindowClass", kFrameStyle, "Second")
             .Create("titled", "TarnelixAd", kFrameStyle, "Buy now - Netscape 7")
             .Create("lower", "TarnelixAd", kFrameStyle, "buy now - netscape 7")
             .Create("nomenu", "MozillaWindowClass", kNoSystemMenuStyle, "No menu")
             .Create("fulltext", "TarnelixFullText", kFrameStyle, "Full"),
         {"first", "second", "titled", "lower", "nomenu", "fulltext"},
         {"second", "titled"}},
        // Only the real parent counts: an owned popup has none.
        {"ICQLITE.EXE",
         Script().Create("message", "TarnelixIcq", kFrameStyle, "Initiating Message")
             .Create("embedded", "Shell Embedding", kChildStyle, "", "message")
             .Create("owned", "Shell Embedding", "0x80000000", "", "message")
             .Create("now", "TarnelixIcq", kFrameStyle, "ICQ Now!")
             .Create("embedded2", "Shell Embedding", kChildStyle, "", "now")
             .Create("chat", "TarnelixIcq", kFrameStyle, "Chat")
             .Create("embedded3", "Shell Embedding", kChildStyle, "", "chat"),
         {"message", "embedded", "owned", "now", "embedded2", "chat", "embedded3"},
         {"embedded", "embedded2"}},
        {"NOTEPAD.EXE", Script().Frame("frame"), {}, {}},
    };
    for (const Case& c : cases) Check(c);
}

// Ctrl+N through SendInput reaches the browser's own keyboard hook; its
// 1500 ms are the unit test's (HookRuleTest).
TEST_F(HookReports, CtrlNLetsOneFrameThrough) {
    Check({"IEXPLORE.EXE", Script().Key("ctrl+n").Frame("wanted").Wait(100).Frame("popup"), {"wanted", "popup"},
           {"popup"}});
}

// Wendle32Host.exe's note of a shell click lets the next browser frame through.
TEST_F(HookReports, ShellActionNotedFromOutsideLetsTheNextFrameThrough) {
    const auto note = reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("Wendle.dll"), "NoteShellAction"));
    ASSERT_NE(nullptr, note);
    note();
    Check({"IEXPLORE.EXE", Script().Frame("launched").Frame("popup"), {"launched", "popup"}, {"popup"}});
}

// A hook sending to an owner in a waiting thread would hang both threads.
TEST_F(HookReports, OwnedPopupFromASecondThreadDoesNotHangItsProcess) {
    hooktest::Browser browser;
    ASSERT_TRUE(browser.Start(
        "ICQLITE.EXE", Script().Create("owner", "TarnelixOwner", kFrameStyle, "Initiating Message").OwnedWait("owner"),
        "owned.out"));
    ASSERT_NE(nullptr, winetest::WaitForWindow("TarnelixOwner", "Initiating Message", 15000));
    Windows windows;
    EXPECT_TRUE(browser.Finish(windows, 2000));
}

// Tarnelix exits (then is terminated) while the library's timers are pending
// in a stalled browser, and the library is unloaded: no timer may fire into
// unmapped code. A second Tarnelix gets the surviving browser's reports.
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
        for (int phase = 0; phase < 2; ++phase)
            killed[phase] |= window.name.rfind(phase == 0 ? "one." : "two.", 0) == 0 && window.sysCloses > 0;
    }
    EXPECT_TRUE(killed[0] && killed[1]) << "each Tarnelix killed a frame of its flood";
}

}  // namespace
