// The three deliverables start, carry their version resources and end cleanly.
#include <gtest/gtest.h>

#include "support/WineTest.h"

namespace {

using winetest::ProgramDir;

TEST(Programs, EachCarriesTheCompanyAndVersionResource) {
    for (const char* file : {"Tarnelix.exe", "Wendle.dll", "Veilmark-AddOn.exe"}) {
        std::string path = ProgramDir() + file;
        EXPECT_EQ("Corvantine", winetest::VersionString(path, "CompanyName")) << file;
        EXPECT_EQ("3.0.0.0", winetest::VersionString(path, "FileVersion")) << file;
        EXPECT_EQ(file, winetest::VersionString(path, "OriginalFilename")) << file;
    }
}

TEST(Programs, WendleExportsInitialiseAndShutdown) {
    HMODULE wendle = LoadLibraryA((ProgramDir() + "Wendle.dll").c_str());
    ASSERT_NE(nullptr, wendle);
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(wendle, "Initialise")));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(wendle, "Shutdown")));
    FreeLibrary(wendle);
}

TEST(Programs, TarnelixRunsUntilTheUserConfirmsTheExit) {
    winetest::Process tarnelix;
    HWND main = winetest::StartTarnelix(tarnelix);
    ASSERT_NE(nullptr, main);
    // Closing only hides the main window; the program lives in the tray.
    PostMessageA(main, WM_CLOSE, 0, 0);
    winetest::PumpFor(300);
    EXPECT_TRUE(tarnelix.Running());
    EXPECT_FALSE(IsWindowVisible(main));
    ASSERT_TRUE(winetest::ExitTarnelix(tarnelix, main));
}

TEST(Programs, VeilmarkAddOnShowsItsWindowAndEndsWhenClosed) {
    winetest::Process addOn;
    ASSERT_TRUE(addOn.Start(ProgramDir() + "Veilmark-AddOn.exe"));
    HWND window = winetest::WaitForWindow("#32770", "Tarnelix-Veilmark", 15000);
    ASSERT_NE(nullptr, window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(addOn.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

}  // namespace
