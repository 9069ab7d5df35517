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

constexpr const char* kScriptErrorClass = "Internet Explorer_TridentDlgFrame";
constexpr const char* kScriptErrorTitle = "Internet Explorer Script Error";

std::string Counter(const char* value) { return winetest::ReadTarnelixString("Settings", value); }

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
                                      .Wait(600).Press("ctrl").Create("held", "IEFrame", "0x06CF0000", "cheap pills")
                                      .Wait(2000).Release("ctrl"));
    for (const auto& [name, count] : {std::pair{"match", 1}, {"held", 0}})
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

}  // namespace
