// The browser watcher end to end: the real Tarnelix.exe against TestBrowser
// copies named like today's browsers, which Wendle.dll does not judge.
#include <gtest/gtest.h>
#include <fstream>

#include "HookHarness.h"

namespace {

using hooktest::Script;
using winetest::WaitFor;

constexpr const char* kChromium = "Chrome_WidgetWin_1";
constexpr const char* kFrame = hooktest::kFrameStyle;

class Watcher : public winetest::TarnelixTest {
protected:
    void SetUp() override {
        TarnelixTest::SetUp();
        std::ofstream(winetest::ProgramDir() + "AllowBanners.dat", std::ios::binary) << "Bank\r\n";
        SetEnvironmentVariableA("TARNELIX_TEST_HOLD_BUSY", "1");
        Start();
        // The kill sound's path is written once the check boxes are set.
        ASSERT_TRUE(WaitFor([] { return winetest::ReadTarnelixString("Settings", "SoundFile") != "<missing>"; }, 5000));
    }
    // Each copy's first 3 s are its session restore; `closes` are the expected close commands.
    void Run(const std::string& program, const Script& script, std::initializer_list<std::pair<const char*, int>> closes) {
        hooktest::Windows windows;
        ASSERT_TRUE(hooktest::RunBrowser(program, script, windows)) << program;
        for (const auto& [name, count] : closes) {
            ASSERT_NE(nullptr, hooktest::Find(windows, name)) << name;
            EXPECT_EQ(count, hooktest::Find(windows, name)->sysCloses) << program << " " << name;
        }
    }
    // The count is stored just after the close is posted.
    void ExpectPopupCounter(const std::string& count) {
        EXPECT_TRUE(WaitFor([&] { return winetest::ReadTarnelixString("Settings", "PopupCounter") == count; }, 5000))
            << count;
    }
    void ClickDisable(UINT check) {
        SendMessageA(GetDlgItem(main, 1048), BM_SETCHECK, check, 0);
        PostMessageA(main, WM_COMMAND, 1048, 0);
        ASSERT_TRUE(WaitFor([&] { return winetest::SettingNumber("Disable") == check; }, 5000));
    }
};

// An unasked frame is closed, counted and recorded; one Ctrl+N or click lets one
// frame through; a fresh browser's restored session, allowed titles and non-frames stay.
TEST_F(Watcher, FramesOfTodaysBrowsersWithoutUserActionAreClosedOnce) {
    Run("chrome.exe",
        Script().Create("restored", kChromium, kFrame, "Restored").Wait(3100)
            .Create("popup", kChromium, kFrame, "Cheap Pills").Key("ctrl+n")
            .Create("asked", kChromium, kFrame, "New Tab").Create("second", kChromium, kFrame, "Second").Click()
            .Create("clicked", kChromium, kFrame, "Clicked").Create("tooltip", kChromium, "0x94000000", "")
            .Create("menu", kChromium, "0x94800000", "")
            .Create("plain", kChromium, hooktest::kNoSystemMenuStyle, "Plain")
            .Create("owned", kChromium, kFrame, "Owned", "restored").Create("bank", kChromium, kFrame, "My Bank")
            .Create("last", kChromium, kFrame, "Last").Hold("last", 5000),
        {{"restored", 0}, {"popup", 1}, {"asked", 0}, {"second", 1}, {"clicked", 0}, {"tooltip", 0}, {"menu", 0},
         {"plain", 0}, {"owned", 0}, {"bank", 0}, {"last", 1}});
    ExpectPopupCounter("3");
    EXPECT_EQ("BLK:Cheap Pills\r\nBLK:Last\r\nBLK:Second\r\n",
              winetest::WaitForFileWith(winetest::ProgramDir() + "BlockedHistory.dat", "BLK:Last", 5000));
    Run("firefox.exe",
        Script().Wait(3100).Key("ctrl+n").Create("asked", "MozillaWindowClass", kFrame, "Mozilla Firefox")
            .Create("popup", "MozillaWindowClass", kFrame, "Ad").Hold("popup", 5000),
        {{"asked", 0}, {"popup", 1}});
    ExpectPopupCounter("4");
}

// Disable stops the watcher, the hook library's kills and the script-error
// timer; enabling restarts them. IEXPLORE.EXE frames stay the hook library's,
// counted once. Keys never wait for a busy main window.
TEST_F(Watcher, DisableStopsItInternetExplorerStaysTheHookLibrarysAndTypingNeverWaits) {
    ClickDisable(BST_CHECKED);
    Run("msedge.exe", Script().Wait(3100).Create("edge", kChromium, kFrame, "Ad").Wait(800), {{"edge", 0}});
    Run("IEXPLORE.EXE",
        Script().Frame("ie").Create("error", "Internet Explorer_TridentDlgFrame", "0x10C80000",
                                    "Internet Explorer Script Error").Wait(1000),
        {{"ie", 0}, {"error", 0}});
    ClickDisable(BST_UNCHECKED);
    Run("msedge.exe", Script().Wait(3100).Create("edge", kChromium, kFrame, "Ad").Hold("edge", 5000), {{"edge", 1}});
    Run("IEXPLORE.EXE", Script().Frame("ie").Hold("ie", 5000), {{"ie", 1}});
    ExpectPopupCounter("2");
    HWND typing = CreateWindowExA(0, "Edit", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 30, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(typing);
    const auto busy = [&] { return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 100, nullptr) == 0; };
    PostMessageA(main, WM_COMMAND, 0x7A10, 0);  // test only: the main window sleeps for 2 s
    ASSERT_TRUE(WaitFor(busy, 2000));
    INPUT keys[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
    keys[0].ki.wVk = keys[1].ki.wVk = 'A';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    ASSERT_TRUE(WaitFor([&] { return GetWindowTextLengthA(typing) > 0; }, 2000));
    EXPECT_TRUE(busy()) << "the key arrived only once the main window was free again";
    DestroyWindow(typing);
}

}  // namespace
