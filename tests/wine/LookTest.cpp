// What the user sees and touches of the real Tarnelix.exe: the pages against
// the skin, screenshots, screen colours, the notice, tray, sounds and history.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "HookHarness.h"
#include "support/WineTest.h"
#include "ui/style/ButtonStyle.h"

namespace {

using namespace tarnelix::style;
using namespace winetest;

constexpr int kPingPhasorRadio = 1063;
constexpr POINT kGeneralTab{200, 30};
constexpr POINT kAddPopupsTab{320, 30};
constexpr POINT kAdvancedTab{270, 30};
constexpr POINT kHistoryTab{380, 30};
constexpr POINT kAllowedTab{430, 30};
constexpr POINT kReportsTab{490, 30};
constexpr POINT kSoundLink{300, 235};
constexpr UINT kTrayCallback = 0x800A;

// Shown by its own style (IsWindowVisible also asks the parents).
bool HasVisibleStyle(HWND window) {
    return window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The window's rectangle in the client coordinates of `parent` (null: the screen).
RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Wine marshals list-box texts across processes in their wide form.
std::string ListText(HWND list, int index) {
    wchar_t wide[256] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide));
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    return text;
}

class Look : public TarnelixTest {
protected:
    void SetUp() override {
        TarnelixTest::SetUp();
        SetCursorPos(1, 1);
    }
    void ShowOptions() {
        PostMessageA(main, WM_COMMAND, 32773, 0);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000));
        PumpFor(500);  // the skin and the controls paint
    }
    void Click(POINT at) {
        PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        Sync();
        PumpFor(400);
    }
    // Opens a page by its tab; returns the page, found by one of its controls.
    HWND OpenPage(POINT tab, int controlId) {
        Click(tab);
        HWND page = FindChildDialogWithControl(main, controlId);
        EXPECT_TRUE(HasVisibleStyle(page)) << "page with control " << controlId;
        return page;
    }
    // A window of a watched program, held open until it is closed.
    HWND MakeVictim(const char* title) {
        victims.push_back(std::make_unique<hooktest::Browser>());
        const std::string name = "victim" + std::to_string(victims.size());
        const auto script = hooktest::Script().Create(name, "Static", "0x90000000", title).Hold(name, 20000);
        return victims.back()->Start("IEXPLORE.EXE", script, name + ".out")
                   ? WaitForWindow("Static", title, 10000)
                   : nullptr;
    }
    void PostKill(HWND victim) {
        PostMessageA(main, RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW"), 0, reinterpret_cast<LPARAM>(victim));
    }
    void KillOneVictim(const char* title) {
        const HWND victim = MakeVictim(title);
        PostKill(victim);
        EXPECT_TRUE(WaitUntilGone(victim, 5000)) << "the kill closes " << title;
    }
    std::vector<std::unique_ptr<hooktest::Browser>> victims;
};

::testing::AssertionResult Verdict(bool ok) { return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure(); }

// GDI colour matching: two steps per channel.
::testing::AssertionResult ColourNear(COLORREF actual, Rgb expected) {
    const Rgb got = FromColourRef(actual);
    return Verdict(std::abs(got.r - expected.r) <= 2 && std::abs(got.g - expected.g) <= 2 &&
                   std::abs(got.b - expected.b) <= 2)
           << "screen shows " << std::hex << actual << ", expected " << ToColourRef(expected);
}

// A picture file of the skin, read pixel by pixel.
class Picture {
public:
    explicit Picture(const char* name)
        : bitmap(static_cast<HBITMAP>(
              LoadImageA(nullptr, (ReadTarnelixString("Settings", "SkinDir") + name).c_str(), IMAGE_BITMAP,
                         0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))),
          old(SelectObject(dc, bitmap)) {}
    ~Picture() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    bool Ink(int x, int y) const { return GetRValue(At(x, y)) + GetGValue(At(x, y)) + GetBValue(At(x, y)) < 300; }

private:
    HBITMAP bitmap;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old;
};

// The box's middle row crosses the caption painted to its right, whose ink
// is centred on the box within 4 pixels.
::testing::AssertionResult OnItsCaptionRow(const Picture& skin, const RECT& box) {
    const auto ink = [&](int y) {
        bool found = false;
        for (int x = box.right + 2; x < box.right + 80 && !found; ++x) found = skin.Ink(x, y);
        return found;
    };
    const int middle = (box.top + box.bottom) / 2;
    int top = middle, bottom = middle;
    while (ink(top - 1)) --top;
    while (ink(bottom + 1)) ++bottom;
    return Verdict(ink(middle) && std::abs((top + bottom) / 2 - middle) <= 4)
           << "box rows " << box.top << ".." << box.bottom - 1 << ", caption ink rows " << top << ".." << bottom;
}

