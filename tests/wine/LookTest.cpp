// What the user sees of the real Tarnelix.exe: screenshots of its windows
// (kept as PNG by wine-run.sh), the colours of the XP-style button and the
// reports bars read back from the screen, the kill notice's slide, the tray
// icon and menu, and the sounds played from start to exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "HookHarness.h"
#include "support/WineTest.h"
#include "ui/core/ReportBars.h"
#include "ui/core/SoundChoice.h"
#include "ui/style/ButtonStyle.h"

namespace {

using winetest::ProgramDir;
using winetest::SaveWindowShot;

constexpr UINT kTrayCallback = 0x800A;
constexpr WPARAM kTrayIconId = 142;
constexpr UINT kShowOptions = 32773;
constexpr int kStartButton = 1040;
constexpr int kDisableBox = 1048;
constexpr int kPingPhasorRadio = 1063;
constexpr int kPopupRunBar = 1042;
constexpr int kPopupTotalBar = 1041;
constexpr UINT_PTR kMainTimer = 51;

// Client points of the main window's navigation.
constexpr POINT kGeneralTab{200, 30};
constexpr POINT kAddPopupsTab{320, 30};
constexpr POINT kHistoryTab{380, 30};
constexpr POINT kAllowedTab{430, 30};
constexpr POINT kReportsTab{490, 30};
constexpr POINT kSoundLink{300, 235};

const char kSettingsKey[] = "Software\\Corvantine\\Tarnelix\\Settings";

void WriteSetting(const char* value, const char* text) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, kSettingsKey, &key);
    RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

void WriteSetting(const char* value, DWORD number) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, kSettingsKey, &key);
    RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
}

DWORD SettingNumber(const char* value) {
    DWORD number = 12345;
    DWORD size = sizeof(number);
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, value, RRF_RT_REG_DWORD, nullptr, &number, &size);
    return number;
}

// The sound log, one played file per line; written in text mode, so the
// line ends are CR LF.
std::string ReadLog(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    std::string lines;
    for (char c : text) {
        if (c != '\r') {
            lines += c;
        }
    }
    return lines;
}

std::string Text(HWND window) {
    char text[256] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Shown by its own style: IsWindowVisible also asks the parents.
bool HasVisibleStyle(HWND window) {
    return window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

HWND FindChildDialogWithControl(HWND parent, int controlId) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, controlId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

// Polls (pumping this thread) until the condition holds; false on time-out.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        winetest::PumpFor(10);
    }
    return true;
}

// A visible top-level window of the class, or null on time-out.
HWND WaitForVisibleWindow(const char* className, const char* title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window = FindWindowExA(nullptr, nullptr, className, title); window != nullptr;
                 window = FindWindowExA(nullptr, window, className, title)) {
                if (IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

int Height(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// Screen pixels are 24-bit under Xvfb, but the drawing goes through GDI
// colour matching: allow two steps per channel.
::testing::AssertionResult ColourNear(COLORREF actual, tarnelix::style::Rgb expected) {
    const int dr = static_cast<int>(GetRValue(actual)) - expected.r;
    const int dg = static_cast<int>(GetGValue(actual)) - expected.g;
    const int db = static_cast<int>(GetBValue(actual)) - expected.b;
    if (std::abs(dr) <= 2 && std::abs(dg) <= 2 && std::abs(db) <= 2) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "screen shows (" << int(GetRValue(actual)) << "," << int(GetGValue(actual))
                                         << "," << int(GetBValue(actual)) << "), expected (" << int(expected.r) << ","
                                         << int(expected.g) << "," << int(expected.b) << ")";
}

// A pixel of a picture file, e.g. the kill notice's skin.
COLORREF PicturePixel(const std::string& path, int x, int y) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr) {
        return CLR_INVALID;
    }
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return colour;
}

// What the screen shows at a point of the window's outer rectangle.
COLORREF WindowPixel(HWND window, int x, int y) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, rect.left + x, rect.top + y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool HasCaption(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

// A mouse move to a screen point, as the user's hand would make it.
void MovePointerTo(int x, int y) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(move));
}

