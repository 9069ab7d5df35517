// The installer built from the program folder (tests/TarnelixSetup-test.exe),
// installed and removed silently, with Tarnelix running when it goes.
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

#include "support/WineTest.h"

namespace {

using winetest::Exists;

const std::string kSetup = winetest::ToolsDir() + "TarnelixSetup-test.exe";

std::string Env(const char* name) { return std::getenv(name) != nullptr ? std::getenv(name) : ""; }

std::string MachineString(const char* key, const char* value, DWORD type = RRF_RT_REG_SZ) {
    return winetest::ReadUserString(key, value, HKEY_LOCAL_MACHINE, type);
}

bool RunToEnd(const std::string& exe, const std::string& args) {
    winetest::Process process;
    return process.Start(exe, args) && process.WaitForExit(90000);
}

TEST(Setup, SilentInstallAndUninstallWithPurgeLeaveNothingBehindAndEndTarnelixFirst) {
    if (!Exists(kSetup)) GTEST_SKIP() << "the installer was not built (makensis missing)";
    const std::string dir = Env("ProgramFiles") + "\\Tarnelix\\";
    const std::string menu = Env("ProgramData") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Tarnelix\\";
    constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnelix";
    constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_TRUE(RunToEnd(kSetup, "/S"));
    for (const char* file : {"Tarnelix.exe", "Wendle.dll", "Veilmark-AddOn.exe", "TarnelixCtrl.exe", "README.txt",
                             "Uninstall.exe", "Skin\\Default\\MainDlg.bmp", "Sound\\Default\\on.wav"}) {
        EXPECT_TRUE(Exists(dir + file)) << file;
    }
    EXPECT_TRUE(Exists(menu + "Tarnelix.lnk") && Exists(menu + "Veilmark Privacy Add-on.lnk"));
    EXPECT_EQ("Tarnelix", MachineString(kUninstallKey, "DisplayName"));
    EXPECT_EQ("\"" + dir + "Uninstall.exe\"", MachineString(kUninstallKey, "UninstallString"));
    EXPECT_EQ("\"" + dir + "TarnelixCtrl.exe\"", MachineString(kRunKey, "Tarnelix"));
    winetest::Process tarnelix;
    ASSERT_TRUE(tarnelix.Start(dir + "Tarnelix.exe"));
    ASSERT_NE(nullptr, winetest::WaitForWindow("#32770", "Tarnelix 3.0", 15000));
    const std::string settings = "Software\\Corvantine\\Tarnelix\\Settings";
    ASSERT_NE("<missing>", winetest::ReadUserString(settings, "SkinDir"));
    // The uninstaller runs from a copy of itself: its last step removes its file.
    ASSERT_TRUE(RunToEnd(dir + "Uninstall.exe", "/S /PURGE"));
    winetest::WaitFor([&] { return !Exists(dir + "Uninstall.exe"); }, 60000);
    // Wine keeps the hook library mapped, so it may only be marked for deletion.
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        EXPECT_TRUE(found.cFileName[0] == '.' || std::string(found.cFileName) == "Wendle.dll") << found.cFileName;
    }
    FindClose(search);
    EXPECT_TRUE(!Exists(dir + "Wendle.dll") ||
                MachineString("System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations",
                              RRF_RT_REG_MULTI_SZ).find("Tarnelix\\Wendle.dll") != std::string::npos);
    EXPECT_TRUE(tarnelix.WaitForExit(1000)) << "Tarnelix ended through its own exit";
    EXPECT_FALSE(Exists(menu));
    EXPECT_EQ("<missing>", MachineString(kUninstallKey, "DisplayName"));
    EXPECT_EQ("<missing>", MachineString(kRunKey, "Tarnelix"));
    EXPECT_EQ("<missing>", winetest::ReadUserString(settings, "SkinDir"));
}

}  // namespace
