// The main window's own behaviour: pages, check boxes, the add-on protocol
// and the exit.
#include <gtest/gtest.h>

#include <fstream>

#include "support/WineTest.h"

namespace {

using winetest::ProgramDir;

constexpr UINT kAddPopupsTabX = 320;
constexpr UINT kHistoryTabX = 380;
constexpr UINT kTabY = 30;

HWND FindChildDialogWithControl(HWND parent, int controlId) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, controlId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

// Shown by its own style: IsWindowVisible also asks the parents, and the
// main window itself stays hidden in these tests.
bool HasVisibleStyle(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string RunEntry() {
    char data[1024] = {};
    DWORD size = sizeof(data) - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarnelix",
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return data;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
        main = winetest::StartTarnelix(tarnelix);
        ASSERT_NE(nullptr, main);
        winetest::PumpFor(300);
    }
    void TearDown() override {
        if (main != nullptr && IsWindow(main)) {
            EXPECT_TRUE(winetest::ExitTarnelix(tarnelix, main));
        }
    }
    void Click(UINT x, UINT y) { PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }

    winetest::Process tarnelix;
    HWND main = nullptr;
};

TEST_F(MainWindow, StartsHiddenUntilShowOptions) {
    EXPECT_FALSE(IsWindowVisible(main));
    PostMessageA(main, WM_COMMAND, 32773, 0);
    winetest::PumpFor(300);
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(MainWindow, HistoryTabShowsTheHistoryPageWithTheFileReadAgain) {
    std::ofstream(ProgramDir() + "BlockedHistory.dat", std::ios::binary) << "BLK:beta\r\nBLK:Alpha\r\n";
    Click(kHistoryTabX, kTabY);
    winetest::PumpFor(300);
    HWND page = FindChildDialogWithControl(main, 1000);
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(HasVisibleStyle(page));
    HWND list = GetDlgItem(page, 1000);
    ASSERT_EQ(2, SendMessageA(list, LB_GETCOUNT, 0, 0));
    // Wine marshals list-box texts across processes in their wide form.
    wchar_t first[32] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(L"Alpha", first);
    EXPECT_FALSE(HasVisibleStyle(GetDlgItem(main, 1043))) << "the general check boxes hide";
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1047))) << "AutoBlock stays on every page";
}

TEST_F(MainWindow, AddPopupsTabIsRefusedWhileAutoBlockIsOn) {
    Click(kAddPopupsTabX, kTabY);
    HWND box = winetest::WaitForWindow("#32770", "Message Info", 5000);
    ASSERT_NE(nullptr, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    winetest::PumpFor(300);
    HWND page = FindChildDialogWithControl(main, 1005);
    ASSERT_NE(nullptr, page);
    EXPECT_FALSE(HasVisibleStyle(page));
}

TEST_F(MainWindow, WindowsStartsWritesTheRunEntry) {
    HWND box = GetDlgItem(main, 1043);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1043, BN_CLICKED), reinterpret_cast<LPARAM>(box));
    winetest::PumpFor(300);
    EXPECT_EQ(ProgramDir() + "TarnelixCtrl.exe", RunEntry());
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1043, BN_CLICKED), reinterpret_cast<LPARAM>(box));
    winetest::PumpFor(300);
    EXPECT_EQ("", RunEntry()) << "unchecked: emptied, never deleted";
}

TEST_F(MainWindow, CleaningRunsOfTheAddOnAreCountedButOwnBroadcastsAreNot) {
    const UINT run = RegisterWindowMessageA("WM_TARNELIX_PRIVACY_ADDON_RUN");
    PostMessageA(main, run, 2, 0);
    PostMessageA(main, run, 2, 0);
    PostMessageA(main, run, 2, reinterpret_cast<LPARAM>(main));  // as if from itself: skipped
    winetest::PumpFor(400);
    EXPECT_EQ("2", winetest::ReadTarnelixString("Settings", "VeilmarkCounter"));
}

TEST_F(MainWindow, AnsweringCancelToTheExitQuestionKeepsItRunning) {
    PostMessageA(main, WM_COMMAND, IDOK, 0);
    HWND question = winetest::WaitForWindow("#32770", "Message Info", 5000);
    ASSERT_NE(nullptr, question);
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    winetest::PumpFor(500);
    EXPECT_TRUE(tarnelix.Running());
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(MainWindow, ExitBroadcastsTheExitMessageWithTheMainWindow) {
    const UINT exitMessage = RegisterWindowMessageA("WM_TARNELIX_EXIT");
    HWND listener = CreateWindowExA(0, "Static", "exit listener", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    const HWND expected = main;
    ASSERT_TRUE(winetest::ExitTarnelix(tarnelix, main));
    main = nullptr;
    bool received = false;
    const DWORD start = GetTickCount();
    while (!received && GetTickCount() - start < 3000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == exitMessage && msg.hwnd == listener) {
                received = true;
                EXPECT_EQ(reinterpret_cast<LPARAM>(expected), msg.lParam);
            }
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    EXPECT_TRUE(received);
    DestroyWindow(listener);
}

}  // namespace
