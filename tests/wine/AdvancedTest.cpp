// The advanced page, adware scanner and guards on the real Tarnelix.exe, with
// FakeAdware copies and FakeMessenger as Wine's "Messenger" service.
#include <gtest/gtest.h>

#include "support/WineTest.h"
#include <commctrl.h>
#include <fstream>

namespace {

using namespace winetest;

constexpr char kBrowserKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr char kVersionKey[] = "Software\\Wine\\AppDefaults\\Tarnelix.exe";

std::string BrowserValue(const char* name) { return ReadUserString(kBrowserKey, name); }

void SetStartPage(const std::string& page) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kBrowserKey, "Start Page", REG_SZ, page.c_str(),
                    static_cast<DWORD>(page.size() + 1));
}

// 200 ticks of timer 51, one minute step, over when this returns.
void RunMinuteStep(HWND main) {
    for (int tick = 0; tick < 200; ++tick) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_TIMER, 51, 0, SMTO_NORMAL, 5000, &result);
    }
}

// Sets a check box of the page and tells the page, as the box would.
void ClickBox(HWND page, int id, bool checked) {
    HWND box = GetDlgItem(page, id);
    SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box));
}

// Clicks a list-view item's check box; its rectangle is read through memory
// of the list's process.
void ClickItemCheckBox(HWND list, int item) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    WriteProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    const LPARAM at = MAKELPARAM(rect.left + 8, (rect.top + rect.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
}

bool StartCopy(Process& process, const char* name, const char* args = "") {
    const std::string path = TestDir() + name;
    CopyFileA((ToolsDir() + "FakeAdware.exe").c_str(), path.c_str(), FALSE);
    return process.Start(path, args);
}

// Wine's own sc.exe, as a user would run it.
void Sc(const std::string& args) {
    Process sc;
    sc.Start("C:\\windows\\system32\\sc.exe", args);
    sc.WaitForExit(10000);
}

bool WaitForMessenger(DWORD state) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, "Messenger", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    const bool reached = WaitFor(
        [&] { return QueryServiceStatus(service, &status) && status.dwCurrentState == state; }, 10000);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return reached;
}

class Advanced : public winetest::TarnelixTest {
protected:
    void TearDown() override {
        TarnelixTest::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, kVersionKey);  // the prefix serves later tests
        if (messengerRegistered) {  // Wine deletes only a stopped service
            Sc("stop Messenger");
            WaitForMessenger(SERVICE_STOPPED);
            Sc("delete Messenger");
        }
    }
    void StartTarnelix() {
        Start();
        page = FindChildDialogWithControl(main, 1027);
        ASSERT_NE(nullptr, page);
    }
    HWND page = nullptr;
    bool messengerRegistered = false;
};

