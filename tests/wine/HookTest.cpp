// Wendle.dll on the real binaries: a HookProbe stands in for the main window
// and installs the hooks; TestBrowser copies named like the watched programs
// create windows, press keys and stay open while the reports come in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HookHarness.h"

namespace {

using hooktest::BrowserWindow;
using hooktest::HookProbe;
using hooktest::kChildStyle;
using hooktest::kFrameStyle;
using hooktest::kNoSystemMenuStyle;
using hooktest::Report;
using hooktest::Script;

// Reports come 100 ms after creation, plus Wine's timer and scheduling delay
// (about 100 to 145 ms measured): 400 ms after the last creation every
// report of a run is in the probe's log.
constexpr DWORD kSettleMs = 400;
// The report timer runs 100 ms; the creation tick is taken just before
// CreateWindowEx, so only clock rounding can make it look shorter.
constexpr DWORD kMinReportDelayMs = 95;

// A kill report names `target`; its timer was started when `createdBy` was
// created (the same window, except for AOL, where the parent goes).
struct Kill {
    std::string target;
    std::string createdBy;
};

struct Case {
    std::string program;                // file name of the TestBrowser copy
    Script script;
    std::vector<std::string> reported;  // each gets exactly one new-window report
    std::vector<Kill> killed;           // kill reports, in creation order
};

std::string NameOf(const std::vector<BrowserWindow>& windows, unsigned long long hwnd) {
    for (const BrowserWindow& window : windows) {
        if (window.hwnd == hwnd) {
            return window.name;
        }
    }
    return "foreign:" + std::to_string(hwnd);
}

// One HookProbe for a whole suite: starting it costs a Wine process start.
// Each test looks only at the log lines written after its own start.
class HookReports : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        probe = new HookProbe();
        if (!probe->Start("probe.log")) {
            delete probe;
            probe = nullptr;
        }
    }
    static void TearDownTestSuite() {
        if (probe != nullptr) {
            probe->Close();
            delete probe;
            probe = nullptr;
        }
    }
    void SetUp() override { ASSERT_NE(nullptr, probe) << "HookProbe did not start"; }

    // Runs the script and checks the new-window and kill reports it caused.
    void Check(const Case& c) {
        SCOPED_TRACE(c.program);
        const size_t first = probe->Reports().size();
        Script script = c.script;
        std::vector<BrowserWindow> windows;
        ASSERT_TRUE(hooktest::RunBrowser(c.program, script.Wait(kSettleMs), windows));
        const std::vector<Report> reports = probe->Reports();
        for (const std::string& name : c.reported) {
            const unsigned long long hwnd = hooktest::HandleOf(windows, name);
            ASSERT_NE(0u, hwnd) << name;
            const std::vector<Report> found = hooktest::ReportsAbout(reports, first, "new", hwnd);
            ASSERT_EQ(1u, found.size()) << "new-window reports about " << name;
            EXPECT_GE(found[0].tick - hooktest::CreatedTickOf(windows, name), kMinReportDelayMs) << name;
        }
        std::vector<std::string> expectedKills;
        for (const Kill& kill : c.killed) {
            expectedKills.push_back(kill.target);
        }
        std::vector<std::string> actualKills;
        for (unsigned long long hwnd : hooktest::KilledWindows(reports, first)) {
            actualKills.push_back(NameOf(windows, hwnd));
        }
        ASSERT_EQ(expectedKills, actualKills);
        for (const Kill& kill : c.killed) {
            const unsigned long long target = hooktest::HandleOf(windows, kill.target);
            const Report report = hooktest::ReportsAbout(reports, first, "kill", target)[0];
            EXPECT_GE(report.tick - hooktest::CreatedTickOf(windows, kill.createdBy), kMinReportDelayMs)
                << kill.target;
        }
    }

    // Runs the script and checks that not a single report came.
    void CheckSilent(const std::string& program, Script script) {
        SCOPED_TRACE(program);
        const size_t first = probe->Reports().size();
        std::vector<BrowserWindow> windows;
        ASSERT_TRUE(hooktest::RunBrowser(program, script.Wait(kSettleMs), windows));
        EXPECT_EQ(first, probe->Reports().size());
    }

    static HookProbe* probe;
};

HookProbe* HookReports::probe = nullptr;

// Windows that are no frame in any watched program.
Script& AddPlainWindows(Script& script) {
    return script.Create("plain", "TarnelixPlain", kFrameStyle, "Plain")
        .Create("child", "TarnelixChild", kChildStyle, "Child", "plain");
}

class HookReportsByProgram : public HookReports {};

