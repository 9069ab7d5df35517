// Tarnelix.exe start-up: one instance per desktop, the folder settings on a
// clean registry, and the Windows-version code.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/WineTest.h"

namespace {

using winetest::ProgramDir;

std::string ReadSetting(const char* value) {
    return winetest::ReadTarnelixString("Settings", value);
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::string*>(lParam)->append(text).append("\n");
    return TRUE;
}

std::string ChildTexts(HWND window) {
    std::string texts;
    EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

class Startup : public ::testing::Test {
protected:
    void StartFirst() {
        main = winetest::StartTarnelix(first);
        ASSERT_NE(nullptr, main);
    }
    void TearDown() override {
        if (main != nullptr && IsWindow(main)) {
            EXPECT_TRUE(winetest::ExitTarnelix(first, main));
        }
    }

    winetest::Process first;
    HWND main = nullptr;
};

TEST_F(Startup, SecondInstanceShowsTheMessageAndLeavesTheFirstAlone) {
    StartFirst();
    winetest::Process second;
    ASSERT_TRUE(second.Start(ProgramDir() + "Tarnelix.exe"));
    // The message box carries the application name as its caption.
    HWND box = winetest::WaitForWindow("#32770", "Tarnelix", 15000);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, ChildTexts(box).find("Tarnelix application is already running!"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.WaitForExit(10000));

    EXPECT_TRUE(first.Running());
    EXPECT_EQ(main, FindWindowA("#32770", "Tarnelix 3.0"));
}

TEST_F(Startup, CleanRegistryGetsTheThreeFoldersBelowTheProgramFolder) {
    StartFirst();
    EXPECT_EQ(ProgramDir() + "Skin\\Default\\", ReadSetting("SkinDir"));
    EXPECT_EQ(ProgramDir() + "Sound\\Default\\", ReadSetting("SoundDir"));
    EXPECT_EQ(ProgramDir() + "Notifications\\Default\\", ReadSetting("NotificationsDir"));
}

TEST_F(Startup, StoredSkinFolderIsKeptAsItStands) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Corvantine\\Tarnelix\\Settings", &key));
    const char other[] = "D:\\Skins\\Blue\\";
    RegSetValueExA(key, "SkinDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof(other));
    RegCloseKey(key);
    StartFirst();
    EXPECT_EQ(other, ReadSetting("SkinDir"));
    EXPECT_EQ(ProgramDir() + "Sound\\Default\\", ReadSetting("SoundDir"));
}

// Runs OsKindProbe, a program built on the same detection as Tarnelix, with
// Wine told to report the given Windows version to it alone.
int OsKindUnder(const char* wineVersion) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\OsKindProbe.exe", &key) != ERROR_SUCCESS) {
        return -100;
    }
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(wineVersion),
                   static_cast<DWORD>(strlen(wineVersion) + 1));
    RegCloseKey(key);
    const std::string out = winetest::TestDir() + "oskind.txt";
    winetest::Process probe;
    int kind = -100;
    if (probe.Start(winetest::ToolsDir() + "OsKindProbe.exe", "\"" + out + "\"") && probe.WaitForExit(15000)) {
        std::ifstream(out) >> kind;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\OsKindProbe.exe");
    return kind;
}

TEST(OsKind, FollowsTheVersionTheSystemReports) {
    EXPECT_EQ(7, OsKindUnder("winxp64")) << "5.2, NT family: Windows Server 2003";
    EXPECT_EQ(4, OsKindUnder("winxp")) << "5.1: Windows XP";
    EXPECT_EQ(6, OsKindUnder("win2k")) << "5.0: Windows 2000";
    EXPECT_EQ(-1, OsKindUnder("win7")) << "6.1 is no system Tarnelix knows";
}

}  // namespace