// The face of a button's client rectangle, with this system's edges.
tarnelix::style::Rect ButtonFace(const RECT& client) {
    const tarnelix::style::Rect item{static_cast<int>(client.left), static_cast<int>(client.top),
                                     static_cast<int>(client.right), static_cast<int>(client.bottom)};
    return tarnelix::style::FaceRect(item, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
}

// Receives nothing; a visible titled window of this process that Tarnelix
// can be told to kill. The kill's WM_SYSCOMMAND/SC_CLOSE destroys it when
// this thread pumps.
HWND MakeVictim(const char* title) {
    return CreateWindowExA(0, "Static", title, WS_POPUP | WS_VISIBLE, 10, 10, 120, 40, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

class Look : public ::testing::Test {
protected:
    // The registry and the list files are fresh for the program only: each
    // test of this program starts from a first run again.
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
        for (const char* file : {"AllowBanners.dat", "BlockedHistory.dat"}) {
            DeleteFileA((ProgramDir() + file).c_str());
        }
        SetEnvironmentVariableA("TARNELIX_SOUND_LOG", nullptr);
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        if (main != nullptr && IsWindow(main)) {
            EXPECT_TRUE(winetest::ExitTarnelix(tarnelix, main));
        }
        SetEnvironmentVariableA("TARNELIX_SOUND_LOG", nullptr);
    }
    void Start() {
        main = winetest::StartTarnelix(tarnelix);
        ASSERT_NE(nullptr, main);
        winetest::PumpFor(400);  // initialisation, first sweep, timers
    }
    // Waits until the main window answers again. A sent message overtakes
    // posted ones, so this does not prove that those were handled.
    bool Sync() {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    }
    void ShowOptions() {
        PostMessageA(main, WM_COMMAND, kShowOptions, 0);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000));
        winetest::PumpFor(500);  // painting of the skin and the controls
    }
    void Click(POINT at) {
        PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        Sync();
        winetest::PumpFor(400);
    }
    // Opens a page by its tab and returns the page, found by one of its
    // controls, once it shows.
    HWND OpenPage(POINT tab, int controlId) {
        Click(tab);
        HWND page = FindChildDialogWithControl(main, controlId);
        EXPECT_TRUE(HasVisibleStyle(page)) << "page with control " << controlId;
        return page;
    }
    HWND TrayWindow() const {
        DWORD pid = 0;
        for (HWND window = FindWindowExA(nullptr, nullptr, "TarnelixTrayWindow", nullptr); window != nullptr;
             window = FindWindowExA(nullptr, window, "TarnelixTrayWindow", nullptr)) {
            GetWindowThreadProcessId(window, &pid);
            if (pid == tarnelix.Id()) {
                return window;
            }
        }
        return nullptr;
    }
    // Creates a window in this process and has Tarnelix kill it as the hook
    // library would report it.
    void KillOneVictim(const char* title) {
        HWND victim = MakeVictim(title);
        ASSERT_NE(nullptr, victim);
        PostMessageA(main, RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW"), 0,
                     reinterpret_cast<LPARAM>(victim));
        EXPECT_TRUE(WaitFor([&] { return IsWindow(victim) == FALSE; }, 5000)) << "the kill closes " << title;
    }

    winetest::Process tarnelix;
    HWND main = nullptr;
};

// ---- Screenshots ---------------------------------------------------------------

using LookScreens = Look;

TEST_F(LookScreens, MainWindowShowsTheGeneralPageAndEveryOptionPage) {
    WriteSetting("AutoBlock", DWORD{0});  // the add-popups page is refused otherwise
    Start();
    ShowOptions();
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1043))) << "general check boxes show";
    EXPECT_TRUE(SaveWindowShot(main, "main_general"));

    OpenPage(kHistoryTab, 1000);
    EXPECT_FALSE(HasVisibleStyle(GetDlgItem(main, 1043))) << "general check boxes hide on a page";
    EXPECT_TRUE(SaveWindowShot(main, "page_history"));
    OpenPage(kAllowedTab, 1004);
    EXPECT_TRUE(SaveWindowShot(main, "page_allowed"));
    OpenPage(kAddPopupsTab, 1005);
    EXPECT_TRUE(SaveWindowShot(main, "page_add_popups"));
    OpenPage(kReportsTab, kPopupRunBar);
    EXPECT_TRUE(SaveWindowShot(main, "page_reports"));
    Click(kGeneralTab);  // no page: the general check boxes again
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1043)));
    OpenPage(kSoundLink, kPingPhasorRadio);
    EXPECT_TRUE(SaveWindowShot(main, "page_sound"));
}

