#include "app/TarnelixDlg.h"

#include <shellapi.h>
#include <iterator>
#include <windowsx.h>
#include <wininet.h>

#include "app/TarnelixApp.h"
#include "app/core/MessageFilter.h"
#include "app/core/UpdateCheck.h"
#include "common/AppSettings.h"
#include "common/Messages.h"
#include "common/TarnelixResource.h"
#include "ui/win32/SkinnedWindow.h"
#include "ui/windows/MessageInfoDlg.h"

namespace tarnelix {
namespace {

constexpr UINT kAboutCommand = 16;  // system-menu item of the About box
constexpr char kExitQuestion[] = "Are you sure you want to exit Tarnelix?";
constexpr COLORREF kSoundLinkColour = 0xCFFFFF;
// The browser watcher's verdict on a frame: wParam 1 popup, 0 wanted;
// lParam the frame.
constexpr UINT kBrowserFrameMessage = WM_APP + 1;
// Test only (see holdBusyAllowed): the window sleeps for two seconds.
constexpr int kHoldBusyCommand = 0x7A10;
constexpr DWORD kHoldBusyMs = 2000;
constexpr int kPageLeft = 2;
constexpr int kPageTop = 105;
constexpr int kPageWidth = 378;
constexpr int kPageHeight = 230;

// The check boxes of the general page, hidden while another page shows.
constexpr int kGeneralCheckBoxes[] = {IDC_WINDOWS_STARTS, IDC_NO_DISPLAY_STARTUP, IDC_PLAY_SOUND,
                                      IDC_NOTIFICATION, IDC_DISABLE};

struct CheckBoxSetting {
    int id;
    const IntSetting& setting;
};
const CheckBoxSetting kCheckBoxSettings[] = {
    {IDC_WINDOWS_STARTS, kWindowsStartsSetting}, {IDC_NO_DISPLAY_STARTUP, kNoDisplayStartupSetting},
    {IDC_PLAY_SOUND, kPlaySoundSetting},         {IDC_NOTIFICATION, kNotificationSetting},
    {IDC_AUTO_BLOCK, kAutoBlockSetting},         {IDC_DISABLE, kDisableSetting},
};

// The connection-state query with no flags, as the update check and the
// check-updates notice ask it.
bool IsOnline() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

}  // namespace

CTarnelixDlg::CTarnelixDlg(CTarnelixApp& app)
    : CDialog(IDD_TARNELIX_DIALOG),
      app(app),
      programFolder(app.GetProgramFolder()),
      helpFilePath(HelpFilePath(programFolder)),
      updateWorker(programFolder, UpdateListingUrl(app.Settings()), kCompanyKey, app.GetApplicationName()),
      allowedModel(fileStore, textCompare, programFolder + kAllowedFileName),
      historyModel(fileStore, textCompare, programFolder + kHistoryFileName),
      addBannersModel(textCompare),
      advanceModel(fileStore, textCompare, app.Settings(), browserKey, programFolder + kAdwareFileName),
      saveWatch(app.GetApplicationName(),
                {{kAllowedFileName, [this] { return allowedModel.Unsaved(); }, [this] { allowedModel.SaveToFile(); }},
                 {kHistoryFileName, [this] { return historyModel.Unsaved(); }, [this] { historyModel.SaveToFile(); }},
                 {kAdwareFileName, [this] { return advanceModel.AdwareUnsaved(); },
                  [this] { advanceModel.SaveAdwareList(); }},
                 {kSettingsFaultName, [this] { return this->app.Settings().HasPending(); },
                  [this] { this->app.Settings().RetryPending(); }}}),
      engine(desktop, soundPlayer, *this, allowedModel, historyModel, counters),
      browserWatcher(watchedWindows,
                     [this](WindowId frame, bool popup) {
                         PostMessageA(hwnd, kBrowserFrameMessage, popup ? 1 : 0, static_cast<LPARAM>(frame));
                     }),
      scanner(processes, advanceModel, textCompare, [this] { engine.CountKill(kKillKindAdware); }),
      allowedPage(app, allowedModel),
      historyPage(app, historyModel, allowedPage, allowedModel),
      addBannersPage(app, addBannersModel, desktop, [this](WindowId window) { engine.KillPopupWindow(window); }),
      advancedPage(app, advanceModel,
                   {[this] { StopMessengerService(); }, [this] { RestoreMessengerService(); },
                    [this] { UpdateBrowserWatch(); }}),
      reportsPage(app, {[this] { return counters; }, [this] { ResetCounters(); }}),
      soundPage(app, app.Settings(), soundPlayer, app.GetSoundFolder(),
                {[this](const std::string& path) { engine.SetKillSoundPath(path); }, [this] { ShowPage(0); }}),
      killNotice(app),
      notification(app.Settings(), clock, app.GetNotificationsFolder(),
                   {[this] { return IsDisableChecked(); }, [this] { return counters; }, IsOnline}) {
    messages.newWindowCreated = RegisterWindowMessageA(kNewWindowCreatedMessage);
    messages.killPopupWindow = RegisterWindowMessageA(kKillPopupWindowMessage);
    messages.disable = RegisterWindowMessageA(kDisableMessage);
    messages.exit = RegisterWindowMessageA(kExitMessage);
    messages.showPrivacyAddOn = RegisterWindowMessageA(kShowPrivacyAddOnMessage);
    messages.privacyAddOnRun = RegisterWindowMessageA(kPrivacyAddOnRunMessage);
    messages.installedUpdates = RegisterWindowMessageA(kInstalledUpdatesMessage);
    char hold[2] = {};
    holdBusyAllowed = GetEnvironmentVariableA("TARNELIX_TEST_HOLD_BUSY", hold, sizeof(hold)) == 1 && hold[0] == '1';
    icon = LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(IDI_TARNELIX));
    app.LoadSkinBitmap(skinBitmap, "MainDlg.bmp");
    engine.SetSoundFolder(app.GetSoundFolder());
}

