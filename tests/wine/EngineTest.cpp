// The popup engine end to end: the real Tarnelix.exe and Wendle.dll against TestBrowser copies.
#include <gtest/gtest.h>
#include <fstream>

#include "HookHarness.h"

namespace {

using hooktest::Find;
using hooktest::Script;
using hooktest::Windows;
using winetest::ProgramDir;
using winetest::SettingNumber;
using winetest::WriteSetting;

constexpr const char* kScriptErrorClass = "Internet Explorer_TridentDlgFrame";
constexpr const char* kScriptErrorTitle = "Internet Explorer Script Error";

std::string Counter(const char* value) { return winetest::ReadTarnelixString("Settings", value); }

// Receives broadcasts in this test process, as the add-on does.
struct BroadcastListener {
    UINT message;
    HWND window = CreateWindowExA(0, "Static", "listener", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    MSG last{};
    ~BroadcastListener() { DestroyWindow(window); }
    // How many reached our window (not Wine's IME window) in the time; keeps the last.
    int Count(DWORD ms) {
        int count = 0;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
            for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&msg)) {
                if (msg.message == message && msg.hwnd == window) last = msg, ++count;
            }
        }
        return count;
    }
};

class Engine : public winetest::TarnelixTest {
protected:
    Windows Run(const std::string& program, const Script& script) {
        Windows windows;
        EXPECT_TRUE(hooktest::RunBrowser(program, script, windows));
        return windows;
    }
    std::string Digits() const { return winetest::CounterDigits(main); }
    std::string History() const { return winetest::ReadWholeFile(ProgramDir() + "BlockedHistory.dat"); }
};