TEST_F(LookScreens, StartUpNoticeShowsTotalKillsAndAddOnRuns) {
    WriteSetting("PopupCounter", "12");
    WriteSetting("AdwareCounter", "3");
    WriteSetting("VeilmarkCounter", "4");
    Start();
    HWND notice = WaitForVisibleWindow("#32770", "Tarnelix Notice", 5000);
    ASSERT_NE(nullptr, notice);
    winetest::PumpFor(300);
    EXPECT_EQ("15", Text(GetDlgItem(notice, 1052))) << "12 popups + 3 adware = 15";
    EXPECT_EQ("4", Text(GetDlgItem(notice, 1053)));
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(notice, 1052)));
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(notice, 1053)));
    EXPECT_TRUE(SaveWindowShot(notice, "startup_notice"));
    // KNOWN PRODUCT FAULT (fails until fixed): the CAPTION statement of
    // template 185 makes the resource compiler add WS_CAPTION, so the
    // notice gets a title bar above its picture.
    EXPECT_FALSE(HasCaption(notice)) << "the timed notice has no caption bar";
}

TEST_F(LookScreens, MessageBoxAsksBeforeExitAndCancelKeepsTheProgram) {
    Start();
    PostMessageA(main, WM_COMMAND, IDOK, 0);
    HWND box = WaitForVisibleWindow("#32770", "Message Info", 5000);
    ASSERT_NE(nullptr, box);
    winetest::PumpFor(400);
    EXPECT_EQ("Are you sure you want to exit Tarnelix?", Text(GetDlgItem(box, 1050)));
    EXPECT_TRUE(SaveWindowShot(box, "message_box"));
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(winetest::WaitUntilGone(box, 5000));
    EXPECT_TRUE(tarnelix.Running());
}

TEST_F(LookScreens, AddOnWindowCanBeShownAndShot) {
    winetest::Process addOn;
    ASSERT_TRUE(addOn.Start(ProgramDir() + "Veilmark-AddOn.exe"));
    HWND window = winetest::WaitForWindow("#32770", "Tarnelix-Veilmark", 10000);
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }, 3000));
    winetest::PumpFor(500);
    EXPECT_TRUE(SaveWindowShot(window, "addon_window"));
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    addOn.WaitForExit(3000);  // else ended by the destructor, by its handle
}

// ---- The XP-style Start button -----------------------------------------------------

using StartButton = Look;

// The face gradient seen on screen: its first row and its last painted row
// carry the brushes the portable rules give for them.
TEST_F(StartButton, FaceShadesFromItsTopRowToItsLastFaceRow) {
    Start();
    ShowOptions();
    HWND button = GetDlgItem(main, kStartButton);
    ASSERT_NE(nullptr, button);
    RECT client{};
    GetClientRect(button, &client);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui);
    const bool emphasised = gui.hwndFocus == button;  // the default-button bit never reaches owner-draw
    const tarnelix::style::Rect face = ButtonFace(client);
    const int faceHeight = face.bottom - face.top;
    // E.g. the 105 x 23 button of Wine's virtual screen with 2-pixel edges: face height 19, rows 2..18;
    // row 2 takes brush 63 × 2 / 19 = 6 → (253,253,254), row 18 brush
    // 63 × 18 / 19 = 59 → (236,236,244).
    const int topRow = face.top;
    const int lastRow = faceHeight - 1;
    ASSERT_GT(lastRow, topRow);
    const int x = face.left + 2;  // left of the centred caption, right of the rounded corner
    const auto topColour = tarnelix::style::FaceColour(tarnelix::style::FaceBrushIndex(topRow, faceHeight), false, emphasised);
    const auto lastColour =
        tarnelix::style::FaceColour(tarnelix::style::FaceBrushIndex(lastRow, faceHeight), false, emphasised);
    std::printf("Start button %ldx%ld, face height %d, focused %d, rows %d and %d\n", client.right, client.bottom,
                faceHeight, emphasised ? 1 : 0, topRow, lastRow);
    EXPECT_TRUE(ColourNear(winetest::ClientPixel(button, x, topRow), topColour)) << "top face row " << topRow;
    EXPECT_TRUE(ColourNear(winetest::ClientPixel(button, x, lastRow), lastColour)) << "last face row " << lastRow;
    EXPECT_TRUE(SaveWindowShot(button, "start_button"));
}

