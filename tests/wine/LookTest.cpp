// What the user sees and touches of the real Tarnelix.exe: every page laid
// out against the skin, screenshots (kept as PNG by wine-run.sh), the
// colours of the XP-style button and the reports bars read back from the
// screen, the kill notice's slide, the tray icon, the sounds, the history
// page, the check boxes, the add-on protocol and the exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "HookHarness.h"
#include "support/WineTest.h"
#include "ui/style/ButtonStyle.h"

namespace {

using namespace tarnelix::style;
using winetest::ClientPixel;
using winetest::FindChildDialogWithControl;
using winetest::SaveWindowShot;
using winetest::SettingNumber;
using winetest::WriteSetting;

constexpr int kPingPhasorRadio = 1063;
constexpr POINT kGeneralTab{200, 30};
constexpr POINT kAddPopupsTab{320, 30};
constexpr POINT kAdvancedTab{270, 30};
constexpr POINT kHistoryTab{380, 30};
constexpr POINT kAllowedTab{430, 30};
constexpr POINT kReportsTab{490, 30};
constexpr POINT kSoundLink{300, 235};
std::string Text(HWND window) {
    char text[256] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Shown by its own style: IsWindowVisible also asks the parents.
bool HasVisibleStyle(HWND window) {
    return window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The window's rectangle in the client coordinates of `parent`.
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

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using winetest::WaitFor;

class Look : public ::testing::Test {
protected:
    // Each test starts from a first run: no settings, no list files.
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
        for (const char* file : {"AllowBanners.dat", "BlockedHistory.dat"}) {
            DeleteFileA((winetest::ProgramDir() + file).c_str());
            RemoveDirectoryA((winetest::ProgramDir() + file).c_str());  // planted to make saves fail
        }
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        if (main != nullptr && IsWindow(main)) {
            EXPECT_TRUE(winetest::ExitTarnelix(tarnelix, main));
        }
    }
    void Start() {
        main = winetest::StartTarnelix(tarnelix);
        ASSERT_NE(nullptr, main);
        winetest::PumpFor(400);  // initialisation, first sweep, timers
    }
    // Waits until the main window answers. A sent message overtakes posted
    // ones, so this does not prove that those were handled.
    bool Sync() {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    }
    void ShowOptions() {
        PostMessageA(main, WM_COMMAND, 32773, 0);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000));
        winetest::PumpFor(500);  // painting of the skin and the controls
    }
    void Click(POINT at) {
        PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        Sync();
        winetest::PumpFor(400);
    }
    // Opens a page by its tab; returns the page, found by one of its controls.
    HWND OpenPage(POINT tab, int controlId) {
        Click(tab);
        HWND page = FindChildDialogWithControl(main, controlId);
        EXPECT_TRUE(HasVisibleStyle(page)) << "page with control " << controlId;
        return page;
    }
    // A visible window that Tarnelix is told to kill, as the hook library
    // would report it. Tarnelix honours a report only for a window of a
    // watched program: a browser holds it open until it is closed.
    HWND MakeVictim(const char* title) {
        victims.push_back(std::make_unique<hooktest::Browser>());
        const std::string name = "victim" + std::to_string(victims.size());
        const auto script = hooktest::Script().Create(name, "Static", "0x90000000", title).Hold(name, 20000);
        return victims.back()->Start("IEXPLORE.EXE", script, name + ".out")
                   ? winetest::WaitForWindow("Static", title, 10000)
                   : nullptr;
    }
    void PostKill(HWND victim) {
        const UINT kill = RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW");
        PostMessageA(main, kill, 0, reinterpret_cast<LPARAM>(victim));
    }
    void KillOneVictim(const char* title) {
        const HWND victim = MakeVictim(title);
        PostKill(victim);
        EXPECT_TRUE(WaitFor([&] { return IsWindow(victim) == FALSE; }, 5000)) << "the kill closes " << title;
    }

    winetest::Process tarnelix;
    HWND main = nullptr;
    std::vector<std::unique_ptr<hooktest::Browser>> victims;
};


