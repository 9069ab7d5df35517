// The three deliverables: their version resources, Tarnelix's life from a
// clean registry to the confirmed exit. The
// Windows-version code is checked on the real program by the engine test's
// Messenger scenario, which runs Tarnelix as Windows XP; the add-on has a
// test of its own.
#include <gtest/gtest.h>

#include <string>

#include "support/WineTest.h"

namespace {

using winetest::ProgramDir;

TEST(Programs, EachCarriesTheCompanyAndVersionResourceAndWendleItsExports) {
    for (const char* file : {"Tarnelix.exe", "Wendle.dll", "Veilmark-AddOn.exe"}) {
        const std::string path = ProgramDir() + file;
        EXPECT_EQ("Corvantine", winetest::VersionString(path, "CompanyName")) << file;
        EXPECT_EQ("3.0.0.0", winetest::VersionString(path, "FileVersion")) << file;
        EXPECT_EQ(file, winetest::VersionString(path, "OriginalFilename")) << file;
    }
    HMODULE wendle = LoadLibraryA((ProgramDir() + "Wendle.dll").c_str());
    ASSERT_NE(nullptr, wendle);
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(wendle, "Initialise")));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(wendle, "Shutdown")));
    FreeLibrary(wendle);
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::string*>(lParam)->append(text).append("\n");
    return TRUE;
}

TEST(Programs, TarnelixSettlesItsFoldersRunsOnceAndOnlyEndsWhenTheExitIsConfirmed) {
    winetest::Process first;
    HWND main = winetest::StartTarnelix(first);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(ProgramDir() + "Skin\\Default\\", winetest::ReadTarnelixString("Settings", "SkinDir"));
    EXPECT_EQ(ProgramDir() + "Sound\\Default\\", winetest::ReadTarnelixString("Settings", "SoundDir"));
    EXPECT_EQ(ProgramDir() + "Notifications\\Default\\",
              winetest::ReadTarnelixString("Settings", "NotificationsDir"));

    // A second instance says so in a box captioned with the application name.
    winetest::Process second;
    ASSERT_TRUE(second.Start(ProgramDir() + "Tarnelix.exe"));
    HWND box = winetest::WaitForWindow("#32770", "Tarnelix", 15000);
    ASSERT_NE(nullptr, box);
    std::string texts;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
    EXPECT_NE(std::string::npos, texts.find("Tarnelix application is already running!"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(main, FindWindowA("#32770", "Tarnelix 3.0"));

    // Closing only hides the main window; the program lives on in the tray.
    PostMessageA(main, WM_CLOSE, 0, 0);
    winetest::PumpFor(300);
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(winetest::ExitTarnelix(first, main));
}

}  // namespace
