// What Tarnelix does when things go wrong around it: saves killed half-way,
// a read-only program folder, settings of the wrong type or size, list files
// that are folders or held by others, a settings key it may not write, and a
// run ended by the system; then the second instance, the help and the close
// that only hides. Each fault is told once and nothing is lost.
#include <gtest/gtest.h>

#include <aclapi.h>

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

// Settings: everyone may read and delete the key; while `deny`, nobody may
// write it.
bool DenyWrites(const char* key, bool deny) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, WRITE_DAC, &handle) != ERROR_SUCCESS) {
        return false;
    }
    EXPLICIT_ACCESSA rules[2] = {};
    BuildExplicitAccessWithNameA(&rules[0], const_cast<char*>("EVERYONE"), KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                                 DENY_ACCESS, NO_INHERITANCE);
    BuildExplicitAccessWithNameA(&rules[1], const_cast<char*>("EVERYONE"), KEY_ALL_ACCESS, GRANT_ACCESS,
                                 NO_INHERITANCE);
    PACL acl = nullptr;
    const bool built = SetEntriesInAclA(deny ? 2 : 1, deny ? rules : rules + 1, nullptr, &acl) == ERROR_SUCCESS;
    const bool set = built && SetSecurityInfo(handle, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                              acl, nullptr) == ERROR_SUCCESS;
    LocalFree(acl);
    RegCloseKey(handle);
    return set;
}

// Tarnelix's own message box: answered with "Ok"; its text, or "" when none
// came. Timer 52 finds failed saves every 5 s; posting it saves the wait.
std::string AnswerSaveFault(HWND main) {
    PostMessageA(main, WM_TIMER, 52, 0);
    HWND box = winetest::WaitForWindow("#32770", "Message Info", 10000);
    if (box == nullptr) {
        return "";
    }
    // Found as soon as it exists, before its initialisation sets the text.
    std::string text;
    winetest::WaitFor([&] { return !(text = winetest::WindowText(GetDlgItem(box, 1050))).empty(); }, 5000);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(box, 5000));
    return text;
}

constexpr char kKeptAndRetried[] = ". It keeps your changes and saves them as soon as it can.";

void KillPopup(const std::string& name) {
    hooktest::Windows windows;
    ASSERT_TRUE(hooktest::RunBrowser("IEXPLORE.EXE", hooktest::Script().Frame(name).Hold(name, 15000), windows));
    EXPECT_EQ(1, hooktest::Find(windows, name)->sysCloses) << name;
}

// reliability-setup.sh made a copy of the program folder that nobody may
// write into. Tarnelix runs from it: the kill counts, the title stays on the
// history page, the user is told, and no file appears anywhere.
TEST(Reliability, AReadOnlyProgramFolderKeepsTarnelixWorkingAndTheUserIsTold) {
    const std::string program = ProgramDir();
    const std::string folder = program.substr(0, program.rfind('\\', program.size() - 2) + 1) + "readonly\\";
    const std::string probe = folder + "probe.tmp";
    HANDLE written = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (written != INVALID_HANDLE_VALUE) {
        CloseHandle(written);
        DeleteFileA(probe.c_str());
        GTEST_SKIP() << "the read-only folder is writable here: root whose override could not be dropped";
    }
    winetest::Process tarnelix;
    ASSERT_TRUE(tarnelix.Start(folder + "Tarnelix.exe"));
    HWND main = winetest::WaitForWindow("#32770", "Tarnelix 3.0", 15000);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(winetest::WaitFor([&] { return SendMessageA(GetDlgItem(main, 1047), BM_GETCHECK, 0, 0) == BST_CHECKED; },
                                  10000));
    KillPopup("read-only");
    EXPECT_TRUE(winetest::WaitFor([] { return winetest::ReadTarnelixString("Settings", "PopupCounter") == "1"; }, 10000));
    EXPECT_EQ(std::string("Tarnelix cannot save BlockedHistory.dat") + kKeptAndRetried, AnswerSaveFault(main));
    PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(380, 30));  // the history tab
    HWND list = nullptr;
    EXPECT_TRUE(winetest::WaitFor([&] {
        HWND page = winetest::FindChildDialogWithControl(main, 1000);
        list = page != nullptr && (GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0 ? GetDlgItem(page, 1000) : nullptr;
        return list != nullptr && SendMessageA(list, LB_GETCOUNT, 0, 0) == 1;
    }, 10000)) << "the page reads the file again, which must not lose the unsaved title";
    for (const std::string& path : {folder + "BlockedHistory.dat", folder + "BlockedHistory.dat.tmp",
                                    winetest::TestDir() + "BlockedHistory.dat", program + "BlockedHistory.dat"}) {
        EXPECT_FALSE(winetest::Exists(path)) << path;
    }
    EXPECT_TRUE(winetest::ExitTarnelix(tarnelix, main));
    // The next test starts from a first run.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
}

