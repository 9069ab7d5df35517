// The browser watcher end to end: the real Tarnelix.exe against TestBrowser
// copies named like today's browsers, which Wendle.dll does not judge.
#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "HookHarness.h"

namespace {

using hooktest::Find;
using hooktest::Script;
using hooktest::Windows;
using winetest::ProgramDir;

constexpr const char* kChromium = "Chrome_WidgetWin_1";
constexpr int kHoldBusyCommand = 0x7A10;  // test only: the main window sleeps for 2 s

class Watcher : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
        std::ofstream(ProgramDir() + "AllowBanners.dat", std::ios::binary) << "Bank\r\n";
        DeleteFileA((ProgramDir() + "BlockedHistory.dat").c_str());
        SetEnvironmentVariableA("TARNELIX_TEST_HOLD_BUSY", "1");
        main = winetest::StartTarnelix(tarnelix);
        ASSERT_NE(nullptr, main);
        // The window shows before its initialisation has set the check
        // boxes from the settings; the kill sound's path is written then.
        for (const DWORD start = GetTickCount(); winetest::ReadTarnelixString("Settings", "SoundFile") == "<missing>";) {
            ASSERT_LT(GetTickCount() - start, 5000u);
            winetest::PumpFor(20);
        }
    }
    void TearDown() override {
        if (main != nullptr && IsWindow(main)) {
            EXPECT_TRUE(winetest::ExitTarnelix(tarnelix, main));
        }
    }
    // Each browser starts afresh: its first 3 s are its session restore.
    Windows Run(const std::string& program, const Script& script) {
        Windows windows;
        EXPECT_TRUE(hooktest::RunBrowser(program, script, windows)) << program;
        return windows;
    }
    void ExpectCloses(const Windows& windows, std::initializer_list<std::pair<const char*, int>> closes) {
        for (const auto& [name, count] : closes) {
            ASSERT_NE(nullptr, Find(windows, name)) << name;
            EXPECT_EQ(count, Find(windows, name)->sysCloses) << name;
        }
    }
    // The count is stored just after the close is posted: poll for it.
    void ExpectPopupCounter(const std::string& expected) {
        std::string counter;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000 && counter != expected;) {
            winetest::PumpFor(20);
            counter = winetest::ReadTarnelixString("Settings", "PopupCounter");
        }
        EXPECT_EQ(expected, counter);
    }
    void ClickDisable(UINT check) {
        SendMessageA(GetDlgItem(main, 1048), BM_SETCHECK, check, 0);
        PostMessageA(main, WM_COMMAND, 1048, 0);
        for (const DWORD start = GetTickCount(); winetest::SettingNumber("Disable") != (check == BST_CHECKED ? 1u : 0u);) {
            ASSERT_LT(GetTickCount() - start, 5000u);
            winetest::PumpFor(20);
        }
    }

    winetest::Process tarnelix;
    HWND main = nullptr;
};

// A frame nobody asked for is closed, counted and recorded; one Ctrl+N or
// one click lets exactly one frame through; the restored session of a
// fresh browser, allowed titles and windows that are no frames stay.
TEST_F(Watcher, FramesOfTodaysBrowsersWithoutUserActionAreClosedOnce) {
    const std::string frame = hooktest::kFrameStyle;
    auto windows = Run("chrome.exe", Script()
                                         .Create("restored", kChromium, frame, "Restored")
                                         .Wait(3100)
                                         .Create("popup", kChromium, frame, "Cheap Pills")
                                         .Key("ctrl+n")
                                         .Create("asked", kChromium, frame, "New Tab")
                                         .Create("second", kChromium, frame, "Second")
                                         .Click()
                                         .Create("clicked", kChromium, frame, "Clicked")
                                         .Create("tooltip", kChromium, "0x94000000", "")
                                         .Create("menu", kChromium, "0x94800000", "")
                                         .Create("nosysmenu", kChromium, hooktest::kNoSystemMenuStyle, "Plain")
                                         .Create("owned", kChromium, frame, "Owned", "restored")
                                         .Create("bank", kChromium, frame, "My Bank")
                                         .Create("last", kChromium, frame, "Last")
                                         .Hold("last", 5000));
    ExpectCloses(windows, {{"restored", 0}, {"popup", 1}, {"asked", 0}, {"second", 1}, {"clicked", 0}, {"tooltip", 0},
                           {"menu", 0}, {"nosysmenu", 0}, {"owned", 0}, {"bank", 0}, {"last", 1}});
    ExpectPopupCounter("3");
    EXPECT_EQ("BLK:Cheap Pills\r\nBLK:Last\r\nBLK:Second\r\n",
              winetest::WaitForFileWith(ProgramDir() + "BlockedHistory.dat", "BLK:Last", 5000));

    windows = Run("firefox.exe", Script()
                                     .Wait(3100)
                                     .Key("ctrl+n")
                                     .Create("asked", "MozillaWindowClass", frame, "Mozilla Firefox")
                                     .Create("popup", "MozillaWindowClass", frame, "Ad")
                                     .Hold("popup", 5000));
    ExpectCloses(windows, {{"asked", 0}, {"popup", 1}});
    ExpectPopupCounter("4");
}

// Disable stops the watcher and enabling starts it again; frames of
// IEXPLORE.EXE stay the hook library's, counted once. While the main
// window is busy, the keys of the desktop do not wait for it: the hooks
// are on a thread of their own.
TEST_F(Watcher, DisableStopsItInternetExplorerStaysTheHookLibrarysAndTypingNeverWaits) {
    ClickDisable(BST_CHECKED);
    auto windows = Run("msedge.exe", Script().Wait(3100).Create("edge", kChromium, hooktest::kFrameStyle, "Ad").Wait(800));
    ExpectCloses(windows, {{"edge", 0}});
    ClickDisable(BST_UNCHECKED);
    windows = Run("msedge.exe", Script().Wait(3100).Create("edge", kChromium, hooktest::kFrameStyle, "Ad").Hold("edge", 5000));
    ExpectCloses(windows, {{"edge", 1}});
    windows = Run("IEXPLORE.EXE", Script().Frame("ie").Hold("ie", 5000));
    ExpectCloses(windows, {{"ie", 1}});
    ExpectPopupCounter("2");

    HWND typing = CreateWindowExA(0, "Edit", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 30, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(typing);
    winetest::PumpFor(100);
    const auto busy = [&] { return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 100, nullptr) == 0; };
    PostMessageA(main, WM_COMMAND, kHoldBusyCommand, 0);
    for (const DWORD start = GetTickCount(); !busy();) {
        ASSERT_LT(GetTickCount() - start, 2000u);
    }
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = 'A';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const DWORD sent = GetTickCount();
    SendInput(2, keys, sizeof(INPUT));
    winetest::PumpFor(0);
    for (char text[8] = {}; GetWindowTextA(typing, text, sizeof(text)) == 0;) {
        ASSERT_LT(GetTickCount() - sent, 2000u);
        winetest::PumpFor(5);
    }
    std::printf("key typed %lu ms after SendInput while Tarnelix's window sleeps\n",
                static_cast<unsigned long>(GetTickCount() - sent));
    EXPECT_TRUE(busy()) << "the key arrived only once the main window was free again";
    DestroyWindow(typing);
}

}  // namespace
