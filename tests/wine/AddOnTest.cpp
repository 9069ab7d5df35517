// Veilmark-AddOn.exe with the real Tarnelix: protocol, each cleaning step, window.
// Timers are driven by posted WM_TIMER; addon-setup.sh plants a link in the temp folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <utility>
#include <memory>
#include <string>

#include "common/TarnelixResource.h"
#include "common/VeilmarkResource.h"
#include "support/WineTest.h"

namespace {

using namespace winetest;

constexpr char kAddOnKey[] = "Software\\Corvantine\\Veilmark-AddOn\\Settings";
constexpr int kBoxes[] = {1030, 1024, 1026, 1028, 1025, 1020, 1021, 1023, 1022};
constexpr const char* kTypedUrls = "SOFTWARE\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr const char* kRecentDocs = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
constexpr const char* kRecentTxt = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\.txt";

struct AddOn {
    Process process;
    HWND window = nullptr;
    bool Start() {
        process.Start(ProgramDir() + "Veilmark-AddOn.exe");
        window = WaitForWindow("#32770", "Tarnelix-Veilmark", 15000);
        // Found before its controls exist; a sent message waits for its loop.
        DWORD_PTR ignored = 0;
        return window != nullptr && WaitFor([&] { return GetDlgItem(window, IDC_REMOVE_SITE) != nullptr; }, 10000) &&
               SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
    }
    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { PostMessageA(window, msg, wParam, lParam); }
    void Click(int id) const { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
    bool Visible() const { return IsWindowVisible(window) != FALSE; }
};

int Runs() {
    return std::atoi(ReadTarnelixString("Settings", "VeilmarkCounter").c_str());
}

void Plant(const std::string& path, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::string folder = path.substr(0, path.rfind('\\'));
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    std::ofstream(path, std::ios::binary) << content;
    SetFileAttributesA(path.c_str(), attributes);
}

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return std::string(path) + "\\tlx\\";
}

// The names of every URL-cache entry, read from the cache all processes share.
std::string CacheNames() {
    std::string names;
    alignas(8) char buffer[16384];
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer);
    DWORD size = sizeof(buffer);
    HANDLE walk = FindFirstUrlCacheEntryA(nullptr, entry, &size);
    for (bool more = walk != nullptr; more; more = FindNextUrlCacheEntryA(walk, entry, &(size = sizeof(buffer)))) {
        names += std::string(entry->lpszSourceUrlName) + "\n";
    }
    FindCloseUrlCache(walk);
    return names;
}

DWORD ValueCount(const char* key) {
    HKEY open = nullptr;
    DWORD values = 99;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &open) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(open, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(open);
    }
    return values;
}