TEST(Reliability, HostileSettingsAndFilesAndAKilledRunLeaveTarnelixWorkingAndOneInstance) {
    winetest::WriteSetting("AutoBlock", "0");   // a string where a number belongs: reads as on
    winetest::WriteSetting("SkinDir", 7);       // a number where a folder belongs: settled again
    winetest::WriteSetting("PopupCounter", 5);  // reads as 0
    winetest::WriteSetting("UpdateListingUrl", std::string(1 << 20, 'h').c_str());
    const std::string history = ProgramDir() + "BlockedHistory.dat";
    ASSERT_TRUE(CreateDirectoryA(history.c_str(), nullptr));
    // Held without sharing: Tarnelix can neither read nor replace it.
    const std::string allowed = ProgramDir() + "AllowBanners.dat";
    HANDLE held = CreateFileA(allowed.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(held, "kept entry\r\n", 12, &written, nullptr));

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
    // The user hears of it once; the title is saved as soon as the folder is gone.
    EXPECT_EQ(std::string("Tarnelix cannot save BlockedHistory.dat") + kKeptAndRetried, AnswerSaveFault(main));
    ASSERT_TRUE(RemoveDirectoryA(history.c_str()));
    PostMessageA(main, WM_TIMER, 52, 0);
    EXPECT_EQ("BLK:first\r\n", winetest::WaitForFileWith(history, "first", 10000));
    // An entry added while the allowed list could not be read is kept, and
    // so are the file's entries once the file is free.
    HWND page = winetest::FindChildDialogWithControl(main, 1004);
    ASSERT_NE(nullptr, page);
    SetDlgItemTextA(page, 1047, "added entry");
    PostMessageA(page, WM_COMMAND, 1051, 0);  // Add Popup
    EXPECT_EQ(std::string("Tarnelix cannot save AllowBanners.dat") + kKeptAndRetried, AnswerSaveFault(main));
    CloseHandle(held);
    PostMessageA(main, WM_TIMER, 52, 0);
    EXPECT_EQ("added entry\r\nkept entry\r\n", winetest::WaitForFileWith(allowed, "added", 10000));
    EXPECT_EQ(2, SendMessageA(GetDlgItem(page, 1004), LB_GETCOUNT, 0, 0)) << "the list box follows its list";

    // Ended by the system: the next start finds no instance and hooks again.
    ASSERT_TRUE(first.Terminate());
    winetest::Process second;
    main = winetest::StartTarnelix(second);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Tarnelix"));
    KillPopup("third");
    EXPECT_TRUE(winetest::WaitFor([&] { return winetest::CounterDigits(main) == "000002"; }, 10000));

    // Without write access the count goes on on screen and is stored once
    // the key takes writes again.
    const char* settingsKey = "Software\\Corvantine\\Tarnelix\\Settings";
    ASSERT_TRUE(DenyWrites(settingsKey, true));
    KillPopup("fourth");
    EXPECT_TRUE(winetest::WaitFor([&] { return winetest::CounterDigits(main) == "000003"; }, 10000));
    EXPECT_EQ(std::string("Tarnelix cannot save its settings") + kKeptAndRetried, AnswerSaveFault(main));
    EXPECT_EQ("2", winetest::ReadTarnelixString("Settings", "PopupCounter"));
    ASSERT_TRUE(DenyWrites(settingsKey, false));
    PostMessageA(main, WM_TIMER, 52, 0);
    EXPECT_TRUE(winetest::WaitFor([] { return winetest::ReadTarnelixString("Settings", "PopupCounter") == "3"; }, 10000));

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
    EXPECT_TRUE(winetest::ExitTarnelix(second, main));
}

}  // namespace
