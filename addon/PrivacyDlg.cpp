#include "addon/PrivacyDlg.h"

#include <commctrl.h>
#include <optional>
#include <shellapi.h>
#include <shlobj.h>

#include "common/Messages.h"
#include "common/ProgramIdentity.h"
#include "common/VeilmarkResource.h"
#include "addon/win32/TraceAdapters.h"
#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {
namespace {

// The add-on reads its background from a fixed place below its own folder,
// not from the main program's skin setting.
constexpr char kSkinFile[] = "Skin\\Default\\Veilmark-AddOn.bmp";
constexpr DWORD kPathCapacity = 1024;

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) {
        return "";  // the sweep of an empty path does nothing
    }
    return path;
}

std::string WindowsTempFolder() {
    char path[kPathCapacity] = "%WINDIR%\\Temp";
    DoEnvironmentSubstA(path, kPathCapacity);
    return path;
}

WindowId IdOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

HWND HwndOf(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

}  // namespace

CPrivacyDlg::CPrivacyDlg(PendingSettings& settings)
    : CDialog(IDD_PRIVACY_DIALOG),
      settings(settings),
      saveWatch("Veilmark",
                {{kKeptSitesFileName, [this] { return keptSites != nullptr && keptSites->Unsaved(); },
                  [this] { keptSites->SaveKeptSites(); }},
                 {kSettingsFaultName, [this] { return this->settings.HasPending(); },
                  [this] { this->settings.RetryPending(); }}}) {
    char path[kProgramPathCapacity] = {};
    GetModuleFileNameA(nullptr, path, kProgramPathCapacity - 1);
    programFolder = ProgramFolderFromPath(path);
    paths.history = SpecialFolder(CSIDL_HISTORY);
    paths.internetCache = SpecialFolder(CSIDL_INTERNET_CACHE);
    paths.recentDocuments = SpecialFolder(CSIDL_RECENT);
    paths.windowsTemp = WindowsTempFolder();
    listPath = programFolder + kKeptSitesFileName;
    icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_VEILMARK));
    skin = static_cast<HBITMAP>(LoadImageA(nullptr, (programFolder + kSkinFile).c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    hollowBrush = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

CPrivacyDlg::~CPrivacyDlg() {
    if (skin != nullptr) {
        DeleteObject(skin);
    }
}

void CPrivacyDlg::RegisterMessages() {
    messages.disable = RegisterWindowMessageA(kDisableMessage);
    messages.exit = RegisterWindowMessageA(kExitMessage);
    messages.showPrivacyAddOn = RegisterWindowMessageA(kShowPrivacyAddOnMessage);
    messages.privacyAddOnRun = RegisterWindowMessageA(kPrivacyAddOnRunMessage);
}

BOOL CPrivacyDlg::OnInitDialog() {
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    for (auto [button, id] : {std::pair{&okButton, IDOK}, {&cancelButton, IDCANCEL}, {&addButton, IDC_ADD_SITE},
                              {&removeButton, IDC_REMOVE_SITE}}) {
        button->Attach(hwnd, id);
    }
    RegisterMessages();
    siteList = std::make_unique<Win32SiteListView>(Item(IDC_KEPT_SITES_LIST));
    siteList->SetUp();
    keptSites = std::make_unique<CKeptSites>(*siteList, store, compare, listPath);
    keptSites->LoadKeptSites();
    LoadCheckBoxes();
    protocol.Start();
    return TRUE;
}

void CPrivacyDlg::LoadCheckBoxes() {
    for (const CleaningStepInfo& step : kCleaningSteps) {
        const bool ticked = settings.GetProfileInt(kAddOnSettingsSection, step.setting, 1) != 0;
        CheckDlgButton(hwnd, step.checkBoxId, ticked ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CPrivacyDlg::StoreCheckBox(int id) {
    for (const CleaningStepInfo& step : kCleaningSteps) {
        if (step.checkBoxId == id) {
            const bool ticked = IsDlgButtonChecked(hwnd, id) == BST_CHECKED;
            settings.WriteProfileInt(kAddOnSettingsSection, step.setting, ticked ? 1 : 0);
            CheckSaves();
        }
    }
}

void CPrivacyDlg::CheckSaves() {
    if (const std::optional<std::string> text = saveWatch.Check(boxOpen)) {
        // Timers fire on inside the box; the flag keeps a second one away.
        boxOpen = true;
        MessageBoxA(hwnd, text->c_str(), "Veilmark", MB_OK | MB_ICONWARNING);
        boxOpen = false;
    }
}

void CPrivacyDlg::OnAddSite() {
    HWND edit = Item(IDC_SITE_EDIT);
    if (keptSites->AddSite(WindowText(edit)) != AddSiteResult::Empty) {
        SetWindowTextA(edit, "");
        SetFocus(edit);
    }
    CheckSaves();
}

void CPrivacyDlg::OnRemoveSite() {
    keptSites->RemoveSelectedSites();
    SetFocus(Item(IDC_SITE_EDIT));
    CheckSaves();
}

void CPrivacyDlg::RepaintUnderSiteEdit() {
    // The edit box has no background of its own over the skin: without a
    // fresh background its old text would stay visible behind the new one.
    RECT area{};
    GetWindowRect(Item(IDC_SITE_EDIT), &area);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(hwnd, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool CPrivacyDlg::OnCommand(int id, int notifyCode, HWND) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
        protocol.Hide();
        ShowWindow(hwnd, SW_HIDE);
        return true;
    case IDC_ADD_SITE: OnAddSite(); return true;
    case IDC_REMOVE_SITE: OnRemoveSite(); return true;
    case IDC_SITE_EDIT:
        if (notifyCode == EN_CHANGE && skin != nullptr) {
            RepaintUnderSiteEdit();
        }
        return true;
    default:
        if (notifyCode == BN_CLICKED) {
            StoreCheckBox(id);
        }
        return false;
    }
}

void CPrivacyDlg::OnTimer(UINT_PTR timerId) {
    protocol.OnTimer(static_cast<unsigned>(timerId));
    CheckSaves();
}

bool CPrivacyDlg::OnRegisteredMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const WindowId sender = static_cast<WindowId>(lParam);
    if (msg == messages.showPrivacyAddOn) {
        protocol.OnMainProgramMessage(MainProgramMessage::Show, wParam, sender);
    } else if (msg == messages.disable) {
        protocol.OnMainProgramMessage(MainProgramMessage::Disable, wParam, sender);
    } else if (msg == messages.exit) {
        protocol.OnMainProgramMessage(MainProgramMessage::Exit, wParam, sender);
    } else {
        return false;
    }
    return true;
}

bool CPrivacyDlg::PaintMinimised() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon);
    EndPaint(hwnd, &paint);
    return true;
}

bool CPrivacyDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (msg >= 0xC000) {
        OnRegisteredMessage(msg, wParam, lParam);
        return false;  // then on to the default processing
    }
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
        if (protocol.Hidden()) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            pos->flags = (pos->flags & ~SWP_SHOWWINDOW) | SWP_HIDEWINDOW;
        }
        return false;
    case WM_DESTROY:
        protocol.OnDestroy();
        return false;
    case WM_DRAWITEM:
        result = TRUE;
        return CXPButton::HandleDrawItem(lParam);
    case WM_PAINT:
        return IsIconic(hwnd) && PaintMinimised();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(icon);
        return true;
    case WM_ERASEBKGND:
        return skin != nullptr && AnswerEraseWithBitmap(hwnd, wParam, skin, result);
    default:
        return skin != nullptr && AnswerEveryControlColour(msg, wParam, RGB(0, 0, 0), result);
    }
}