CTarnelixDlg::~CTarnelixDlg() {
    FreeProcessStatusLibraries();
    if (skinBitmap != nullptr) {
        DeleteObject(skinBitmap);
    }
}

// ---- Initialisation ---------------------------------------------------------

BOOL CTarnelixDlg::OnInitDialog() {
    AllowIncomingMessages(hwnd, kMainWindowIncomingMessages, std::size(kMainWindowIncomingMessages));
    CreateMessengerGuard();
    AppendAboutItem();
    if (icon != nullptr) {
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    CreatePages();
    CreateNotices();
    SetUpSkinnedControls();
    app.AttachTray(*this);
    app.StartHookHost(hwnd);
    LoadSettings();
    if (!IsChecked(IDC_NO_DISPLAY_STARTUP)) {
        startHidden = false;
    }
    FillUpdatesTable();
    engine.PlayNamedSound("on.wav");
    notification.ShowNotice(NotificationKind::StartUp);
    if (!IsAutoBlockChecked()) {
        engine.SweepBlockedTitles();
    }
    StartUpdateCheck();
    if (!IsNtFamily(osKind)) {
        messenger->ForgetService();
    }
    StartTimers(true);
    SetTimer(hwnd, kSaveCheckTimerId, kSaveCheckPeriodMs, nullptr);
    return TRUE;
}

void CTarnelixDlg::AppendAboutItem() {
    char text[128] = {};
    HMENU systemMenu = GetSystemMenu(hwnd, FALSE);
    if (systemMenu != nullptr && LoadStringA(ResourceInstance(), IDS_ABOUTBOX, text, sizeof(text)) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, kAboutCommand, text);
    }
}