// Screen pixels are 24-bit under Xvfb, but the drawing goes through GDI
// colour matching: allow two steps per channel.
::testing::AssertionResult ColourNear(COLORREF actual, Rgb expected) {
    const Rgb got = FromColourRef(actual);
    const bool within =
        std::abs(got.r - expected.r) <= 2 && std::abs(got.g - expected.g) <= 2 && std::abs(got.b - expected.b) <= 2;
    return (within ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "screen shows " << std::hex << actual << ", expected " << ToColourRef(expected);
}

// A picture file of the skin, read pixel by pixel.
class Picture {
public:
    explicit Picture(const char* name)
        : bitmap(static_cast<HBITMAP>(
              LoadImageA(nullptr, (winetest::ReadTarnelixString("Settings", "SkinDir") + name).c_str(), IMAGE_BITMAP,
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

// The check box's middle row runs through a caption line painted to its
// right, and that line's ink is centred on the box within 4 pixels.
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
    return (ink(middle) && std::abs((top + bottom) / 2 - middle) <= 4 ? ::testing::AssertionSuccess()
                                                                       : ::testing::AssertionFailure())
           << "box rows " << box.top << ".." << box.bottom - 1 << ", caption ink rows " << top << ".." << bottom;
}

// One colour fills the rectangle in the picture, and the box's edge lies
// within 3 pixels of it on the left and on the right.
::testing::AssertionResult InsidePaintedBox(const Picture& skin, const RECT& r) {
    const COLORREF fill = skin.At(r.left, r.top);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (skin.At(x, y) != fill) {
                return ::testing::AssertionFailure() << "the box's edge crosses (" << x << "," << y << ")";
            }
        }
    }
    const int y = (r.top + r.bottom) / 2;
    const auto edge = [&](int x, int step) {
        return skin.At(x, y) != fill || skin.At(x + step, y) != fill || skin.At(x + 2 * step, y) != fill;
    };
    return (edge(r.left - 1, -1) && edge(r.right, 1) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "no edge beside row " << y;
}

::testing::AssertionResult Within(const RECT& inner, const RECT& outer) {
    const bool within = inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
                        inner.bottom <= outer.bottom;
    return (within ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << inner.left << "," << inner.top << ".." << inner.right << "," << inner.bottom << " in " << outer.left
           << "," << outer.top << ".." << outer.right << "," << outer.bottom;
}

// A link label lies inside its click rectangle, and its text, in the
// dialogs' "MS Sans Serif" 8, fits the label.
void ExpectLinkInside(HWND label, HWND parent, const RECT& clickable) {
    const RECT rect = RectIn(label, parent);
    EXPECT_TRUE(Within(rect, clickable)) << Text(label);
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, TRUE,
                             FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(screen, font);
    SIZE extent{};
    GetTextExtentPoint32A(screen, Text(label).c_str(), static_cast<int>(Text(label).size()), &extent);
    DeleteObject(SelectObject(screen, old));
    ReleaseDC(nullptr, screen);
    EXPECT_LE(extent.cx, rect.right - rect.left) << Text(label);
    EXPECT_LE(extent.cy, rect.bottom - rect.top) << Text(label);
}

// Every control of the page lies inside the page's 378 x 230 frame, and no
// two shown controls overlap.
void ExpectInsideItsFrame(HWND page) {
    RECT frame{};
    GetClientRect(page, &frame);
    EXPECT_TRUE(frame.right == 378 && frame.bottom == 230);
    std::vector<RECT> shown;
    for (HWND control = GetWindow(page, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        EXPECT_TRUE(Within(RectIn(control, page), frame)) << "control " << GetDlgCtrlID(control);
        for (const RECT& other : shown) {
            RECT both{}, rect = RectIn(control, page);
            EXPECT_FALSE(HasVisibleStyle(control) && IntersectRect(&both, &rect, &other))
                << "control " << GetDlgCtrlID(control) << " overlaps another";
        }
        if (HasVisibleStyle(control)) {
            shown.push_back(RectIn(control, page));
        }
    }
}

// A pointer move to a screen point, coming from a pixel aside: under load
// Wine sometimes drops the first move after a SetCursorPos.
void PointAt(POINT at) {
    for (const LONG dx : {-1L, 0L}) {
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dx = ((at.x + dx) * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
        move.mi.dy = (at.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &move, sizeof(move));
        winetest::PumpFor(100);
    }
}

// A real left click at a point of the window's client area, the pointer
// coming from another point of it.
void RealClick(HWND window, POINT from, POINT at) {
    ClientToScreen(window, &from);
    ClientToScreen(window, &at);
    PointAt(from);
    PointAt(at);
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, press, sizeof(INPUT));
    winetest::PumpFor(300);
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
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

bool HasCaption(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

// The walk through every page. It starts with the start-up notice, which
// shows 5 popups + 2 adware = 7 and 4 add-on runs. Three kills of the run
// then give the reports page a popup run bar of 3 × 122 / 8 = 45 pixels, its
// top at 200 - 45 = 155; the total stands at full height, 122 pixels from
// y 78.
TEST_F(Look, EveryPageFitsItsFrameTheCheckBoxesAndDigitsMeetTheirSkin) {
    WriteSetting("PopupCounter", "5");
    WriteSetting("AdwareCounter", "2");
    WriteSetting("VeilmarkCounter", "4");
    std::ofstream(winetest::ProgramDir() + "Adware.dat", std::ios::binary)
        << "spybar.exe TRUE Spy Bar\r\nquiet.exe FALSE Quiet Tool\r\ncoolsearch.exe TRUE CoolSearch Toolbar\r\n";
    Start();
    HWND notice = WaitForVisibleWindow("#32770", "Tarnelix Notice");
    ASSERT_NE(nullptr, notice);
    winetest::PumpFor(300);
    EXPECT_EQ("7", Text(GetDlgItem(notice, 1052)));
    EXPECT_EQ("4", Text(GetDlgItem(notice, 1053)));
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(notice, 1052)) && HasVisibleStyle(GetDlgItem(notice, 1053)));
    EXPECT_FALSE(HasCaption(notice));
    EXPECT_TRUE(SaveWindowShot(notice, "startup_notice"));
    for (const char* title : {"Prize Popup", "Casino Popup", "Survey Popup"}) {
        KillOneVictim(title);
    }
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
    std::string digits;
    for (int digit = 1012; digit >= 1007; --digit) {
        EXPECT_TRUE(InsidePaintedBox(skin, RectIn(GetDlgItem(main, digit), main))) << "digit " << digit;
        digits += Text(GetDlgItem(main, digit));
    }
    EXPECT_EQ("000010", digits) << "5 + 3 popups, 2 adware";
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
        EXPECT_TRUE(SaveWindowShot(main, page.shot));
    }
    // Every page the main window holds, whether the walk opened it or not.
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
    const RECT run = RectIn(GetDlgItem(reports, 1042), reports);
    const RECT total = RectIn(GetDlgItem(reports, 1041), reports);
    EXPECT_TRUE(run.left == 130 && run.top == 155 && run.right == 169 && run.bottom == 200);
    EXPECT_TRUE(total.left == 44 && total.top == 78 && total.right == 83 && total.bottom == 200);
    EXPECT_EQ("   3", Text(GetDlgItem(reports, 1042)));
    EXPECT_EQ("   8", Text(GetDlgItem(reports, 1041)));
    Click(kReportsTab);
    EXPECT_TRUE(ColourNear(ClientPixel(GetDlgItem(reports, 1042), 19, 30), {68, 103, 137})) << "below the caption";
}

// The face gradient seen on screen: its first and its last painted row carry
// the brushes the portable rules give for them (e.g. a face 19 high: rows
// 2..18, brushes 63 × 2 / 19 = 6 and 63 × 18 / 19 = 59). A pointer resting
// on the button turns its frame orange.
TEST_F(Look, StartButtonFaceShadesDownAndItsFrameTurnsOrangeUnderThePointer) {
    Start();
    ShowOptions();
    HWND button = GetDlgItem(main, 1040);
    RECT client{};
    GetClientRect(button, &client);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui);
    const bool emphasised = gui.hwndFocus == button;  // the default-button bit never reaches owner-draw
    const Rect face = FaceRect({0, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)},
                               GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    const std::vector<FaceRow> rows = FaceRows(face);
    ASSERT_GT(rows.size(), 2u);
    for (const FaceRow& row : {rows.front(), rows.back()}) {
        EXPECT_TRUE(ColourNear(ClientPixel(button, face.left + 2, row.y), FaceColour(row.brush, false, emphasised)))
            << "face row " << row.y;
    }
    EXPECT_TRUE(SaveWindowShot(button, "start_button"));

    const auto orange = [&] {
        return ColourNear(ClientPixel(button, face.left, (face.top + face.bottom) / 2), kHotFramePens.left.colour);
    };
    EXPECT_FALSE(orange()) << "before the pointer comes";
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(button, &centre);
    bool hot = false;
    for (int tries = 0; tries < 6 && !hot; ++tries) {
        PointAt(centre);
        hot = WaitFor([&] { return static_cast<bool>(orange()); }, 500);
    }
    EXPECT_TRUE(orange());
    EXPECT_TRUE(SaveWindowShot(button, "start_button_hot"));
    SetCursorPos(1, 1);
}

// Started disabled, so that no start-up notice stands in the way (a kill is
// not announced while the timed notice shows). The kill and a click on
// Disable reach the queue together while the program's thread is held, so
// timer 51 (handled only when no posted message waits) cannot tick in
// between; the test then drives the slide with posted ticks.
TEST_F(Look, KillNoticeSlidesUpToNinetyAndBackToFifteenOverTenTicksThenHides) {
    WriteSetting("Disable", DWORD{1});
    Start();
    HWND notice = winetest::WaitForWindow("#32770", "Tarnelix Kill Notice", 3000);
    ASSERT_NE(nullptr, notice);
    EXPECT_FALSE(HasCaption(notice));
    HWND disable = GetDlgItem(main, 1048);
    PostMessageA(disable, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("Disable") == 0; }, 3000)) << "protection on: timer 51 runs";
    winetest::PumpFor(400);
    // Wine keeps a process's first answer for the work area: ask now, as
    // Tarnelix does when it places the notice, before a taskbar may come.
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
    ASSERT_TRUE(WaitFor([&] { return IsWindow(victim) == FALSE; }, 3000));
    ASSERT_TRUE(IsWindowVisible(notice)) << "the kill shows the notice";

    const int expected[10] = {30, 45, 60, 75, 90, 75, 60, 45, 30, 15};
    for (int tick = 0; tick < 10; ++tick) {
        const RECT before = ScreenRect(notice);
        PostMessageA(main, WM_TIMER, 51, 0);
        // Every tick changes the height (or hides the notice): wait for it.
        WaitFor([&] { return ScreenRect(notice).top != before.top || !IsWindowVisible(notice); }, 3000);
        Sync();
        const RECT rect = ScreenRect(notice);
        EXPECT_EQ(expected[tick], rect.bottom - rect.top) << "tick " << tick + 1 << " is 15 x step";
        EXPECT_EQ(tick < 9, IsWindowVisible(notice) != FALSE) << "tick " << tick + 1;
        if (tick == 4) {
            winetest::PumpFor(200);
            EXPECT_TRUE(SaveWindowShot(notice, "kill_notice_full"));  // 90 = the picture's height
            // The visible part is the picture's top rows, from the window's
            // top-left corner on.
            HDC screen = GetDC(nullptr);
            EXPECT_TRUE(ColourNear(GetPixel(screen, rect.left + 10, rect.top + 5),
                                   FromColourRef(Picture("Msn.bmp").At(10, 5))));
            ReleaseDC(nullptr, screen);
        }
    }
    EXPECT_TRUE(ScreenRect(notice).bottom == work.bottom && ScreenRect(notice).right == work.right)
        << "flush with the work area's bottom right corner";
}

// True when the shell knows our icon: modifying succeeds only for an icon
// it holds.
bool IconExists(HWND trayWindow, DWORD message = NIM_MODIFY) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = trayWindow;
    data.uID = 142;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

// One icon through its life: the right-click menu (Wine keeps menus in the
// process that made them, so "Disable" checked, "Show Options" in bold and
// "Veilmark" grayed are checked on the screenshot), a single click that
// does nothing, the double click that shows the hidden main window, and a
// work-area change after which the shell refuses a second add: the icon
// stays shown, so a restarted taskbar gets it back.
TEST_F(Look, TrayIconOpensItsMenuShowsTheWindowAndOutlivesAWorkAreaChangeAndATaskbarRestart) {
    constexpr UINT kTrayCallback = 0x800A;
    WriteSetting("Disable", DWORD{1});
    Start();
    HWND tray = FindWindowA("TarnelixTrayWindow", nullptr);
    ASSERT_NE(nullptr, tray);
    SetCursorPos(300, 200);
    PostMessageA(tray, kTrayCallback, 142, WM_RBUTTONUP);
    HWND menu = WaitForVisibleWindow("#32768", nullptr);
    ASSERT_NE(nullptr, menu);
    winetest::PumpFor(400);
    EXPECT_TRUE(SaveWindowShot(menu, "tray_menu"));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(menu) == FALSE; }, 3000)) << "Escape closes the menu";
    PostMessageA(tray, kTrayCallback, 142, WM_LBUTTONUP);
    winetest::PumpFor(500);
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