// ---- IAddOnHost ---------------------------------------------------------------------

WindowId CPrivacyDlg::FindMainWindow() {
    return IdOf(FindWindowExA(nullptr, nullptr, kMainWindowClass, kMainWindowTitle));
}

bool CPrivacyDlg::IsWindow(WindowId window) {
    return ::IsWindow(HwndOf(window)) != FALSE;
}

void CPrivacyDlg::PostRunNotice(WindowId mainWindow, RunNotice notice) {
    PostMessageA(HwndOf(mainWindow), messages.privacyAddOnRun, static_cast<WPARAM>(notice), 0);
}

void CPrivacyDlg::PostDisableQuery(WindowId mainWindow) {
    PostMessageA(HwndOf(mainWindow), messages.disable, 0, reinterpret_cast<LPARAM>(hwnd));
}

void CPrivacyDlg::StartTimer(unsigned id, unsigned periodMs) {
    SetTimer(hwnd, id, periodMs, nullptr);
}

void CPrivacyDlg::StopTimer(unsigned id) {
    KillTimer(hwnd, id);
}

void CPrivacyDlg::ShowOnTop() {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void CPrivacyDlg::EndAddOn() {
    EndModal(IDCANCEL);
}

void CPrivacyDlg::RunCleaners() {
    TickedSteps ticked{};
    for (const CleaningStepInfo& step : kCleaningSteps) {
        ticked[static_cast<std::size_t>(step.step)] = IsDlgButtonChecked(hwnd, step.checkBoxId) == BST_CHECKED;
    }
    Win32TraceFiles files;
    Win32UrlCache cache;
    Win32TraceRegistry registry;
    Win32SystemTraces system(hwnd);
    if (!keptSites->TakeInUnreadFile()) {
        // Without the whole kept list, deleting cookies would take those of
        // kept sites too.
        ticked[static_cast<std::size_t>(CleaningStep::Cookies)] = false;
    }
    CTraceCleaner cleaner(files, cache, registry, system, compare);
    cleaner.Run(ticked, paths, [this](const std::string& name) { return keptSites->IsKeptCookie(name); });
}

}  // namespace tarnelix