// A forged report closes only a top-level window of a watched program; a
// vanished one changes nothing. Allowed titles match in their own case.
// Unchecking AutoBlock sweeps by trimmed title, and a new window titled like a
// history entry in any case dies unless Ctrl is held.
TEST_F(Engine, PopupsDieByReportOrTitleUnlessAllowedHeldOrForged) {
    std::ofstream(ProgramDir() + "AllowBanners.dat", std::ios::binary) << "Bank\r\nMail\r\n";
    Start();
    hooktest::Browser browser;
    ASSERT_TRUE(browser.Start("IEXPLORE.EXE",
                              Script().Create("popup", "IEFrame", hooktest::kFrameStyle, "Cheap Pills")
                                  .Create("same", "IEFrame", hooktest::kFrameStyle, "My Bank - Browser")
                                  .Create("other", "IEFrame", hooktest::kFrameStyle, "my bank - browser")
                                  .Create("top", "TarnelixTop", hooktest::kNoSystemMenuStyle, "Forged Top")
                                  .Create("child", "TarnelixChild", hooktest::kChildStyle, "Forged Child", "top")
                                  .Create("padded", "Static", "0x10000000", "Cheap Pills   ")
                                  .Create("hidden", "Static", "0x00000000", "Cheap Pills").Hold("padded", 15000)
                                  .Wait(300),
                              "forged.out"));
    HWND top = winetest::WaitForWindow("TarnelixTop", "Forged Top", 15000);
    ASSERT_NE(nullptr, top);
    HWND own = CreateWindowExA(0, "Static", "Unwatched", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND gone = CreateWindowExA(0, "Static", "Vanished", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    winetest::PumpFor(500);
    for (HWND forged : {own, gone, FindWindowExA(top, nullptr, "TarnelixChild", nullptr), top}) {
        PostMessageA(main, RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW"), 0, reinterpret_cast<LPARAM>(forged));
    }
    ASSERT_TRUE(winetest::WaitUntilGone(top, 5000));
    winetest::PumpFor(300);
    EXPECT_TRUE(IsWindow(own));
    DestroyWindow(own);
    EXPECT_EQ("000003", Digits());
    EXPECT_EQ("BLK:Cheap Pills\r\nBLK:Forged Top\r\nBLK:my bank - browser\r\n", History());
    HWND autoBlock = GetDlgItem(main, 1047);
    SendMessageA(autoBlock, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1047, BN_CLICKED), reinterpret_cast<LPARAM>(autoBlock));
    Windows windows;
    ASSERT_TRUE(browser.Finish(windows));
    const std::pair<const char*, int> closes[] = {{"popup", 1}, {"same", 0}, {"other", 1}, {"top", 1},
                                                  {"child", 0}, {"padded", 1}, {"hidden", 0}};
    for (const auto& [name, count] : closes) EXPECT_EQ(count, Find(windows, name)->sysCloses) << name;
    EXPECT_EQ(0u, SettingNumber("AutoBlock"));
    // Created hidden: activating a window makes Wine drop the held Ctrl.
    windows = Run("IEXPLORE.EXE", Script().Create("match", "IEFrame", hooktest::kFrameStyle, "CHEAP PILLS")
                                      .Create("longer", "Static", "0x10000000", "Cheap Pills of the day")
                                      .Create("control", "Static", hooktest::kChildStyle, "Cheap Pills", "longer")
                                      .Wait(600).Press("ctrl").Create("held", "IEFrame", "0x06CF0000", "cheap pills")
                                      .Wait(2000).Release("ctrl"));
    for (const auto& [name, count] : {std::pair{"match", 1}, {"longer", 0}, {"control", 0}, {"held", 0}})
        EXPECT_EQ(count, Find(windows, name)->sysCloses) << name;
    EXPECT_EQ("5", Counter("PopupCounter"));
}

// Script errors (one per 300 ms tick), the bare "Shell Embedding" popup and the
// Messenger box with its trailing blank (timer 50: NT family only).
TEST_F(Engine, BrowserAndMessengerBoxesAreClosedByTheTimers) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Tarnelix.exe", "Version", REG_SZ, "winxp", 6);
    Start();
    auto windows = Run("NOTEPAD.EXE", Script().Create("error1", kScriptErrorClass, "0x10C80000", kScriptErrorTitle)
                                          .Create("error2", kScriptErrorClass, "0x10C80000", kScriptErrorTitle)
                                          .Create("titled", "Shell Embedding", "0x96010000", "Ad")
                                          .Create("bare", "Shell Embedding", "0x96010000", "")
                                          .Create("spam", "#32770", "0x10C80000", "Messenger Service ")
                                          .Create("plain", "#32770", "0x10C80000", "Messenger Service").Wait(1500));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Tarnelix.exe");
    for (const auto& [name, count] : {std::pair{"error1", 1}, {"error2", 1}, {"titled", 0}, {"bare", 1}})
        EXPECT_EQ(count, Find(windows, name)->sysCloses) << name;
    EXPECT_EQ(1, Find(windows, "spam")->closes);
    EXPECT_EQ(0, Find(windows, "plain")->closes + Find(windows, "plain")->sysCloses);
    EXPECT_EQ(0x96010000u, Find(windows, "bare")->style);
    EXPECT_EQ("4", Counter("PopupCounter"));
    EXPECT_EQ(std::string("BLK:") + kScriptErrorTitle + "\r\n", History());
}

TEST_F(Engine, DisableStopsEveryPathAndIsBroadcast) {
    WriteSetting("Disable", DWORD{1});
    Start();
    auto windows = Run("IEXPLORE.EXE", Script().Frame("Popup")
                                           .Create("error", kScriptErrorClass, "0x10C80000", kScriptErrorTitle)
                                           .Wait(1000));
    EXPECT_EQ(0, Find(windows, "Popup")->sysCloses + Find(windows, "error")->sysCloses);
    // Each click on 1048 and the add-on's query broadcast the state with our handle.
    BroadcastListener listener{RegisterWindowMessageA("WM_TARNELIX_DISABLE")};
    const struct {
        UINT checked;
        bool query;
        WPARAM wParam;
    } steps[] = {{BST_UNCHECKED, false, 0}, {BST_CHECKED, false, 1}, {BST_CHECKED, true, 1}};
    for (const auto& step : steps) {
        SendMessageA(GetDlgItem(main, 1048), BM_SETCHECK, step.checked, 0);
        if (step.query) {
            PostMessageA(main, listener.message, 0, reinterpret_cast<LPARAM>(listener.window));
        } else {
            PostMessageA(main, WM_COMMAND, 1048, 0);
        }
        ASSERT_EQ(1, listener.Count(1000));
        EXPECT_EQ(step.wParam, listener.last.wParam);
        EXPECT_EQ(reinterpret_cast<LPARAM>(main), listener.last.lParam);
    }
    EXPECT_EQ(1u, SettingNumber("Disable"));
}

// Fifty quick popups are all closed; the 41st kill passes 999999, which
// restarts the popup and adware counters from 0 (the add-on's is kept).
TEST_F(Engine, BurstOfFiftyPopupsResetsTheFullCounterAndTwoTrayExitsAskOnce) {
    WriteSetting("PopupCounter", "999950");
    WriteSetting("AdwareCounter", "9");
    WriteSetting("VeilmarkCounter", "5");
    Start();
    EXPECT_EQ("999959", Digits());
    Script script;
    for (int i = 0; i < 50; ++i) {
        script.Create("p" + std::to_string(i), "IEFrame", hooktest::kFrameStyle, "Burst " + std::to_string(i)).Wait(0);
    }
    auto windows = Run("IEXPLORE.EXE", script.Hold("p49", 10000).Wait(100));
    ASSERT_EQ(50u, windows.size());
    for (const auto& window : windows) EXPECT_EQ(1, window.sysCloses) << window.name;
    winetest::PumpFor(200);
    EXPECT_EQ("000009", Digits());
    EXPECT_EQ("9", Counter("PopupCounter"));
    EXPECT_EQ("0", Counter("AdwareCounter"));
    EXPECT_EQ("5", Counter("VeilmarkCounter"));
    // Two tray Exits show one question; OK exits once, broadcasting our handle.
    const HWND exiting = main;
    BroadcastListener listener{RegisterWindowMessageA("WM_TARNELIX_EXIT")};
    PostMessageA(main, WM_COMMAND, 57665, 0);
    PostMessageA(main, WM_COMMAND, 57665, 0);
    HWND question = winetest::WaitForWindow("#32770", "Message Info", 10000);
    ASSERT_NE(nullptr, question);
    winetest::PumpFor(500);
    EXPECT_EQ(question, FindWindowExA(nullptr, nullptr, "#32770", "Message Info"));
    EXPECT_EQ(nullptr, FindWindowExA(nullptr, question, "#32770", "Message Info"));
    PostMessageA(question, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(tarnelix.WaitForExit(10000));
    EXPECT_EQ(1, listener.Count(500));
    EXPECT_EQ(reinterpret_cast<LPARAM>(exiting), listener.last.lParam);
}

}  // namespace