// The sound log, one played file per line; written in text mode.
std::string ReadLog(const std::string& path) {
    std::string lines = FileText(path);
    lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
    return lines;
}

// The sound page opens with a real click on its link and takes the very
// next click, on "Ping Phasor", although the link's region lies over it.
TEST_F(Look, StartChosenKillSoundAndExitArePlayedFromTheSoundFolder) {
    const std::string log = winetest::TestDir() + "sounds.log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("TARNELIX_SOUND_LOG", log.c_str());  // inherited by Tarnelix
    Start();
    SetEnvironmentVariableA("TARNELIX_SOUND_LOG", nullptr);
    const std::string folder = winetest::ReadTarnelixString("Settings", "SoundDir");
    std::string expected = "async " + folder + "on.wav\n";
    EXPECT_TRUE(WaitFor([&] { return ReadLog(log) == expected; }, 3000)) << ReadLog(log);

    ShowOptions();
    // Through the link's region into the label: the main window holds the
    // mouse from the region's first pixel on.
    RealClick(main, {kSoundLink.x, 246}, kSoundLink);
    HWND page = FindChildDialogWithControl(main, kPingPhasorRadio);
    ASSERT_TRUE(WaitFor([&] { return HasVisibleStyle(page); }, 3000)) << "the link opens the sound page";
    HWND radio = GetDlgItem(page, kPingPhasorRadio);
    const RECT rect = RectIn(radio, main);
    // On its caption, inside the link's region (x 226 on).
    RealClick(main, {rect.left + 40, rect.top + 2}, {rect.left + 40, (rect.top + rect.bottom) / 2});
    ASSERT_TRUE(WaitFor([] { return SettingNumber("SoundIndex") == 10; }, 3000)) << "\"Ping Phasor\" is sound 10";
    const std::string chosen = folder + "sound10.wav";
    EXPECT_EQ(chosen, winetest::ReadTarnelixString("Settings", "SoundFile"));
    EXPECT_EQ(BST_CHECKED, SendMessageA(radio, BM_GETCHECK, 0, 0));
    expected += "async " + chosen + "\n";  // the preview
    EXPECT_EQ(expected, ReadLog(log));
    SetCursorPos(1, 1);

    KillOneVictim("Noisy Popup");
    Sync();
    expected += "async " + chosen + "\n";  // the kill
    EXPECT_EQ(expected, ReadLog(log));
    ASSERT_TRUE(winetest::ExitTarnelix(tarnelix, main));
    main = nullptr;
    EXPECT_EQ(expected + "async " + folder + "off.wav\n", ReadLog(log));
}

