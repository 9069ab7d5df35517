// The deliverables' version resources, and Tarnelix's life from a clean
// registry to the confirmed exit, with its help on the way.
#include <gtest/gtest.h>
#include <string>

#include "support/WineTest.h"

namespace {

using winetest::ProgramDir;

TEST(Programs, EachCarriesTheCompanyAndVersionResourceAndWendleItsExports) {
    for (const char* file : {"Tarnelix.exe", "Wendle.dll", "Veilmark-AddOn.exe", "TarnelixCtrl.exe", "Wendle32.dll",
                             "Wendle32Host.exe"}) {
        const std::string path = ProgramDir() + file;
        EXPECT_EQ("Corvantine", winetest::VersionString(path, "CompanyName")) << file;
        EXPECT_EQ("3.0.0.0", winetest::VersionString(path, "FileVersion")) << file;
        EXPECT_EQ(file, winetest::VersionString(path, "OriginalFilename")) << file;
    }
    HMODULE wendle = LoadLibraryA((ProgramDir() + "Wendle.dll").c_str());
    ASSERT_NE(nullptr, wendle);
    EXPECT_TRUE(GetProcAddress(wendle, "Initialise") != nullptr && GetProcAddress(wendle, "Shutdown") != nullptr);
    FreeLibrary(wendle);
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::string*>(lParam)->append(text).append("\n");
    return TRUE;
}

// Wine here runs no 32-bit program: Tarnelix runs on without Wendle32Host.exe.
TEST(Programs, TarnelixSettlesItsFoldersRunsOnceOpensItsHelpAndOnlyEndsWhenTheExitIsConfirmed) {
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
    PostMessageA(main, WM_COMMAND, 57670, 0);  // help: the viewer shows the file's title
    HWND viewer = winetest::WaitForWindow(nullptr, "Tarnelix Help", 30000);
    ASSERT_NE(nullptr, viewer);
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(viewer, 10000));
    // Closing only hides the main window; the program lives on in the tray.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(winetest::WaitFor([&] { return !IsWindowVisible(main); }, 5000));
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(winetest::ExitTarnelix(first, main));
}

}  // namespace