TEST_F(HookReportsByProgram, InternetExplorerKillsBothFrameClassesAndReportsEveryWindow) {
    Script script;
    // Class names compare without regard to case: registered first, the
    // upper-case spelling is the class name both frames report.
    script.Create("shouting", "IEFRAME", kFrameStyle, "Shouting");
    script.Frame("popup").Create("tab", "TabWindowClass", kChildStyle, "Tab", "popup");
    script.Create("cabinet", "CabinetWClass", kFrameStyle, "Cabinet");
    AddPlainWindows(script);
    Check({"IEXPLORE.EXE", script, {"shouting", "popup", "tab", "cabinet", "plain", "child"},
           {{"shouting", "shouting"}, {"popup", "popup"}, {"cabinet", "cabinet"}}});
}

TEST_F(HookReportsByProgram, NetscapeFamilyLetsTheFirstFrameThroughAndKillsTheNext) {
    for (const char* program : {"NETSCAPE.EXE", "MOZILLA.EXE", "NETSCP6.EXE"}) {
        Script script;
        script.Create("first", "MozillaWindowClass", kFrameStyle, "First");
        script.Create("second", "MozillaWindowClass", kFrameStyle, "Second");
        // Any class whose title contains "Netscape" (case-sensitive) is a frame.
        script.Create("titled", "TarnelixAd", kFrameStyle, "Buy now - Netscape 7");
        script.Create("lower", "TarnelixAd", kFrameStyle, "buy now - netscape 7");
        script.Create("nomenu", "MozillaWindowClass", kNoSystemMenuStyle, "No menu");
        script.Create("content", "MozillaContentWindowClass", kChildStyle, "Content", "first");
        Check({program, script, {"first", "second", "titled", "lower", "nomenu", "content"},
               {{"second", "second"}, {"titled", "titled"}}});
    }
}

TEST_F(HookReportsByProgram, AolFrameKillsItsParentAndAFrameWithoutParentIsSpared) {
    // "myaolhelper.exe" holds the letters AOL: containment in the upper-cased name.
    for (const char* program : {"AOL.EXE", "myaolhelper.exe"}) {
        Script script;
        script.Create("host", "AOL Frame25", kFrameStyle, "AOL");
        script.Create("page", "BrowserWindowMDI", kChildStyle, "Page", "host");
        script.Create("host2", "AOL Frame25", kFrameStyle, "AOL 2");
        script.Create("site", "_AOL_EBROWSER_SITE", kChildStyle, "Site", "host2");
        script.Create("lone", "BrowserWindowMDI", kFrameStyle, "Lone");
        Check({program, script, {"host", "page", "host2", "site", "lone"},
               {{"host", "page"}, {"host2", "site"}}});
    }
}

TEST_F(HookReportsByProgram, AimMiniBrowserIsKilledAndTheBuddyListIsNot) {
    Script script;
    script.Create("buddies", "_Oscar_BuddyListWin", kFrameStyle, "Buddy List");
    script.Create("mini", "_aim_MiniBrowserClass", kFrameStyle, "Today");
    Check({"AIM.EXE", script, {"buddies", "mini"}, {{"mini", "mini"}}});
}

TEST_F(HookReportsByProgram, IcqLiteKillsShellEmbeddingOnlyUnderTheMessageWindows) {
    Script script;
    script.Create("message", "TarnelixIcq", kFrameStyle, "Initiating Message");
    script.Create("embedded", "Shell Embedding", kChildStyle, "", "message");
    script.Create("now", "TarnelixIcq", kFrameStyle, "ICQ Now!");
    script.Create("embedded2", "Shell Embedding", kChildStyle, "", "now");
    script.Create("chat", "TarnelixIcq", kFrameStyle, "Chat");
    script.Create("embedded3", "Shell Embedding", kChildStyle, "", "chat");
    Check({"ICQLITE.EXE", script, {"message", "embedded", "now", "embedded2", "chat", "embedded3"},
           {{"embedded", "embedded"}, {"embedded2", "embedded2"}}});
}

TEST_F(HookReportsByProgram, KazaaKillsClassesContainingUpperCasePI) {
    Script script;
    script.Create("ad", "KazaaAdPIWnd", kFrameStyle, "Ad");
    script.Create("child", "PIChild", kChildStyle, "Child", "ad");
    script.Create("spinner", "Spinner", kFrameStyle, "lower-case pi");
    Check({"KAZAA.EXE", script, {"ad", "child", "spinner"}, {{"ad", "ad"}, {"child", "child"}}});
}

TEST_F(HookReportsByProgram, MorpheusAndOutlookExpressReportWindowsButNeverKill) {
    for (const char* program : {"MORPHEUS.EXE", "MSIMN.EXE"}) {
        Script script;
        script.Frame("frame").Create("pi", "AdPIWnd", kFrameStyle, "PI");
        AddPlainWindows(script);
        Check({program, script, {"frame", "pi", "plain", "child"}, {}});
    }
}

