#include "ui/windows/OptionPages.h"

#include <commdlg.h>
#include <windowsx.h>

#include "common/AppSettings.h"
#include "common/TarnelixResource.h"
#include "ui/core/SoundChoice.h"
#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {
namespace {

constexpr UINT_PTR kReportsTimerId = 1;
constexpr UINT kReportsRefreshMs = 3000;
constexpr int kBarIds[4] = {IDC_REPORT_BAR_POPUP_TOTAL, IDC_REPORT_BAR_POPUP_RUN, IDC_REPORT_BAR_ADWARE_TOTAL,
                            IDC_REPORT_BAR_ADWARE_RUN};
constexpr COLORREF kBarColour = RGB(68, 103, 137);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRadioTextColour = RGB(70, 130, 180);
constexpr COLORREF kLinkColour = 0xCFFFFF;
constexpr char kOwnSoundDialogTitle[] = "Open - Tarnelix Online";
static_assert(kSoundRadioFirstId == IDC_SOUND_FIRST && kSoundRadioLastId == IDC_SOUND_OWN);

HCURSOR HandCursor() {
    HCURSOR hand = LoadCursorA(ResourceInstance(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    return hand != nullptr ? hand : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
}

}  // namespace

// ---- Skinned page ---------------------------------------------------------------

CSkinnedPage::CSkinnedPage(int templateId, const ISkinSource& skin, const char* bitmapName) : CDialog(templateId) {
    skin.LoadSkinBitmap(bitmap, bitmapName);
}

CSkinnedPage::~CSkinnedPage() {
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

bool CSkinnedPage::OnMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) {
    return msg == WM_ERASEBKGND && AnswerEraseWithBitmap(hwnd, wParam, bitmap, result);
}

// ---- Reports page ------------------------------------------------------------------

CReports::CReports(const ISkinSource& skin, MainWindow mainWindow)
    : CSkinnedPage(IDD_REPORTS, skin, "Reports.bmp"), mainWindow(std::move(mainWindow)) {}

BOOL CReports::OnInitDialog() {
    for (size_t i = 0; i < bars.size(); ++i) {
        bars[i].Attach(hwnd, kBarIds[i]);
        bars[i].SetBackColour(kBarColour, 0, false).SetForeColour(kWhite);
        ShowWindow(Item(kBarIds[i]), SW_HIDE);
    }
    resetButton.Attach(hwnd, IDC_RESET_COUNTERS);
    Refresh();
    SetTimer(hwnd, kReportsTimerId, kReportsRefreshMs, nullptr);
    return FALSE;
}

void CReports::Refresh() {
    const Counters counters = mainWindow.counters();
    for (int bar = 0; bar < 4; ++bar) {
        const BarGeometry geometry = ComputeBar(bar, counters);
        HWND control = Item(kBarIds[bar]);
        if (!shown.NeedsUpdate(bar, geometry.value)) {
            continue;
        }
        if (!geometry.visible) {
            ShowWindow(control, SW_HIDE);
            continue;
        }
        bars[static_cast<size_t>(bar)].SetCaption(geometry.caption);
        ShowWindow(control, SW_SHOW);
        MoveWindow(control, geometry.left, geometry.top, geometry.width, geometry.height, TRUE);
    }
}

bool CReports::OnCommand(int id, int, HWND) {
    if (id != IDC_RESET_COUNTERS) {
        return false;
    }
    mainWindow.resetCounters();
    Refresh();
    return true;
}

void CReports::OnTimer(UINT_PTR) {
    if (IsWindowVisible(hwnd)) {
        Refresh();
    }
}

bool CReports::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_SHOWWINDOW:
        if (wParam != FALSE) {
            Refresh();
        }
        return false;
    case WM_CTLCOLORBTN:
        if (reinterpret_cast<HWND>(lParam) != Item(IDC_RESET_COUNTERS)) {
            return false;
        }
        result = reinterpret_cast<INT_PTR>(TransparentControlColour(reinterpret_cast<HDC>(wParam), std::nullopt));
        return true;
    case WM_DRAWITEM:
        result = TRUE;
        return CXPButton::HandleDrawItem(lParam);
    default:
        return CSkinnedPage::OnMessage(msg, wParam, lParam, result);
    }
}

// ---- Sound page --------------------------------------------------------------------

CSound::CSound(const ISkinSource& skin, ISettings& settings, ISoundPlayer& player, std::string soundFolder,
               MainWindow mainWindow)
    : CSkinnedPage(IDD_SOUND, skin, "Sound.bmp"),
      settings(settings),
      player(player),
      soundFolder(std::move(soundFolder)),
      mainWindow(std::move(mainWindow)) {}

BOOL CSound::OnInitDialog() {
    backLink.Attach(hwnd, IDC_BACK_LINK);
    backLink.SetClickable(true, false).SetForeColour(kLinkColour).SetUnderlined(true).SetSeeThrough(true);
    backLink.SetHoverCursor(HandCursor());
    if (const std::optional<int> radio = RadioForIndex(ReadSetting(settings, kSoundIndexSetting))) {
        CheckDlgButton(hwnd, *radio, BST_CHECKED);
    }
    return FALSE;
}

bool CSound::OnCommand(int id, int notifyCode, HWND) {
    if (id == IDC_BACK_LINK && notifyCode == STN_CLICKED) {
        // A press on the link itself: the label lies inside the back-link
        // rectangle, so it counts as a press there.
        mainWindow.showGeneralPage();
        return true;
    }
    const std::optional<int> index = IndexForRadio(id);
    if (notifyCode != BN_CLICKED || !index) {
        return false;
    }
    if (*index == kOwnSoundIndex) {
        if (PickOwnSound()) {
            Select(kOwnSoundIndex);
        }
    } else if (IsDlgButtonChecked(hwnd, id) == BST_CHECKED) {
        Select(*index);
    }
    return true;
}

void CSound::Select(int index) {
    const std::string path = StoreSoundChoice(settings, soundFolder, ownSound, index);
    mainWindow.setKillSound(path);
    if (!path.empty()) {
        player.PlayAsync(path);
    }
}

bool CSound::PickOwnSound() {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = hwnd;
    dialog.lpstrFilter = "WAV Files (*.wav)\0*.wav\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.lpstrDefExt = "wav";
    dialog.lpstrTitle = kOwnSoundDialogTitle;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) {
        return false;
    }
    ownSound = file;
    return true;
}

void CSound::OnMouseMove(int x, int y) {
    const bool over = IsOnBackLink(x, y);
    if (over == overLink) {
        return;
    }
    overLink = over;
    if (over) {
        SetCursor(HandCursor());
        SetCapture(hwnd);
    } else {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        ReleaseCapture();
    }
}

bool CSound::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return false;
    case WM_LBUTTONDOWN:
        if (IsOnBackLink(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
            mainWindow.showGeneralPage();
        }
        return false;
    case WM_CAPTURECHANGED:
        // The main window releases the capture when it changes pages.
        overLink = false;
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        if (!IndexForRadio(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) {
            return false;
        }
        result = reinterpret_cast<INT_PTR>(TransparentControlColour(reinterpret_cast<HDC>(wParam), kRadioTextColour));
        return true;
    }
    default:
        return CSkinnedPage::OnMessage(msg, wParam, lParam, result);
    }
}

}  // namespace tarnelix