// Ticks the boxes, runs timer 2 once and waits until the run has ended.
void CleanWith(const AddOn& addOn, std::initializer_list<int> boxes) {
    for (int id : boxes) addOn.Click(id);
    const int before = Runs();
    addOn.Post(WM_TIMER, 2);
    ASSERT_TRUE(WaitFor([&] { return Runs() == before + 1; }, 20000));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(addOn.window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
    for (int id : boxes) addOn.Click(id);
}

TEST(AddOn, EndsAfter121FailedSearchesWithoutTarnelix) {
    AddOn addOn;
    ASSERT_TRUE(addOn.Start());
    for (int attempt = 0; attempt < 121; ++attempt) {
        addOn.Post(WM_TIMER, 0);
    }
    EXPECT_TRUE(addOn.process.WaitForExit(10000));
    EXPECT_FALSE(addOn.Visible());
}

TEST(AddOn, FollowsTarnelixFromAttachThroughARestartToItsExit) {
    WriteSetting("Disable", DWORD{1});
    AddOn addOn;
    ASSERT_TRUE(addOn.Start());
    EXPECT_FALSE(addOn.Visible());
    for (int id : kBoxes) EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(addOn.window, id), BM_GETCHECK, 0, 0)) << id;
    addOn.Click(1025);
    EXPECT_EQ(0u, ReadUserNumber(kAddOnKey, "EmptyRecycleBin"));
    addOn.Click(1025);
    EXPECT_EQ(1u, ReadUserNumber(kAddOnKey, "EmptyRecycleBin"));
    for (int attempt = 0; attempt < 100; ++attempt) addOn.Post(WM_TIMER, 0);
    auto tarnelix = std::make_unique<Process>();
    HWND main = StartTarnelix(*tarnelix);
    ASSERT_NE(nullptr, main);
    const UINT show = RegisterWindowMessageA("WM_TARNELIX_SHOW_PRIVACY_ADDON");
    char temp[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%WINDIR%\\Temp\\tlx-marker.txt", temp, MAX_PATH);
    Plant(temp, "m");
    addOn.Post(WM_TIMER, 0);  // finds Tarnelix, which answers "disabled"
    addOn.Post(WM_TIMER, 2);
    addOn.Post(show, 0, reinterpret_cast<LPARAM>(main));
    ASSERT_TRUE(WaitFor([&] { return addOn.Visible(); }, 10000));
    EXPECT_TRUE(Exists(temp)) << "no run while Tarnelix is disabled";
    EXPECT_EQ(0, Runs());
    // Enter in the site box is the OK button: it hides and adds nothing.
    SetWindowTextA(GetDlgItem(addOn.window, IDC_SITE_EDIT), "typed.example");
    PostMessageA(GetDlgItem(addOn.window, IDC_SITE_EDIT), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitFor([&] { return !addOn.Visible(); }, 10000));
    EXPECT_EQ(0, SendMessageA(GetDlgItem(addOn.window, IDC_KEPT_SITES_LIST), LVM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(Exists(ProgramDir() + "AllowCookies.dat"));
    PostMessageA(main, WM_COMMAND, ID_TRAY_DISABLE, 0);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("Disable") == 0; }, 10000));
    DWORD_PTR ignored = 0;  // then its broadcast has gone out
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    addOn.Post(show, 0, reinterpret_cast<LPARAM>(GetDesktopWindow()));
    addOn.Post(WM_TIMER, 2);
    ASSERT_TRUE(WaitFor([] { return Runs() == 1; }, 20000));
    EXPECT_FALSE(addOn.Visible()) << "a show request from another window is ignored";
    EXPECT_TRUE(WaitFor([&] { return !Exists(temp); }, 20000));
    PostMessageA(main, WM_COMMAND, ID_TRAY_VEILMARK, 0);
    ASSERT_TRUE(WaitFor([&] { return addOn.Visible(); }, 10000));
    PumpFor(300);  // the skin and the buttons paint
    EXPECT_TRUE(SaveWindowShot(addOn.window, "addon_window"));
    BITMAP skin{};
    HANDLE picture = LoadImageA(nullptr, (ProgramDir() + "Skin\\Default\\Veilmark-AddOn.bmp").c_str(), IMAGE_BITMAP,
                                0, 0, LR_LOADFROMFILE);
    ASSERT_TRUE(GetObjectA(picture, sizeof(skin), &skin));
    for (HWND child = GetWindow(addOn.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, addOn.window, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= skin.bmWidth && rect.bottom <= skin.bmHeight)
            << GetDlgCtrlID(child) << " ends at " << rect.right << ", " << rect.bottom;
    }
    DeleteObject(picture);
    // Tarnelix ends without its exit broadcast and starts again: the query
    // finds the old window gone, the search the new one, and runs count again.
    tarnelix = std::make_unique<Process>();
    main = StartTarnelix(*tarnelix);
    ASSERT_NE(nullptr, main);
    addOn.Post(WM_TIMER, 1);
    addOn.Post(WM_TIMER, 0);
    EXPECT_TRUE(WaitFor(
        [&] {
            addOn.Post(WM_TIMER, 2);
            return WaitFor([] { return Runs() >= 2; }, 500);
        },
        20000));
    ASSERT_TRUE(ExitTarnelix(*tarnelix, main));
    EXPECT_TRUE(addOn.process.WaitForExit(10000));
}