void CTarnelixDlg::CreatePages() {
    CDialog* pages[] = {&historyPage, &addBannersPage, &allowedPage, &reportsPage, &soundPage, &advancedPage};
    for (CDialog* page : pages) {
        page->Create(hwnd);
        SetWindowPos(page->Hwnd(), nullptr, kPageLeft, kPageTop, kPageWidth, kPageHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CTarnelixDlg::CreateNotices() {
    killNotice.Create(hwnd);
    notification.Create(hwnd);
}

void CTarnelixDlg::SetUpSkinnedControls() {
    soundLabel.Attach(hwnd, IDC_SOUND_LABEL);
    soundLabel.SetClickable(true, false).SetForeColour(kSoundLinkColour).SetUnderlined(true).SetSeeThrough(true);
    startButton.Attach(hwnd, IDC_START);
}

void CTarnelixDlg::LoadSettings() {
    ISettings& settings = app.Settings();
    for (const auto& box : kCheckBoxSettings) {
        SetChecked(box.id, ReadSetting(settings, box.setting) != 0);
    }
    std::string soundFile = ReadSetting(settings, kSoundFileSetting);
    if (soundFile.empty()) {
        soundFile = DefaultSoundFile(app.GetSoundFolder());
        WriteSetting(settings, kSoundFileSetting, soundFile);
    }
    engine.SetKillSoundPath(soundFile);
    allowedPage.Reload();
    historyPage.Reload();
    LoadCounters(settings, counters);
    RefreshCounterDisplay();
}

void CTarnelixDlg::FillUpdatesTable() {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((programFolder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            const TextSetting dated{kUpdatesSection, found.cFileName};
            updateWorker.UpdatesTable().Set(found.cFileName, ReadSetting(app.Settings(), dated));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void CTarnelixDlg::StartUpdateCheck() {
    if (!updateWorker.Busy() && IsOnline()) {
        updateWorker.Start();
    }
}

void CTarnelixDlg::StartTimers(bool atStartUp) {
    const TimerPlan plan = PlanTimers(IsDisableChecked(), MessengerCheckBoxChecked(), MessengerRunning(), atStartUp);
    if (plan.timer50) {
        SetTimer(hwnd, kTimer50Id, 0, nullptr);
    }
    if (plan.stopMessengerService) {
        StopMessengerService();
    }
    if (plan.timer51) {
        SetTimer(hwnd, kTimer51Id, kTimer51PeriodMs, nullptr);
    }
    UpdateBrowserWatch();
}

void CTarnelixDlg::UpdateBrowserWatch() {
    if (!IsDisableChecked() && advancedPage.IsWatchModernBrowsersChecked()) {
        browserWatch.Start();
    } else {
        browserWatch.Stop();
    }
}

// ---- Counters -----------------------------------------------------------------

void CTarnelixDlg::ShowKillNotice() {
    if (ShouldShowKillNotice(killNotice.IsVisible(), slide, notification.IsVisible())) {
        killNotice.ShowForKill();
    }
}

void CTarnelixDlg::SaveCounters() {
    ::SaveCounters(app.Settings(), counters);
}

void CTarnelixDlg::RefreshCounterDisplay() {
    const std::optional<std::string> text = CounterDigits(counters);
    if (!text) {
        ResetCounters();
        return;
    }
    for (int i = 0; i < kCounterDigitCount; ++i) {
        const char digit[2] = {(*text)[static_cast<size_t>(kCounterDigitCount - 1 - i)], '\0'};
        SetDlgItemTextA(hwnd, IDC_DIGIT_UNITS + i, digit);
    }
    RedrawAll();
}

void CTarnelixDlg::ResetCounters() {
    ::ResetCounters(counters);
    for (int i = 0; i < kCounterDigitCount; ++i) {
        SetDlgItemTextA(hwnd, IDC_DIGIT_UNITS + i, "0");
    }
    SaveCounters();
    RedrawAll();
}

void CTarnelixDlg::RedrawAll() {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// ---- Pages and navigation -------------------------------------------------------

void CTarnelixDlg::ShowPage(int page) {
    if (page == 5) {
        OpenHelp();
        return;
    }
    // The hand cursor's capture ends with the page: the sound link's region
    // lies over the sound page, and a kept capture would take the click
    // meant for the page's first radio button.
    ReleaseCapture();
    historyPage.Show(false);
    addBannersPage.Show(false);
    allowedPage.Show(false);
    reportsPage.Show(false);
    soundPage.Show(false);
    advancedPage.Show(false);
    for (int id : kGeneralCheckBoxes) {
        ShowWindow(Item(id), SW_HIDE);
    }
    ShowWindow(Item(IDC_SOUND_LABEL), SW_HIDE);
    switch (page) {
    case 0:
        for (int id : kGeneralCheckBoxes) {
            ShowWindow(Item(id), SW_SHOW);
        }
        ShowWindow(Item(IDC_SOUND_LABEL), SW_SHOW);
        break;
    case 1:
        addBannersPage.Show(true);
        addBannersPage.OnRefresh();
        break;
    case 2:
        historyPage.Show(true);
        historyPage.Reload();
        break;
    case 3:
        allowedPage.Show(true);
        allowedPage.Reload();
        break;
    case 4:
        reportsPage.Show(true);
        break;
    case 6:
        advancedPage.Show(true);
        break;
    case 7:
        soundPage.Show(true);
        break;
    default:
        break;
    }
}

void CTarnelixDlg::OpenHelp() {
    ShellExecuteA(hwnd, "open", helpFilePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CTarnelixDlg::OnLeftButtonDown(int x, int y) {
    const NavigationTarget target = HitTestNavigation(x, y);
    if (IsPageLocked(target, IsAutoBlockChecked())) {
        AskUser(kAddPopupsLockedMessage);
    } else if (target != NavigationTarget::None) {
        ShowPage(PageNumber(target));
    }
}

void CTarnelixDlg::OnMouseMove(int x, int y) {
    const bool overHot = IsHandCursorRegion(x, y);
    if (overHot == hoverHand) {
        return;  // the cursor changes only on entering and leaving
    }
    hoverHand = overHot;
    if (overHot) {
        HCURSOR hand = LoadCursorA(ResourceInstance(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
        SetCursor(hand != nullptr ? hand : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        SetCapture(hwnd);
    } else {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        ReleaseCapture();
    }
}

// ---- Commands ---------------------------------------------------------------------

bool CTarnelixDlg::OnCommand(int id, int notifyCode, HWND control) {
    if (OnCheckBox(id)) {
        return true;
    }
    switch (id) {
    case IDOK: OnExit(); return true;
    case IDCANCEL:
    case IDC_START: HideWindow(); return true;
    case ID_HELP_FINDER: OpenHelp(); return true;
    case kHoldBusyCommand:
        if (holdBusyAllowed) {
            Sleep(kHoldBusyMs);
        }
        return true;
    case IDC_SOUND_LABEL:
        // A press on the link itself reaches the label, not this window. The
        // label lies wholly inside its click region, so the press counts as
        // one in the region.
        if (notifyCode == STN_CLICKED) {
            ShowPage(7);
        }
        return true;
    case ID_TRAY_SHOW_OPTIONS:
    case ID_TRAY_DISABLE:
    case ID_TRAY_VEILMARK:
    case ID_APP_ABOUT:
    case ID_APP_EXIT: OnTrayCommand(id); return true;
    default: return CDialog::OnCommand(id, notifyCode, control);
    }
}

bool CTarnelixDlg::OnCheckBox(int id) {
    for (const auto& box : kCheckBoxSettings) {
        if (box.id != id) {
            continue;
        }
        if (id == IDC_DISABLE) {
            ApplyDisableState();
        } else if (id == IDC_AUTO_BLOCK) {
            OnAutoBlockClicked();
        } else {
            WriteSetting(app.Settings(), box.setting, IsChecked(id) ? 1 : 0);
            if (id == IDC_WINDOWS_STARTS) {
                WriteRunEntry(IsChecked(id));
            }
        }
        return true;
    }
    return false;
}

void CTarnelixDlg::OnAutoBlockClicked() {
    WriteSetting(app.Settings(), kAutoBlockSetting, IsAutoBlockChecked() ? 1 : 0);
    if (!IsAutoBlockChecked()) {
        engine.SweepBlockedTitles();
    }
}

void CTarnelixDlg::WriteRunEntry(bool checked) {
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\", 0, KEY_SET_VALUE,
                      &run) != ERROR_SUCCESS) {
        return;  // no administrator rights: the setting alone is kept
    }
    const std::string value = RunEntryValue(checked, programFolder);
    RegSetValueExA(run, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(run);
}

void CTarnelixDlg::ApplyDisableState() {
    WriteSetting(app.Settings(), kDisableSetting, IsDisableChecked() ? 1 : 0);
    KillTimer(hwnd, kTimer50Id);
    KillTimer(hwnd, kTimer51Id);
    StartTimers(false);
    Broadcast(messages.disable, DisableBroadcastWParam(IsDisableChecked()));
}

void CTarnelixDlg::OnTrayCommand(int id) {
    switch (id) {
    case ID_TRAY_SHOW_OPTIONS:
        startHidden = false;
        ShowPage(0);
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        break;
    case ID_TRAY_DISABLE:
        SetChecked(IDC_DISABLE, !IsDisableChecked());
        PostMessageA(hwnd, WM_COMMAND, IDC_DISABLE, 0);
        break;
    case ID_TRAY_VEILMARK: Broadcast(messages.showPrivacyAddOn, 0); break;
    case ID_APP_ABOUT: ShowAbout(); break;
    case ID_APP_EXIT: PostMessageA(hwnd, WM_COMMAND, IDOK, 0); break;
    default: break;
    }
}

void CTarnelixDlg::OnExit() {
    if (!AskUser(kExitQuestion)) {
        return;
    }
    FreeProcessStatusLibraries();
    // A last try for what a failed save left in memory; what still cannot
    // be saved is lost with the program.
    saveWatch.SaveAgain();
    // A running check winds down while "off.wav" plays; the window's end
    // waits for it.
    updateWorker.RequestStop();
    browserWatch.Stop();
    engine.PlayNamedSound("off.wav");
    Sleep(500);
    HideWindow();
    EndModal(IDOK);
    Broadcast(messages.exit, 0);
}

void CTarnelixDlg::FreeProcessStatusLibraries() {
    for (HMODULE* library : {&psapiLibrary, &vdmdbgLibrary}) {
        if (*library != nullptr) {
            FreeLibrary(*library);
            *library = nullptr;
        }
    }
}

bool CTarnelixDlg::BoxOpen() const {
    // Our modal boxes disable the main window, but their message loop still
    // hands it posted commands: a second Exit from the tray would open a
    // second question and could run the exit twice. One box at a time.
    return IsWindowEnabled(hwnd) == FALSE;
}

void CTarnelixDlg::ShowAbout() {
    if (!BoxOpen()) {
        app.ShowAbout(hwnd);
    }
}

bool CTarnelixDlg::AskUser(const char* message) {
    if (BoxOpen()) {
        return false;
    }
    CMessageInfoDlg box(app);
    box.SetMessage(message);
    return box.Run(hwnd) == IDOK;
}

void CTarnelixDlg::Broadcast(UINT msg, WPARAM wParam) {
    PostMessageA(HWND_BROADCAST, msg, wParam, reinterpret_cast<LPARAM>(hwnd));
}

// ---- Timers and messages -----------------------------------------------------------

void CTarnelixDlg::OnTimer(UINT_PTR timerId) {
    if (timerId == kSaveCheckTimerId) {
        // The box is modal and this timer fires on inside it; the fault
        // counts as told before the box opens, and an open box puts it off.
        if (const std::optional<std::string> text = saveWatch.Check(BoxOpen())) {
            AskUser(text->c_str());
        }
        return;
    }
    if (timerId == kTimer50Id) {
        engine.MessengerBoxStep();
        return;
    }
    if (timerId != kTimer51Id) {
        return;
    }
    const TickActions actions = OnTimer51Tick(ticks, IsDisableChecked());
    SlideStep();
    engine.BrowserBoxStep();
    if (actions.guardHomePage) {
        GuardHomePage();
    }
    if (actions.scanAdware) {
        ScanAdware();
    }
    if (actions.startUpdateCheck) {
        StartUpdateCheck();
    }
}

bool CTarnelixDlg::OnRegisteredMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const WindowId window = static_cast<WindowId>(lParam);
    const bool fromOther = IsFromOtherWindow(static_cast<std::uintptr_t>(lParam), reinterpret_cast<std::uintptr_t>(hwnd));
    if (msg == messages.killPopupWindow) {
        engine.OnKillPopupWindowMessage(window);
    } else if (msg == messages.newWindowCreated) {
        engine.OnNewWindowCreatedMessage(window);
    } else if (msg == messages.privacyAddOnRun && fromOther) {
        OnPrivacyAddOnRun(wParam);
    } else if (msg == messages.disable && fromOther) {
        Broadcast(messages.disable, DisableBroadcastWParam(IsDisableChecked()));
    } else if (msg == messages.installedUpdates && fromOther) {
        notification.SetInstalledUpdates();
    } else {
        return false;
    }
    return true;
}

void CTarnelixDlg::OnPrivacyAddOnRun(WPARAM wParam) {
    switch (AddOnRunActionFor(wParam)) {
    case AddOnRunAction::MarkRunning: addOnRunning = true; break;
    case AddOnRunAction::MarkEnded: addOnRunning = false; break;
    case AddOnRunAction::CountRun:
        AddAddOnRun(counters);
        SaveCounters();
        break;
    case AddOnRunAction::None: break;
    }
}

bool CTarnelixDlg::OnSysCommand(WPARAM wParam) {
    const UINT command = static_cast<UINT>(wParam & 0xFFF0);
    if (command == kAboutCommand) {
        ShowAbout();
        return true;
    }
    if (command == SC_MINIMIZE || command == SC_CLOSE) {
        HideWindow();
        return true;
    }
    return false;
}

bool CTarnelixDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (msg >= 0xC000 && OnRegisteredMessage(msg, wParam, lParam)) {
        return false;  // then on to the normal processing
    }
    switch (msg) {
    case kBrowserFrameMessage:
        engine.OnBrowserFrame(static_cast<WindowId>(lParam), wParam == 1);
        return true;
    case WM_WINDOWPOSCHANGING:
        if (startHidden) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if ((pos->flags & SWP_SHOWWINDOW) != 0) {
                pos->flags = (pos->flags & ~SWP_SHOWWINDOW) | SWP_HIDEWINDOW;
            }
        }
        return false;
    case WM_SYSCOMMAND:
        result = 0;
        return OnSysCommand(wParam);
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return false;
    case WM_CAPTURECHANGED:
        hoverHand = false;
        return false;
    case WM_ERASEBKGND:
        return AnswerEraseWithBitmap(hwnd, wParam, skinBitmap, result);
    case WM_DRAWITEM:
        result = TRUE;
        return CXPButton::HandleDrawItem(lParam);
    default:
        // The skin shows through every control of the main window.
        return AnswerEveryControlColour(msg, wParam, RGB(0, 0, 0), result);
    }
}

}  // namespace tarnelix