TEST_F(Advanced, ScannerKillsCheckedAdwareAndTheLockRestoresTheStartPage) {
    // Unsorted, a key in capitals: a save would show as a rewrite.
    const std::string adware = "SPYBAR.EXE TRUE Spy Bar\r\nquiet.exe FALSE Quiet Tool\r\nguarded.exe TRUE Guarded\r\n";
    std::ofstream(ProgramDir() + "Adware.dat", std::ios::binary) << adware;
    WriteSetting("PreventHomePageChange", DWORD{1});
    SetStartPage("http://home.example/");
    Process spy, spyCopy, quiet, guarded;
    ASSERT_TRUE(StartCopy(spy, "SpyBar.exe") && StartCopy(spyCopy, "SpyBar.exe") && StartCopy(quiet, "quiet.exe"));
    ASSERT_TRUE(StartCopy(guarded, "guarded.exe", "protect"));
    StartTarnelix();
    EXPECT_EQ(adware, ReadWholeFile(ProgramDir() + "Adware.dat")) << "loading saves nothing";
    EXPECT_EQ("yes", BrowserValue("Disable Script Debugger")) << "box 1019 is set on a first start";
    SetStartPage("HTTP://HOME.EXAMPLE/");
    RunMinuteStep(main);
    EXPECT_TRUE(spy.WaitForExit(3000));
    EXPECT_TRUE(spyCopy.WaitForExit(3000));
    EXPECT_TRUE(quiet.Running()) << "listed, box clear";
    EXPECT_TRUE(guarded.Running()) << "it denies termination";
    EXPECT_EQ("2", ReadTarnelixString("Settings", "AdwareCounter"));
    EXPECT_EQ("000002", CounterDigits(main));
    EXPECT_EQ("http://home.example/", BrowserValue("Start Page")) << "restored, though only its case changed";
    ClickBox(page, 1017, false);
    ClickBox(page, 1019, false);
    EXPECT_EQ(0u, SettingNumber("PreventHomePageChange"));
    EXPECT_EQ("no", BrowserValue("Disable Script Debugger"));
    EXPECT_EQ(0u, SettingNumber("DisableIEScriptDebugger"));
    // Items: Guarded, Quiet Tool, Spy Bar. Checking Quiet Tool saves; the scan kills it.
    HWND list = GetDlgItem(page, 1027);
    ClickItemCheckBox(list, 1);
    const std::string saved = "guarded.exe TRUE Guarded\r\nquiet.exe TRUE Quiet Tool\r\nspybar.exe TRUE Spy Bar\r\n";
    EXPECT_EQ(saved, WaitForFileWith(ProgramDir() + "Adware.dat", saved, 5000));
    SetStartPage("http://other.example/");
    RunMinuteStep(main);
    EXPECT_TRUE(quiet.WaitForExit(3000));
    EXPECT_EQ("3", ReadTarnelixString("Settings", "AdwareCounter"));
    EXPECT_EQ("http://other.example/", BrowserValue("Start Page")) << "box clear: left alone";
    ClickItemCheckBox(list, 1);
    const std::string cleared = "quiet.exe FALSE Quiet Tool\r\n";
    EXPECT_NE(std::string::npos, WaitForFileWith(ProgramDir() + "Adware.dat", cleared, 5000).find(cleared));
}

// Whether the main window posts the box a close (timer 50) within the time.
bool CloseArrives(HWND box, DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&msg)) {
            if (msg.hwnd == box && msg.message == WM_CLOSE) return true;
        }
    }
    return false;
}

TEST_F(Advanced, MessengerServiceIsStoppedAtStartAndStartedAgainByTheBox) {
    // Version 5.2: the NT family, where the service exists.
    RegSetKeyValueA(HKEY_CURRENT_USER, kVersionKey, "Version", REG_SZ, "win2003", 8);
    const std::string log = TestDir() + "messenger.log";
    messengerRegistered = true;
    Sc("delete Messenger");  // left by a broken run
    Sc("create Messenger binpath= \"" + ToolsDir() + "FakeMessenger.exe 2500 " + log + "\"");
    Sc("start Messenger");
    ASSERT_TRUE(WaitForMessenger(SERVICE_RUNNING));
    StartTarnelix();
    HWND box = CreateWindowExA(0, "#32770", "Messenger Service ", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(CloseArrives(box, 3000)) << "timer 50 runs while the service is believed running";
    // Two quick toggles while the stop worker polls: the service hears one stop.
    ClickBox(page, 1018, false);
    ClickBox(page, 1018, true);
    EXPECT_TRUE(WaitForMessenger(SERVICE_STOPPED));
    // Seen at the worker's next poll; a whole second without a close shows timer 50 stopped.
    bool timerStopped = false;
    for (DWORD start = GetTickCount(); !timerStopped && GetTickCount() - start < 10000;) {
        timerStopped = !CloseArrives(box, 1000);
    }
    EXPECT_TRUE(timerStopped) << "WM_COMMAND 1048 followed and stopped timer 50";
    EXPECT_EQ("start\nstop\n", winetest::WaitForFileWith(log, "stop\n", 5000));
    ClickBox(page, 1018, false);
    EXPECT_TRUE(WaitForMessenger(SERVICE_RUNNING));
    EXPECT_EQ(0u, SettingNumber("BlockMessenger"));
    DestroyWindow(box);
}

}  // namespace