TEST(AddOn, EachStepLeavesExactlyWhatItShould) {
    char tempPath[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%WINDIR%\\Temp\\", tempPath, MAX_PATH);
    const std::string temp = std::string(tempPath) + "tlx\\", history = Folder(CSIDL_HISTORY),
                      cache = Folder(CSIDL_INTERNET_CACHE), recent = Folder(CSIDL_RECENT);
    for (const char* name : {"a.txt", "sub\\b.txt", "old.index.dat"}) Plant(temp + name, std::string(100, 'T'));
    Plant(temp + "ro.txt", "r", FILE_ATTRIBUTE_READONLY);
    Plant(temp + "desktop.ini", "d", FILE_ATTRIBUTE_READONLY);
    Plant(history + "h.txt", "h");
    Plant(history + "index.dat", std::string(32, 'I') + std::string(2000, 'i'));
    CreateDirectoryA((history + "empty").c_str(), nullptr);
    Plant(cache + "c.txt", "c");
    Plant(cache + "index.dat", std::string(20, 'J'));
    Plant(cache + "deep\\desktop.ini", "d");
    Plant(recent + "doc.lnk", "l");
    for (const auto& [key, name] : {std::pair{kTypedUrls, "url1"}, {kTypedUrls, "url2"}, {kRunMru, "a"},
                                    {kRunMru, "MRUList"}, {kRecentDocs, "0"}, {kRecentDocs, "MRUListEx"},
                                    {kRecentTxt, "0"}}) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, "x", 2);
    }
    const char* expires = "n=v; expires=Sat, 01-Jan-2039 00:00:00 GMT";
    ASSERT_TRUE(InternetSetCookieA("http://kept.example/", nullptr, expires));
    ASSERT_TRUE(InternetSetCookieA("http://other.example/", nullptr, expires));
    char local[MAX_PATH] = {};
    ASSERT_TRUE(CreateUrlCacheEntryA("http://page.example/a.html", 0, "html", local, 0));
    Plant(local, "<html>");
    FILETIME never{};
    ASSERT_TRUE(CommitUrlCacheEntryA("http://page.example/a.html", local, never, never, NORMAL_CACHE_ENTRY, nullptr,
                                     0, nullptr, nullptr));
    const std::string trashed = TestDir() + "trash-me.txt" + '\0';
    Plant(trashed.c_str(), "t");
    SHFILEOPSTRUCTA trash{nullptr, FO_DELETE, trashed.c_str(), nullptr,
                          FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI, FALSE, nullptr, nullptr};
    ASSERT_EQ(0, SHFileOperationA(&trash));
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    lstrcpyA(static_cast<char*>(GlobalLock(text)), "clip!");
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    Process tarnelix;
    HWND main = StartTarnelix(tarnelix);
    ASSERT_NE(nullptr, main);
    AddOn addOn;
    ASSERT_TRUE(addOn.Start());
    for (int id : kBoxes) addOn.Click(id);
    // Tarnelix's own answer may still be on its way: this one surely comes first.
    addOn.Post(RegisterWindowMessageA("WM_TARNELIX_DISABLE"), 0, reinterpret_cast<LPARAM>(main));
    CleanWith(addOn, {IDC_DELETE_BROWSER_TEMP});
    std::string names = CacheNames();
    EXPECT_EQ(std::string::npos, names.find("page.example")) << names;
    EXPECT_NE(std::string::npos, names.find("kept.example")) << names;
    EXPECT_NE(std::string::npos, names.find("other.example")) << names;
    EXPECT_FALSE(Exists(cache + "c.txt"));
    EXPECT_TRUE(Exists(cache + "index.dat") && Exists(cache + "deep\\desktop.ini"));
    SetWindowTextA(GetDlgItem(addOn.window, IDC_SITE_EDIT), "kept.example");
    addOn.Click(IDC_ADD_SITE);
    EXPECT_EQ("kept.example\r\n", WaitForFileWith(ProgramDir() + "AllowCookies.dat", "kept", 5000));
    // While another program holds the file the site stays listed and the user
    // is told; the next timer saves it.
    HANDLE list = CreateFileA((ProgramDir() + "AllowCookies.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, list);
    SetWindowTextA(GetDlgItem(addOn.window, IDC_SITE_EDIT), "second.example");
    addOn.Post(WM_COMMAND, IDC_ADD_SITE);
    HWND box = WaitForWindow("#32770", "Veilmark", 10000);
    ASSERT_NE(nullptr, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntilGone(box, 5000));
    CloseHandle(list);
    addOn.Post(WM_TIMER, 1);
    EXPECT_EQ("kept.example\r\nsecond.example\r\n", WaitForFileWith(ProgramDir() + "AllowCookies.dat", "second", 5000));
    CleanWith(addOn, {IDC_DELETE_COOKIES});
    names = CacheNames();
    EXPECT_NE(std::string::npos, names.find("kept.example")) << names;
    EXPECT_EQ(std::string::npos, names.find("other.example")) << names;
    // Index files are wiped after their 32-byte header, then deleted (held open
    // here, so the wipe shows). Wine's own cache index goes too: cache steps first.
    HANDLE held[2];
    for (int i = 0; i < 2; ++i) {
        held[i] = CreateFileA(((i == 0 ? history : cache) + "index.dat").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    CleanWith(addOn, {IDC_DELETE_VISITED_TRACES});
    CloseHandle(held[0]);
    CloseHandle(held[1]);
    EXPECT_EQ(std::string(32, 'I') + std::string(2000, '\0'), ReadWholeFile(history + "index.dat"));
    EXPECT_EQ(std::string(20, 'J'), ReadWholeFile(cache + "index.dat")) << "32 bytes or less: no write";
    EXPECT_TRUE(Exists(history + "h.txt")) << "h.txt";
    EXPECT_TRUE(Exists(cache + "deep\\desktop.ini")) << "desktop.ini";
    EXPECT_FALSE(Exists(history + "empty"));
    CleanWith(addOn, {IDC_DELETE_BROWSER_HISTORY});
    EXPECT_FALSE(Exists(history + "h.txt"));
    EXPECT_TRUE(Exists(history + "index.dat"));
    EXPECT_EQ(0u, ValueCount(kTypedUrls));
    CleanWith(addOn, {IDC_DELETE_WINDOWS_TEMP, IDC_DELETE_CLIPBOARD, IDC_DELETE_RECENT_DOCUMENTS,
                      IDC_DELETE_RUN_LIST, IDC_EMPTY_RECYCLE_BIN});
    for (const char* gone : {"a.txt", "sub", "ro.txt", "old.index.dat"}) EXPECT_FALSE(Exists(temp + gone)) << gone;
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_ARCHIVE}, GetFileAttributesA((temp + "desktop.ini").c_str()) & 0x21);
    // The link is never followed (Wine 8 cannot remove it, Windows would).
    EXPECT_EQ("keep", ReadWholeFile(TestDir() + "protected\\keep.txt")) << "what the link points to stays";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(Exists(recent + "doc.lnk"));
    EXPECT_EQ(0u, ValueCount(kRecentDocs));
    EXPECT_EQ(1u, ValueCount(kRecentTxt));
    EXPECT_EQ(0u, ValueCount(kRunMru));
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof(bin);
    SHQueryRecycleBinA(nullptr, &bin);
    EXPECT_EQ(0, bin.i64NumItems);
    EXPECT_TRUE(ExitTarnelix(tarnelix, main));
}

}  // namespace