TEST_F(HookReportsByProgram, ShellAndUnwatchedProgramsReportNothing) {
    // "IEXPLORE" is tested before "EXPLORER": only the plain shell name is kind 1.
    for (const char* program : {"EXPLORER.EXE", "NOTEPAD.EXE"}) {
        Script script;
        script.Frame("frame").Create("cabinet", "CabinetWClass", kFrameStyle, "Cabinet");
        script.Create("mozilla", "MozillaWindowClass", kFrameStyle, "Netscape");
        AddPlainWindows(script);
        CheckSilent(program, script);
    }
}

// Ctrl+N in the browser: SendInput after SetForegroundWindow reaches the
// keyboard hook of the browser's own process.
class HookUserAction : public HookReports {};

TEST_F(HookUserAction, CtrlNLetsTheNextFrameThrough) {
    Script script;
    script.Key("ctrl+n").Frame("wanted");
    Check({"IEXPLORE.EXE", script, {"wanted"}, {}});
}

TEST_F(HookUserAction, CtrlNCountsForOneFrameOnly) {
    Script script;
    script.Key("ctrl+n").Frame("wanted").Wait(100).Frame("popup");
    Check({"IEXPLORE.EXE", script, {"wanted", "popup"}, {{"popup", "popup"}}});
}

TEST_F(HookUserAction, CtrlNStillCounts1250MsLater) {
    // Key() pumps 50 ms after the key: the frame follows about 1250 ms after it.
    Script script;
    script.Key("ctrl+n").Wait(1200).Frame("wanted");
    Check({"IEXPLORE.EXE", script, {"wanted"}, {}});
}

TEST_F(HookUserAction, CtrlNOlderThan1500MsNoLongerCounts) {
    // 50 + 1700 = 1750 ms > 1500 ms.
    Script script;
    script.Key("ctrl+n").Wait(1700).Frame("popup");
    Check({"IEXPLORE.EXE", script, {"popup"}, {{"popup", "popup"}}});
}

TEST_F(HookUserAction, WindowWithoutSystemMenuIsNeverAFrame) {
    Script script;
    script.Create("bare", "IEFrame", kNoSystemMenuStyle, "Bare");
    script.Create("bareCabinet", "CabinetWClass", kNoSystemMenuStyle, "Bare cabinet");
    script.Frame("popup");
    Check({"IEXPLORE.EXE", script, {"bare", "bareCabinet", "popup"}, {{"popup", "popup"}}});
}

// Polls the probe's log until a kill report is there.
bool WaitForKill(const HookProbe& probe, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (!hooktest::KilledWindows(probe.Reports(), 0).empty()) {
            return true;
        }
        winetest::PumpFor(20);
    }
    return false;
}

TEST(HookOwnerRestart, NewOwnerGetsTheReportsOfABrowserThatOutlivedTheOldOne) {
    // Holding the library keeps its shared data alive: the new owner's load
    // then finds the old, dead main window handle already stored.
    HMODULE wendle = LoadLibraryA((winetest::ProgramDir() + "Wendle.dll").c_str());
    ASSERT_NE(nullptr, wendle);
    HookProbe oldOwner;
    ASSERT_TRUE(oldOwner.Start("old-owner.log"));

    Script script;
    script.Frame("before").Create("gate", "TarnelixGate", "0x80000000", "Gate");
    script.Hold("gate", 20000).Frame("after").Wait(kSettleMs);
    hooktest::Browser browser;
    ASSERT_TRUE(browser.Start("IEXPLORE.EXE", script, "restart.out"));
    HWND gate = winetest::WaitForWindow("TarnelixGate", "Gate", 15000);
    ASSERT_NE(nullptr, gate);
    ASSERT_TRUE(WaitForKill(oldOwner, 5000));
    const std::vector<Report> oldReports = oldOwner.Reports();
    ASSERT_TRUE(oldOwner.Close());

    HookProbe newOwner;
    ASSERT_TRUE(newOwner.Start("new-owner.log"));
    PostMessageA(gate, WM_CLOSE, 0, 0);
    std::vector<BrowserWindow> windows;
    ASSERT_TRUE(browser.Finish(windows));
    const std::vector<Report> newReports = newOwner.Reports();
    newOwner.Close();
    FreeLibrary(wendle);

    const unsigned long long before = hooktest::HandleOf(windows, "before");
    const unsigned long long after = hooktest::HandleOf(windows, "after");
    EXPECT_EQ(std::vector<unsigned long long>{before}, hooktest::KilledWindows(oldReports, 0));
    EXPECT_EQ(std::vector<unsigned long long>{after}, hooktest::KilledWindows(newReports, 0));
    EXPECT_EQ(1u, hooktest::ReportsAbout(newReports, 0, "new", after).size());
}

}  // namespace