// One colour fills the rectangle, and the box's edge lies within 3 pixels
// of it on either side.
::testing::AssertionResult InsidePaintedBox(const Picture& skin, const RECT& r) {
    const COLORREF fill = skin.At(r.left, r.top);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (skin.At(x, y) != fill) return ::testing::AssertionFailure() << "an edge crosses " << x << "," << y;
        }
    }
    const int y = (r.top + r.bottom) / 2;
    const auto edge = [&](int x, int step) {
        return skin.At(x, y) != fill || skin.At(x + step, y) != fill || skin.At(x + 2 * step, y) != fill;
    };
    return Verdict(edge(r.left - 1, -1) && edge(r.right, 1)) << "no edge beside row " << y;
}

::testing::AssertionResult Within(const RECT& inner, const RECT& outer) {
    return Verdict(inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
                   inner.bottom <= outer.bottom)
           << inner.left << "," << inner.top << ".." << inner.right << "," << inner.bottom << " in " << outer.left
           << "," << outer.top << ".." << outer.right << "," << outer.bottom;
}

// A link label lies inside its click rectangle; its text in "MS Sans Serif" 8 fits.
void ExpectLinkInside(HWND label, HWND parent, const RECT& clickable) {
    const RECT rect = RectIn(label, parent);
    const std::string text = WindowText(label);
    EXPECT_TRUE(Within(rect, clickable)) << text;
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, TRUE,
                             FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(screen, font);
    SIZE extent{};
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &extent);
    DeleteObject(SelectObject(screen, old));
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(extent.cx <= rect.right - rect.left && extent.cy <= rect.bottom - rect.top) << text;
}

// Every control lies inside the page's 378 x 230 frame; no two shown ones overlap.
void ExpectInsideItsFrame(HWND page) {
    RECT frame{};
    EXPECT_TRUE(GetClientRect(page, &frame) && frame.right == 378 && frame.bottom == 230);
    std::vector<RECT> shown;
    for (HWND control = GetWindow(page, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        EXPECT_TRUE(Within(RectIn(control, page), frame)) << "control " << GetDlgCtrlID(control);
        RECT both{}, rect = RectIn(control, page);
        for (const RECT& other : shown) {
            EXPECT_FALSE(HasVisibleStyle(control) && IntersectRect(&both, &rect, &other))
                << "control " << GetDlgCtrlID(control) << " overlaps another";
        }
        if (HasVisibleStyle(control)) shown.push_back(rect);
    }
}

HWND WaitForVisibleWindow(const char* className, const char* title) {
    HWND found = nullptr;
    WaitFor([&] {
        found = FindWindowExA(nullptr, nullptr, className, title);
        while (found != nullptr && !IsWindowVisible(found)) found = FindWindowExA(nullptr, found, className, title);
        return found != nullptr;
    }, 5000);
    return found;
}

bool HasCaption(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

// The start-up notice shows 5 + 2 = 7 and 4 add-on runs. Three kills give the
// reports page a run bar of 3 × 122 / 8 = 45 pixels, x 130 to 169, y 155 to 200.
TEST_F(Look, EveryPageFitsItsFrameTheCheckBoxesAndDigitsMeetTheirSkin) {
    WriteSetting("PopupCounter", "5");
    WriteSetting("AdwareCounter", "2");
    WriteSetting("VeilmarkCounter", "4");
    std::ofstream(ProgramDir() + "Adware.dat", std::ios::binary)
        << "spybar.exe TRUE Spy Bar\r\nquiet.exe FALSE Quiet Tool\r\ncoolsearch.exe TRUE CoolSearch Toolbar\r\n";
    Start();
    HWND notice = WaitForVisibleWindow("#32770", "Tarnelix Notice");
    ASSERT_NE(nullptr, notice);
    PumpFor(300);
    EXPECT_EQ("7", WindowText(GetDlgItem(notice, 1052)));
    EXPECT_EQ("4", WindowText(GetDlgItem(notice, 1053)));
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(notice, 1052)) && HasVisibleStyle(GetDlgItem(notice, 1053)));
    EXPECT_FALSE(HasCaption(notice));
    EXPECT_TRUE(SaveWindowShot(notice, "startup_notice"));
    for (const char* title : {"Prize Popup", "Casino Popup", "Survey Popup"}) KillOneVictim(title);
    PostMessageA(GetDlgItem(main, 1047), BM_CLICK, 0, 0);  // the add-popups page is refused otherwise
    ASSERT_TRUE(WaitFor([] { return SettingNumber("AutoBlock") == 0; }, 3000));
    ShowOptions();
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_TRUE(client.right == 578 && client.bottom == 375) << "385 x 231 dialog units at 6 x 13, as on Windows";
    EXPECT_TRUE(SaveWindowShot(main, "main_general"));
    const Picture skin("MainDlg.bmp");
    for (int box : {1043, 1044, 1045, 1046, 1048, 1047}) {
        EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, box))) << box;
        EXPECT_TRUE(Within(RectIn(GetDlgItem(main, box), main), RECT{2, 105, 380, 335})) << box;
        EXPECT_TRUE(OnItsCaptionRow(skin, RectIn(GetDlgItem(main, box), main))) << box;
    }
    for (int digit = 1012; digit >= 1007; --digit) {
        EXPECT_TRUE(InsidePaintedBox(skin, RectIn(GetDlgItem(main, digit), main))) << "digit " << digit;
    }
    EXPECT_EQ("000010", CounterDigits(main)) << "5 + 3 popups, 2 adware";
    ExpectLinkInside(GetDlgItem(main, 1028), main, RECT{226, 221, 361, 251});
    const struct {
        const char* shot;
        POINT at;
        int control;
    } pages[] = {{"page_history", kHistoryTab, 1000},     {"page_allowed", kAllowedTab, 1004},
                 {"page_add_popups", kAddPopupsTab, 1005}, {"page_reports", kReportsTab, 1042},
                 {"page_advanced", kAdvancedTab, 1027},    {"page_sound", kSoundLink, kPingPhasorRadio}};
    for (const auto& page : pages) {
        Click(kGeneralTab);  // the sound link answers on the general page
        ASSERT_NE(nullptr, OpenPage(page.at, page.control)) << page.shot;
        EXPECT_FALSE(HasVisibleStyle(GetDlgItem(main, 1043))) << "general check boxes hide on " << page.shot;
        EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1047))) << "AutoBlock stays on " << page.shot;
        EXPECT_TRUE(SaveWindowShot(main, page.shot));
    }
    for (HWND page = GetWindow(main, GW_CHILD); page != nullptr; page = GetWindow(page, GW_HWNDNEXT)) {
        char cls[16] = {};
        if (GetClassNameA(page, cls, sizeof(cls)) > 0 && std::string(cls) == "#32770") {
            SCOPED_TRACE(testing::Message() << "page with control " << GetDlgCtrlID(GetWindow(page, GW_CHILD)));
            ExpectInsideItsFrame(page);
        }
    }
    HWND sound = FindChildDialogWithControl(main, kPingPhasorRadio);
    ExpectLinkInside(GetDlgItem(sound, 1016), sound, RECT{11, 201, 151, 231});
    HWND reports = FindChildDialogWithControl(main, 1042);
    Click(kReportsTab);
    EXPECT_EQ("   3", WindowText(GetDlgItem(reports, 1042)));
    EXPECT_TRUE(ColourNear(ClientPixel(reports, 149, 185), {68, 103, 137})) << "the run bar, below its caption";
}