TEST_F(StartButton, FrameTurnsOrangeWhenThePointerRestsOnIt) {
    Start();
    ShowOptions();
    HWND button = GetDlgItem(main, kStartButton);
    ASSERT_NE(nullptr, button);
    RECT client{};
    GetClientRect(button, &client);
    const tarnelix::style::Rect face = ButtonFace(client);
    const int middleY = (face.top + face.bottom) / 2;
    EXPECT_FALSE(ColourNear(winetest::ClientPixel(button, face.left, middleY), tarnelix::style::kHotFramePens.left.colour))
        << "no orange before the pointer comes";

    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(button, &centre);
    // Real moves onto the button, so that it receives WM_MOUSEMOVE and
    // starts its hover tracking. Under load Wine sometimes drops the first
    // move after a SetCursorPos: move again, a pixel aside and back, until
    // the frame shows.
    const auto isOrange = [&] {
        return static_cast<bool>(
            ColourNear(winetest::ClientPixel(button, face.left, middleY), tarnelix::style::kHotFramePens.left.colour));
    };
    SetCursorPos(centre.x - 5, centre.y);
    bool orange = false;
    int moves = 0;
    while (moves < 6 && !orange) {
        MovePointerTo(centre.x - 1, centre.y);
        MovePointerTo(centre.x, centre.y);
        ++moves;
        orange = WaitFor(isOrange, 500);
    }
    std::printf("hot frame after %d pair(s) of moves\n", moves);
    EXPECT_TRUE(ColourNear(winetest::ClientPixel(button, face.left, middleY), {250, 196, 88}))
        << "left frame line at (" << face.left << "," << middleY << "), orange " << orange;
    EXPECT_TRUE(SaveWindowShot(button, "start_button_hot"));
    SetCursorPos(1, 1);
}

// ---- Reports bars ---------------------------------------------------------------------

using ReportsBars = Look;

