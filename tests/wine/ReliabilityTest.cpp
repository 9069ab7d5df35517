// What Tarnelix does when things go wrong around it: saves killed half-way,
// settings of the wrong type or size, list files that are folders or held
// by others, and a run ended by the system; then the second instance, the
// help and the close that only hides.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "HookHarness.h"

namespace {

using winetest::ProgramDir;

// A complete save of ListSaveLoop: lines "g G k" for k = 0 .. 20 + G % 97.
bool IsWholeSave(const std::string& content) {
    std::istringstream in(content);
    std::set<unsigned> ks;
    unsigned generation = 0;
    for (std::string line; std::getline(in, line);) {
        unsigned g = 0;
        unsigned k = 0;
        char tail = 0;
        if (std::sscanf(line.c_str(), "g %u %u%c", &g, &k, &tail) != 3 || tail != '\r' ||
            (!ks.empty() && g != generation) || !ks.insert(k).second) {
            return false;
        }
        generation = g;
    }
    return !ks.empty() && ks.size() == 21 + generation % 97 && *ks.rbegin() == 20 + generation % 97 &&
           content.back() == '\n';
}

FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// 200 kills, four savers at a time: starting a process under Wine takes
// most of the time.
TEST(Reliability, ListSavesKilledAtRandomMomentsLeaveTheOldOrTheNewFile) {
    constexpr int kSavers = 4;
    std::srand(14);
    for (int round = 0; round < 200 / kSavers; ++round) {
        winetest::Process savers[kSavers];
        std::string paths[kSavers];
        FILETIME before[kSavers];
        for (int i = 0; i < kSavers; ++i) {
            paths[i] = winetest::TestDir() + "AllowBanners" + std::to_string(i) + ".dat";
            before[i] = WriteTime(paths[i]);
            // Under load Wine now and then refuses a start while the last
            // round's processes are still going away.
            bool started = false;
            for (int attempt = 0; attempt < 3 && !started; ++attempt) {
                started = savers[i].Start(winetest::ToolsDir() + "ListSaveLoop.exe", paths[i]);
                if (!started) {
                    Sleep(200);
                }
            }
            ASSERT_TRUE(started) << "CreateProcess failed: " << GetLastError();
        }
        // The kills land at a random moment after each saver's first save. A
        // save must also get past the temporary file an earlier kill left.
        ASSERT_TRUE(winetest::WaitFor([&] {
            for (int i = 0; i < kSavers; ++i) {
                const FILETIME now = WriteTime(paths[i]);
                if (CompareFileTime(&now, &before[i]) == 0) {
                    return false;
                }
            }
            return true;
        }, 10000)) << "round " << round;
        Sleep(static_cast<DWORD>(std::rand() % 25));
        for (int i = 0; i < kSavers; ++i) {
            ASSERT_TRUE(savers[i].Terminate());
            ASSERT_TRUE(IsWholeSave(winetest::ReadWholeFile(paths[i]))) << "round " << round << ", saver " << i;
        }
    }
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::string*>(lParam)->append(text).append("\n");
    return TRUE;
}

void KillPopup(const std::string& name) {
    hooktest::Windows windows;
    ASSERT_TRUE(hooktest::RunBrowser("IEXPLORE.EXE", hooktest::Script().Frame(name).Hold(name, 15000), windows));
    EXPECT_EQ(1, hooktest::Find(windows, name)->sysCloses) << name;
}

TEST(Reliability, HostileSettingsAndFilesAndAKilledRunLeaveTarnelixWorkingAndOneInstance) {
    winetest::WriteSetting("AutoBlock", "0");   // a string where a number belongs: reads as on
    winetest::WriteSetting("SkinDir", 7);       // a number where a folder belongs: settled again
    winetest::WriteSetting("PopupCounter", 5);  // reads as 0
    winetest::WriteSetting("UpdateListingUrl", std::string(1 << 20, 'h').c_str());
    const std::string history = ProgramDir() + "BlockedHistory.dat";
    ASSERT_TRUE(CreateDirectoryA(history.c_str(), nullptr));
    HANDLE held = CreateFileA((ProgramDir() + "AllowBanners.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    winetest::Process first;
    HWND main = winetest::StartTarnelix(first);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(ProgramDir() + "Skin\\Default\\", winetest::ReadTarnelixString("Settings", "SkinDir"));
    EXPECT_EQ(ProgramDir() + "Sound\\Default\\", winetest::ReadTarnelixString("Settings", "SoundDir"));
    EXPECT_EQ(ProgramDir() + "Notifications\\Default\\",
              winetest::ReadTarnelixString("Settings", "NotificationsDir"));
    // The main window can be found before its initialisation has set the boxes.
    EXPECT_TRUE(winetest::WaitFor([&] { return SendMessageA(GetDlgItem(main, 1047), BM_GETCHECK, 0, 0) == BST_CHECKED; },
                                    10000));
    KillPopup("first");
    EXPECT_TRUE(winetest::WaitFor([] { return winetest::ReadTarnelixString("Settings", "PopupCounter") == "1"; }, 10000));
    EXPECT_NE(0u, GetFileAttributesA(history.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    // The history is saved after the counter; its temporary file goes with the failed save.
    EXPECT_TRUE(winetest::WaitFor([&] { return GetFileAttributesA((history + ".tmp").c_str()) == INVALID_FILE_ATTRIBUTES; },
                                    10000));

    // Ended by the system: the next start finds no instance and hooks again.
    ASSERT_TRUE(first.Terminate());
    winetest::Process second;
    main = winetest::StartTarnelix(second);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Tarnelix"));
    KillPopup("third");

    // A second instance says so in a box captioned with the application name.
    winetest::Process third;
    ASSERT_TRUE(third.Start(ProgramDir() + "Tarnelix.exe"));
    HWND box = winetest::WaitForWindow("#32770", "Tarnelix", 15000);
    ASSERT_NE(nullptr, box);
    std::string texts;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
    EXPECT_NE(std::string::npos, texts.find("Tarnelix application is already running!"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(third.WaitForExit(10000));
    PostMessageA(main, WM_COMMAND, 57670, 0);  // help: the viewer shows the file's title
    HWND viewer = winetest::WaitForWindow(nullptr, "Tarnelix Help", 30000);
    ASSERT_NE(nullptr, viewer);
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(viewer, 10000));
    // Closing only hides the main window; the program lives on in the tray.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(winetest::WaitFor([&] { return !IsWindowVisible(main); }, 5000));
    EXPECT_TRUE(second.Running());
    CloseHandle(held);
    EXPECT_TRUE(winetest::ExitTarnelix(second, main));
}

}  // namespace