// True when the shell holds our icon (only then can it be modified).
bool IconExists(HWND trayWindow, DWORD message = NIM_MODIFY) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = trayWindow;
    data.uID = 142;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

// Started disabled: no start-up notice in the way. Kill and Disable are queued
// while the thread is held (no tick of timer 51 between); posted ticks drive the
// slide. Then the tray: its menu (see the screenshot), a single click doing
// nothing, the double click showing the window, the icon after a taskbar restart.
TEST_F(Look, KillNoticeSlidesAndHidesAndTheTrayIconOpensItsMenuAndOutlivesATaskbarRestart) {
    WriteSetting("Disable", DWORD{1});
    Start();
    HWND notice = WaitForWindow("#32770", "Tarnelix Kill Notice", 3000);
    ASSERT_NE(nullptr, notice);
    EXPECT_FALSE(HasCaption(notice));
    HWND disable = GetDlgItem(main, 1048);
    PostMessageA(disable, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("Disable") == 0; }, 3000)) << "protection on: timer 51 runs";
    PumpFor(400);
    // Wine keeps a process's first answer for the work area: ask before a taskbar may come.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND victim = MakeVictim("Slide Popup");
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main, nullptr));
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(thread));
    PostKill(victim);
    PostMessageA(disable, BM_CLICK, 0, 0);
    ResumeThread(thread);
    CloseHandle(thread);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("Disable") == 1; }, 3000)) << "protection off: timer 51 stops";
    ASSERT_TRUE(WaitUntilGone(victim, 3000));
    ASSERT_TRUE(IsWindowVisible(notice)) << "the kill shows the notice";
    const int expected[10] = {30, 45, 60, 75, 90, 75, 60, 45, 30, 15};
    for (int tick = 0; tick < 10; ++tick) {
        const RECT before = RectIn(notice, nullptr);
        PostMessageA(main, WM_TIMER, 51, 0);
        WaitFor([&] { return RectIn(notice, nullptr).top != before.top || !IsWindowVisible(notice); }, 3000);
        Sync();
        const RECT rect = RectIn(notice, nullptr);
        EXPECT_EQ(expected[tick], rect.bottom - rect.top) << "tick " << tick + 1 << " is 15 x step";
        EXPECT_EQ(tick < 9, IsWindowVisible(notice) != FALSE) << "tick " << tick + 1;
        EXPECT_TRUE(rect.bottom == work.bottom && rect.right == work.right) << "flush with the work area's corner";
        if (tick == 4) {
            PumpFor(200);
            EXPECT_TRUE(SaveWindowShot(notice, "kill_notice_full"));  // 90 = the picture's height
            // The visible part is the picture's top rows.
            HDC screen = GetDC(nullptr);
            EXPECT_TRUE(ColourNear(GetPixel(screen, rect.left + 10, rect.top + 5),
                                   FromColourRef(Picture("Msn.bmp").At(10, 5))));
            ReleaseDC(nullptr, screen);
        }
    }
    HWND tray = FindWindowA("TarnelixTrayWindow", nullptr);
    ASSERT_NE(nullptr, tray);
    SetCursorPos(300, 200);
    PostMessageA(tray, kTrayCallback, 142, WM_RBUTTONUP);
    HWND menu = WaitForVisibleWindow("#32768", nullptr);
    ASSERT_NE(nullptr, menu);
    PumpFor(400);
    EXPECT_TRUE(SaveWindowShot(menu, "tray_menu"));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(menu) == FALSE; }, 3000)) << "Escape closes the menu";
    PostMessageA(tray, kTrayCallback, 142, WM_LBUTTONUP);
    PumpFor(500);
    EXPECT_FALSE(IsWindowVisible(main)) << "neither Escape nor a single click runs a command";
    PostMessageA(tray, kTrayCallback, 142, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000)) << "\"Show Options\" ran";
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1043))) << "on the general page";
    SendMessageA(tray, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ASSERT_TRUE(IconExists(tray));
    ASSERT_TRUE(IconExists(tray, NIM_DELETE)) << "gone, as after a crash of the taskbar";
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IconExists(tray); }, 5000)) << "added again";
}