TEST_F(ReportsBars, ThreeKillsOfTenStandThirtySixPixelsHigh) {
    WriteSetting("PopupCounter", "7");
    Start();
    std::vector<hooktest::BrowserWindow> windows;
    ASSERT_TRUE(hooktest::RunBrowser(
        "IEXPLORE.EXE", hooktest::Script().Frame("AdOne").Frame("AdTwo").Frame("AdThree").Wait(1500), windows));
    for (const auto& window : windows) {
        EXPECT_EQ(1, window.sysCloses) << window.name;
    }
    ASSERT_TRUE(WaitFor([] { return winetest::ReadTarnelixString("Settings", "PopupCounter") == "10"; }, 3000))
        << "7 + 3 kills";
    ShowOptions();
    HWND page = OpenPage(kReportsTab, kPopupRunBar);
    ASSERT_NE(nullptr, page);
    winetest::PumpFor(300);

    // The run bar: 3 × 122 / 10 = 36 pixels, top 200 - 36 = 164.
    Counters counters;
    counters.popupTotal = 10;
    counters.popupRun = 3;
    const tarnelix::BarGeometry expected = tarnelix::ComputeBar(1, counters);
    ASSERT_EQ(36, expected.height);
    HWND bar = GetDlgItem(page, kPopupRunBar);
    EXPECT_TRUE(HasVisibleStyle(bar));
    RECT rect{};
    GetWindowRect(bar, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(36, rect.bottom - rect.top);
    EXPECT_EQ(164, rect.top);
    EXPECT_EQ(130, rect.left);
    EXPECT_EQ(39, rect.right - rect.left);
    // Bottom middle of the bar, below the "   3" caption at its top left.
    EXPECT_TRUE(ColourNear(winetest::ClientPixel(bar, 19, 30), {68, 103, 137}));
    EXPECT_EQ("   3", Text(bar));

    // The total stands at full height: 122 pixels, top 200 - 122 = 78.
    HWND total = GetDlgItem(page, kPopupTotalBar);
    GetWindowRect(total, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(122, rect.bottom - rect.top);
    EXPECT_EQ(78, rect.top);
    EXPECT_EQ("   10", Text(total));
    EXPECT_TRUE(SaveWindowShot(main, "page_reports_3_of_10"));
}

// ---- Kill notice ------------------------------------------------------------------------

using KillNotice = Look;

TEST_F(KillNotice, SlidesUpToNinetyAndBackToFifteenOverTenTicksThenHides) {
    // Started disabled, so that no start-up notice stands in the way (a
    // kill is not announced while the timed notice shows).
    WriteSetting("Disable", DWORD{1});
    Start();
    HWND notice = winetest::WaitForWindow("#32770", "Tarnelix Kill Notice", 3000);
    ASSERT_NE(nullptr, notice);
    ASSERT_FALSE(IsWindowVisible(notice));
    // KNOWN PRODUCT FAULT (fails until fixed): template 165's CAPTION
    // statement adds WS_CAPTION; the slide then shows a title bar and only
    // the picture's rows below it.
    EXPECT_FALSE(HasCaption(notice)) << "the kill notice has no caption bar";
    HWND disable = GetDlgItem(main, kDisableBox);
    PostMessageA(disable, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("Disable") == 0; }, 3000)) << "protection on: timer 51 runs";
    winetest::PumpFor(400);

    HWND victim = MakeVictim("Slide Popup");
    ASSERT_NE(nullptr, victim);
    // The kill and the click on Disable must reach the queue together, so
    // that timer 51 (handled only when no posted message waits) cannot tick
    // in between: hold the program's thread while both are posted.
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main, nullptr));
    ASSERT_NE(nullptr, thread);
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(thread));
    PostMessageA(main, RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW"), 0, reinterpret_cast<LPARAM>(victim));
    PostMessageA(disable, BM_CLICK, 0, 0);
    ResumeThread(thread);
    CloseHandle(thread);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("Disable") == 1; }, 3000)) << "protection off: timer 51 stops";
    ASSERT_TRUE(WaitFor([&] { return IsWindow(victim) == FALSE; }, 3000));
    ASSERT_TRUE(IsWindowVisible(notice)) << "the kill shows the notice";
    const int before = Height(notice);
    std::printf("kill notice shown at height %d before the first tick\n", before);

    const int expected[10] = {30, 45, 60, 75, 90, 75, 60, 45, 30, 15};
    int previous = before;
    for (int tick = 0; tick < 10; ++tick) {
        PostMessageA(main, WM_TIMER, kMainTimer, 0);
        // Every tick changes the height (or hides the notice): wait for it.
        const bool moved =
            WaitFor([&] { return Height(notice) != previous || IsWindowVisible(notice) == FALSE; }, 3000);
        Sync();
        EXPECT_TRUE(moved) << "tick " << tick + 1;
        previous = Height(notice);
        EXPECT_EQ(expected[tick], previous) << "tick " << tick + 1 << " is 15 x step";
        if (tick < 9) {
            EXPECT_TRUE(IsWindowVisible(notice)) << "tick " << tick + 1;
        }
        if (tick == 4) {
            winetest::PumpFor(200);
            EXPECT_TRUE(SaveWindowShot(notice, "kill_notice_full"));  // 90 = the picture's height
            // The visible part is the picture's top rows, from the window's
            // top-left corner on.
            const std::string picture = winetest::ReadTarnelixString("Settings", "SkinDir") + "Msn.bmp";
            const COLORREF pictureColour = PicturePixel(picture, 10, 5);
            ASSERT_NE(CLR_INVALID, pictureColour) << picture;
            EXPECT_TRUE(ColourNear(WindowPixel(notice, 10, 5), tarnelix::style::FromColourRef(pictureColour)))
                << "the visible rows are the top of the picture";
        }
    }
    EXPECT_FALSE(IsWindowVisible(notice)) << "the tenth tick hides it after placing it at 15";
    RECT rect{};
    GetWindowRect(notice, &rect);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.bottom, rect.bottom) << "flush with the work area's bottom";
    EXPECT_EQ(work.right, rect.right);
}

// ---- Tray icon and menu -------------------------------------------------------------------

using Tray = Look;

// True when the shell knows our icon: modifying succeeds only for an icon
// it holds.
bool IconExists(HWND trayWindow) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = trayWindow;
    data.uID = static_cast<UINT>(kTrayIconId);
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, "Tarnelix 3.0", sizeof(data.szTip));
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

