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

TEST(Programs, TarnelixShowsItsMainWindowAndEndsWhenClosed) {
    winetest::Process tarnelix;
    ASSERT_TRUE(tarnelix.Start(ProgramDir() + "Tarnelix.exe"));
    HWND main = winetest::WaitForWindow("#32770", "Tarnelix 3.0", 15000);
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(tarnelix.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
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
