// TarnelixCtrl.exe at log-on: signed updates in "New\" go in place, the rest
// stays and is logged, and Tarnelix is started and told (tests/ctrl-updates).
#include <gtest/gtest.h>
#include <fstream>
#include <string>

#include "support/WineTest.h"

namespace {

using winetest::Exists;
using winetest::ProgramDir;
using winetest::ReadWholeFile;

const std::string kSigned = winetest::ToolsDir() + "ctrl-updates\\Notes.txt";

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Puts the signed file and its signature into New\ under another name.
void PutSigned(const std::string& folder, const std::string& name) {
    CreateDirectoryA((folder + "New").c_str(), nullptr);
    CopyFileA(kSigned.c_str(), (folder + "New\\" + name).c_str(), FALSE);
    CopyFileA((kSigned + ".sig").c_str(), (folder + "New\\" + name + ".sig").c_str(), FALSE);
}

bool RunCtrl(const std::string& folder) {
    winetest::Process ctrl;
    return ctrl.Start(folder + "TarnelixCtrl.exe") && ctrl.WaitForExit(60000);
}

class Ctrl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Exists(kSigned)) GTEST_SKIP() << "no test-signed updates: this build embeds a release key";
    }
};

// In a folder without the programs, so that nothing else is started.
TEST_F(Ctrl, TamperedUnsignedAndLockedUpdatesStayInNewAndAreLogged) {
    const std::string folder = winetest::TestDir() + "suspect\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((ProgramDir() + "TarnelixCtrl.exe").c_str(), (folder + "TarnelixCtrl.exe").c_str(), FALSE));
    PutSigned(folder, "Tampered.txt");
    std::ofstream(folder + "New\\Tampered.txt", std::ios::app) << "!";
    PutSigned(folder, "Lone.txt");
    DeleteFileA((folder + "New\\Lone.txt.sig").c_str());
    PutSigned(folder, "Held.txt");
    Write(folder + "Held.txt", "old");
    // Open without delete sharing, as a running program's file may be.
    HANDLE held = CreateFileA((folder + "Held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ASSERT_TRUE(RunCtrl(folder));
    CloseHandle(held);
    EXPECT_EQ("old", ReadWholeFile(folder + "Held.txt"));
    for (const char* name : {"Tampered.txt", "Lone.txt", "Held.txt", "Held.txt.sig"})
        EXPECT_TRUE(Exists(folder + "New\\" + name)) << name;
    EXPECT_FALSE(Exists(folder + "Tampered.txt") || Exists(folder + "Lone.txt") || Exists(folder + "Held.txt.bak"));
    const std::string log = ReadWholeFile(folder + "TarnelixCtrl.log");
    for (const char* line : {"Tampered.txt: left in New\\: the signature is not valid", "Lone.txt: left in New\\: no signature",
                             "Held.txt: left in New\\: the old file is in use"}) {
        EXPECT_NE(std::string::npos, log.find(line)) << log;
    }
}

TEST_F(Ctrl, SignedUpdatesGoInPlaceTarnelixStartsAndIsToldAndASecondRunLeavesItAlone) {
    const std::string folder = ProgramDir();
    Write(folder + "Notes.txt", "old");
    PutSigned(folder, "Notes.txt");
    PutSigned(folder, "Extra.txt");
    ASSERT_TRUE(RunCtrl(folder));
    EXPECT_EQ(ReadWholeFile(kSigned), ReadWholeFile(folder + "Notes.txt"));
    EXPECT_EQ("old", ReadWholeFile(folder + "Notes.txt.bak"));
    EXPECT_EQ(ReadWholeFile(kSigned), ReadWholeFile(folder + "Extra.txt"));
    EXPECT_FALSE(Exists(folder + "New\\Notes.txt") || Exists(folder + "New\\Extra.txt.sig"));
    HWND mainWindow = winetest::WaitForWindow("#32770", "Tarnelix 3.0", 1000);
    ASSERT_NE(nullptr, mainWindow) << "the main window was up when it was told";
    EXPECT_NE(std::string::npos, ReadWholeFile(folder + "TarnelixCtrl.log").find("told Tarnelix.exe about 2 installed"));
    // While Tarnelix runs a new update waits, and no second copy is started
    // (which would show its "already running" box).
    PutSigned(folder, "Later.txt");
    ASSERT_TRUE(RunCtrl(folder));
    EXPECT_TRUE(Exists(folder + "New\\Later.txt") && !Exists(folder + "Later.txt"));
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Tarnelix"));
    PostMessageA(mainWindow, WM_COMMAND, IDOK, 0);
    PostMessageA(winetest::WaitForWindow("#32770", "Message Info", 10000), WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(mainWindow, 10000));
}

}  // namespace