// ---- Behaviour of the main window ----------------------------------------------------

std::string RunEntry() {
    char data[1024] = {};
    DWORD size = sizeof(data) - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarnelix",
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return data;
}

// A kill while the history page is open shows its title at once, so a
// selection made afterwards still names the title the user sees. The
// titles that "Allow " moves stay listed even though the allowed file
// cannot be saved.
TEST_F(Look, HistoryPageShowsAKillAtOnceAndActsOnTheSelectedTitles) {
    std::ofstream(winetest::ProgramDir() + "BlockedHistory.dat", std::ios::binary) << "BLK:beta\r\nBLK:Delta\r\n";
    CreateDirectoryA((winetest::ProgramDir() + "AllowBanners.dat").c_str(), nullptr);  // every save fails
    Start();
    HWND page = OpenPage(kHistoryTab, 1000);
    ASSERT_NE(nullptr, page);
    EXPECT_FALSE(HasVisibleStyle(GetDlgItem(main, 1043))) << "the general check boxes hide";
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1047))) << "AutoBlock stays on every page";
    HWND list = GetDlgItem(page, 1000);
    ASSERT_EQ(2, SendMessageA(list, LB_GETCOUNT, 0, 0));

    KillOneVictim("Alpha");
    Sync();
    ASSERT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0)) << "the killed window's title is listed";
    EXPECT_EQ("Alpha", ListText(list, 0));
    ASSERT_EQ("Delta", ListText(list, 2));
    SendMessageA(list, LB_SETSEL, TRUE, 2);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);  // "Remove"
    EXPECT_EQ("BLK:Alpha\r\nBLK:beta\r\n", FileText(winetest::ProgramDir() + "BlockedHistory.dat"));

    SendMessageA(list, LB_SETSEL, TRUE, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);  // "Allow "
    EXPECT_EQ("BLK:beta\r\n", FileText(winetest::ProgramDir() + "BlockedHistory.dat"));
    HWND allowed = GetDlgItem(FindChildDialogWithControl(main, 1004), 1004);
    ASSERT_EQ(1, SendMessageA(allowed, LB_GETCOUNT, 0, 0)) << "kept in memory when the save fails";
    EXPECT_EQ("Alpha", ListText(allowed, 0));
}