// A kill is listed at once on the open history page, in the system's
// case-blind order. The Run entry is emptied, never deleted. Two exit commands
// ask one question, and Cancel keeps Tarnelix running.
TEST_F(Look, HistoryListsAKillAtOnceTheRunEntryIsEmptiedAndTheExitAsksOnce) {
    std::ofstream(ProgramDir() + "BlockedHistory.dat", std::ios::binary) << "BLK:beta\r\nBLK:Delta\r\n";
    Start();
    HWND page = OpenPage(kHistoryTab, 1000);
    ASSERT_NE(nullptr, page);
    HWND list = GetDlgItem(page, 1000);
    ASSERT_EQ(2, SendMessageA(list, LB_GETCOUNT, 0, 0));
    KillOneVictim("Alpha");
    Sync();
    ASSERT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0)) << "the killed window's title is listed";
    EXPECT_EQ("Alpha", ListText(list, 0));
    EXPECT_EQ("Delta", ListText(list, 2));

    HWND windowsStarts = GetDlgItem(main, 1043);
    for (const bool checked : {true, false}) {
        SendMessageA(windowsStarts, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(1043, BN_CLICKED), reinterpret_cast<LPARAM>(windowsStarts));
        EXPECT_EQ(checked ? ProgramDir() + "TarnelixCtrl.exe" : "",
                  ReadUserString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarnelix", HKEY_LOCAL_MACHINE));
    }

    PostMessageA(main, WM_COMMAND, IDOK, 0);
    PostMessageA(main, WM_COMMAND, 57665, 0);  // the tray's Exit
    HWND question = WaitForWindow("#32770", "Message Info", 5000);
    ASSERT_NE(nullptr, question);
    PumpFor(400);
    EXPECT_EQ(question, FindWindowExA(nullptr, nullptr, "#32770", "Message Info"));
    EXPECT_EQ(nullptr, FindWindowExA(nullptr, question, "#32770", "Message Info")) << "one question";
    EXPECT_EQ("Are you sure you want to exit Tarnelix?", WindowText(GetDlgItem(question, 1050)));
    EXPECT_TRUE(SaveWindowShot(question, "message_box"));
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntilGone(question, 5000));
    EXPECT_TRUE(Sync() && tarnelix.Running());
}

}  // namespace