TEST_F(Tray, RightClickMenuHasShowOptionsDefaultDisableCheckedVeilmarkGrayed) {
    WriteSetting("Disable", DWORD{1});
    Start();
    HWND tray = TrayWindow();
    ASSERT_NE(nullptr, tray);
    SetCursorPos(300, 200);
    PostMessageA(tray, kTrayCallback, kTrayIconId, WM_RBUTTONUP);
    HWND menuWindow = WaitForVisibleWindow("#32768", nullptr, 5000);
    ASSERT_NE(nullptr, menuWindow);
    winetest::PumpFor(400);
    EXPECT_TRUE(SaveWindowShot(menuWindow, "tray_menu"));

    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    const int count = menu != nullptr ? GetMenuItemCount(menu) : -1;
    if (count < 0) {
        // Wine keeps menus in the process that made them: the handle means
        // nothing here. The screenshot shows the three marks instead.
        std::printf("tray menu %p not readable from another process under Wine; see tray_menu.png\n",
                    static_cast<void*>(menu));
    } else {
        EXPECT_EQ(8, count);
        EXPECT_EQ(0u, GetMenuDefaultItem(menu, TRUE, 0)) << "\"Show Options\" is the default";
        EXPECT_NE(0u, GetMenuState(menu, 32774, MF_BYCOMMAND) & MF_CHECKED) << "\"Disable\" checked";
        EXPECT_NE(0u, GetMenuState(menu, 32775, MF_BYCOMMAND) & MF_GRAYED) << "\"Veilmark\" grayed";
    }

    PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!WaitFor([&] { return IsWindowVisible(menuWindow) == FALSE; }, 3000)) {
        PostMessageA(main, WM_CANCELMODE, 0, 0);
    }
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(menuWindow) == FALSE; }, 3000)) << "Escape closes the menu";
    EXPECT_TRUE(Sync()) << "the program answers again after the menu";
    EXPECT_FALSE(IsWindowVisible(main)) << "closing the menu runs no command";
}

TEST_F(Tray, DoubleClickShowsTheHiddenMainWindowAndASingleClickDoesNothing) {
    Start();
    HWND tray = TrayWindow();
    ASSERT_NE(nullptr, tray);
    ASSERT_FALSE(IsWindowVisible(main));
    PostMessageA(tray, kTrayCallback, kTrayIconId, WM_LBUTTONUP);
    winetest::PumpFor(500);
    EXPECT_FALSE(IsWindowVisible(main)) << "a single click does nothing";
    PostMessageA(tray, kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000)) << "\"Show Options\" ran";
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(main, 1043))) << "on the general page";
}

TEST_F(Tray, IconComesBackWhenTheTaskbarIsCreatedAgain) {
    Start();
    HWND tray = TrayWindow();
    ASSERT_NE(nullptr, tray);
    ASSERT_TRUE(IconExists(tray)) << "the icon is in the notification area after start-up";
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = tray;
    data.uID = static_cast<UINT>(kTrayIconId);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(IconExists(tray)) << "gone, as after a crash of the taskbar";
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IconExists(tray); }, 5000)) << "added again";
}

// ---- Sounds ---------------------------------------------------------------------------------

using Sounds = Look;

TEST_F(Sounds, StartChosenKillSoundAndExitArePlayedFromTheSoundFolder) {
    const std::string log = winetest::TestDir() + "sounds.log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("TARNELIX_SOUND_LOG", log.c_str());  // inherited by Tarnelix
    Start();
    const std::string folder = winetest::ReadTarnelixString("Settings", "SoundDir");
    ASSERT_NE("<missing>", folder);
    std::string expected = "async " + folder + "on.wav\n";
    EXPECT_EQ(expected, ReadLog(log));

    HWND page = OpenPage(kSoundLink, kPingPhasorRadio);
    ASSERT_NE(nullptr, page);
    PostMessageA(GetDlgItem(page, kPingPhasorRadio), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([] { return SettingNumber("SoundIndex") == 10; }, 3000)) << "\"Ping Phasor\" is sound 10";
    const std::string chosen = folder + "sound10.wav";
    EXPECT_EQ(tarnelix::BuiltInSoundPath(folder, 10), chosen);
    EXPECT_EQ(chosen, winetest::ReadTarnelixString("Settings", "SoundFile"));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(page, kPingPhasorRadio), BM_GETCHECK, 0, 0));
    expected += "async " + chosen + "\n";  // the preview
    EXPECT_EQ(expected, ReadLog(log));

    KillOneVictim("Noisy Popup");
    Sync();
    expected += "async " + chosen + "\n";  // the kill
    EXPECT_EQ(expected, ReadLog(log));

    ASSERT_TRUE(winetest::ExitTarnelix(tarnelix, main));
    main = nullptr;
    expected += "async " + folder + "off.wav\n";
    EXPECT_EQ(expected, ReadLog(log));
}

}  // namespace