// One run through the main window's other answers: the add-popups tab
// refused while AutoBlock is on, the Run entry of "Start with Windows"
// (emptied, never deleted), cleaning runs of the add-on counted but its own
// broadcasts not, and the exit question: Cancel keeps the program, Ok ends
// it with the exit broadcast.
TEST_F(Look, MainWindowLocksAddPopupsWritesTheRunEntryCountsCleaningRunsAndAsksBeforeExit) {
    Start();
    Click(kAddPopupsTab);
    HWND box = winetest::WaitForWindow("#32770", "Message Info", 5000);
    ASSERT_NE(nullptr, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(box, 5000));
    EXPECT_FALSE(HasVisibleStyle(FindChildDialogWithControl(main, 1005)));

    HWND windowsStarts = GetDlgItem(main, 1043);
    for (const bool checked : {true, false}) {
        SendMessageA(windowsStarts, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(1043, BN_CLICKED), reinterpret_cast<LPARAM>(windowsStarts));
        EXPECT_EQ(checked ? winetest::ProgramDir() + "TarnelixCtrl.exe" : "", RunEntry());
    }

    const UINT run = RegisterWindowMessageA("WM_TARNELIX_PRIVACY_ADDON_RUN");
    PostMessageA(main, run, 2, 0);
    PostMessageA(main, run, 2, 0);
    PostMessageA(main, run, 2, reinterpret_cast<LPARAM>(main));  // as if from itself: skipped
    winetest::PumpFor(400);
    EXPECT_EQ("2", winetest::ReadTarnelixString("Settings", "VeilmarkCounter"));

    PostMessageA(main, WM_COMMAND, IDOK, 0);
    HWND question = winetest::WaitForWindow("#32770", "Message Info", 5000);
    ASSERT_NE(nullptr, question);
    winetest::PumpFor(400);
    EXPECT_EQ("Are you sure you want to exit Tarnelix?", Text(GetDlgItem(question, 1050)));
    EXPECT_TRUE(winetest::SaveWindowShot(question, "message_box"));
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(question, 5000));
    EXPECT_TRUE(Sync() && tarnelix.Running());

    const UINT exitMessage = RegisterWindowMessageA("WM_TARNELIX_EXIT");
    HWND listener = CreateWindowExA(0, "Static", "exit listener", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    const HWND expected = main;
    ASSERT_TRUE(winetest::ExitTarnelix(tarnelix, main));
    main = nullptr;
    MSG msg{};
    bool received = false;
    for (DWORD start = GetTickCount(); !received && GetTickCount() - start < 3000; Sleep(10)) {
        received = PeekMessageA(&msg, listener, exitMessage, exitMessage, PM_REMOVE) != FALSE;
    }
    EXPECT_TRUE(received);
    EXPECT_EQ(reinterpret_cast<LPARAM>(expected), msg.lParam);
    DestroyWindow(listener);
}

}  // namespace
