#include "ui/windows/Notices.h"

#include "common/TarnelixResource.h"
#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {
namespace {

constexpr UINT_PTR kDisplayTimerId = 100;
constexpr UINT kDisplayTimeMs = 5000;
constexpr UINT_PTR kReminderTimerId = 101;
constexpr UINT kReminderPeriodMs = 60000;

Rect WorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return Rect{area.left, area.top, area.right, area.bottom};
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Outer size minus client size: what the window adds around its picture.
SIZE FrameSize(HWND window) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    return SIZE{(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

Placement PlacementFor(HWND window, HBITMAP bitmap, const Rect& workArea) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    const SIZE frame = FrameSize(window);
    return PlaceFromBitmap(workArea, info.bmWidth, info.bmHeight, frame.cx, frame.cy);
}

}  // namespace

// ---- Kill notice ------------------------------------------------------------

CKillNotice::CKillNotice(const ISkinSource& skin) : CDialog(IDD_KILL_NOTICE), skin(skin) {
    skin.LoadSkinBitmap(bitmap, "Msn.bmp");
}

CKillNotice::~CKillNotice() {
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

BOOL CKillNotice::OnInitDialog() {
    // A title to be found by, never drawn: the window has no caption bar.
    SetWindowTextA(hwnd, "Tarnelix Kill Notice");
    workArea = WorkArea();
    PlaceFromWorkArea(false);
    return FALSE;
}

void CKillNotice::PlaceFromWorkArea(bool fullHeight) {
    if (bitmap == nullptr) {
        return;
    }
    const Placement place = PlacementFor(hwnd, bitmap, workArea);
    SetWindowPos(hwnd, nullptr, place.x, place.y, place.width, fullHeight ? place.height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void CKillNotice::ShowForKill() {
    const Rect now = WorkArea();
    if (!SameRect(now, workArea)) {
        workArea = now;
        PlaceFromWorkArea(true);
    }
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

void CKillNotice::SlideStep(SlideState& slide) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    const SlideResult step = tarnelix::SlideStep(slide, IsVisible(), WorkArea(), window.right - window.left);
    if (step.place) {
        SetWindowPos(hwnd, HWND_TOPMOST, step.placement.x, step.placement.y, step.placement.width,
                     step.placement.height, SWP_NOACTIVATE);
    }
    if (step.hide) {
        ShowWindow(hwnd, SW_HIDE);
    }
}

bool CKillNotice::OnMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (msg != WM_ERASEBKGND) {
        return false;
    }
    // A picture that failed to load is tried again at every repaint.
    if (bitmap == nullptr) {
        skin.LoadSkinBitmap(bitmap, "Msn.bmp");
    }
    return AnswerEraseWithBitmap(hwnd, wParam, bitmap, result);
}

// ---- Timed notice -------------------------------------------------------------

CNotification::CNotification(ISettings& settings, const IClock& clock, std::string notificationsFolder,
                             Parent parent)
    : CDialog(IDD_NOTIFICATION),
      gate(settings, clock),
      notificationsFolder(std::move(notificationsFolder)),
      parent(std::move(parent)) {}

CNotification::~CNotification() {
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

BOOL CNotification::OnInitDialog() {
    SetWindowTextA(hwnd, "Tarnelix Notice");
    SetTimer(hwnd, kReminderTimerId, kReminderPeriodMs, nullptr);
    return FALSE;
}

void CNotification::ShowNotice(NotificationKind kind) {
    const NoticeDecision decision = gate.Decide(kind, parent.isDisableChecked(), parent.counters());
    if (!decision.show) {
        return;
    }
    ShowWindow(Item(IDC_NOTICE_KILLS), SW_HIDE);
    ShowWindow(Item(IDC_NOTICE_RUNS), SW_HIDE);
    ShowLabels(decision);
    if (!LoadBitmap(decision.bitmapFile)) {
        return;
    }
    const Placement place = PlacementFor(hwnd, bitmap, WorkArea());
    SetWindowPos(hwnd, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    gate.Shown();
    keepHidden = false;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CNotification::ShowLabels(const NoticeDecision& decision) {
    if (!decision.showLabels) {
        return;
    }
    SetDlgItemTextA(hwnd, IDC_NOTICE_KILLS, decision.label1052.c_str());
    SetDlgItemTextA(hwnd, IDC_NOTICE_RUNS, decision.label1053.c_str());
    ShowWindow(Item(IDC_NOTICE_KILLS), SW_SHOWNA);
    ShowWindow(Item(IDC_NOTICE_RUNS), SW_SHOWNA);
}

bool CNotification::LoadBitmap(const std::string& file) {
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    const std::string path = notificationsFolder + file;
    bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    return bitmap != nullptr;
}

void CNotification::OnTimer(UINT_PTR timerId) {
    if (timerId == kDisplayTimerId) {
        ShowWindow(hwnd, SW_HIDE);
        KillTimer(hwnd, kDisplayTimerId);
        return;
    }
    if (timerId == kReminderTimerId) {
        for (NotificationKind kind : TimerTickKinds(parent.isOnline())) {
            ShowNotice(kind);
        }
    }
}

bool CNotification::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
        // Until the first notice, every attempt to show the window hides it.
        if (keepHidden) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if ((pos->flags & SWP_SHOWWINDOW) != 0) {
                pos->flags = (pos->flags & ~SWP_SHOWWINDOW) | SWP_HIDEWINDOW;
            }
        }
        return false;
    case WM_SHOWWINDOW:
        if (wParam != FALSE) {
            SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SetTimer(hwnd, kDisplayTimerId, kDisplayTimeMs, nullptr);
        }
        return false;
    case WM_ERASEBKGND:
        return AnswerEraseWithBitmap(hwnd, wParam, bitmap, result);
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<INT_PTR>(TransparentControlColour(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0)));
        return true;
    default:
        return false;
    }
}

}  // namespace tarnelix
