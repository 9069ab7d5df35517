// The main window of Tarnelix, "Tarnelix 3.0" from dialog template 102: the
// general settings, the option pages, the six-digit counter, the timers that
// drive the periodic work and the end point of the registered messages.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/UpdateWorker.h"
#include "app/core/AdwareScan.h"
#include "app/core/BrowserWatch.h"
#include "app/core/MainWindowLogic.h"
#include "app/core/PopupEngine.h"
#include "app/core/SystemGuards.h"
#include "common/OsKind.h"
#include "common/SaveFaults.h"
#include "pages/Advance.h"
#include "pages/AddBanners.h"
#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "pages/StringPairList.h"
#include "pages/win32/AdvancePage.h"
#include "pages/win32/Pages.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/Win32BrowserKey.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32TextCompare.h"
#include "platform/win32/Win32WindowWatch.h"
#include "ui/core/NoticePlacement.h"
#include "ui/win32/TextLabel.h"
#include "ui/win32/XPButton.h"
#include "ui/windows/Notices.h"
#include "ui/windows/OptionPages.h"
#include "ui/windows/SystemClock.h"

namespace tarnelix {

class CTarnelixApp;

class CTarnelixDlg : public CDialog, public IEngineHost {
public:
    explicit CTarnelixDlg(CTarnelixApp& app);
    ~CTarnelixDlg() override;

    int osKind = kOsUnknown;
    // Loaded on NT 4.0 only, freed when the user exits.
    HMODULE psapiLibrary = nullptr;
    HMODULE vdmdbgLibrary = nullptr;

    // IEngineHost: the check boxes are read as they stand at each decision.
    bool IsDisableChecked() const override { return IsChecked(1048); }
    bool IsAutoBlockChecked() const override { return IsChecked(1047); }
    bool IsPlaySoundChecked() const override { return IsChecked(1045); }
    bool IsNotificationChecked() const override { return IsChecked(1046); }
    void ShowKillNotice() override;
    void RefreshCounterDisplay() override;
    void SaveCounters() override;

    void ResetCounters();
    void ShowPage(int page);
    void ApplyDisableState();
    bool AddOnRunning() const { return addOnRunning; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    struct RegisteredMessages {
        UINT newWindowCreated, killPopupWindow, disable, exit, showPrivacyAddOn, privacyAddOnRun,
            installedUpdates;
    };

    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) { CheckDlgButton(hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }

    // Initialisation steps.
    void AppendAboutItem();
    void CreatePages();
    void LoadSettings();
    void FillUpdatesTable();
    // Starts the update worker when none runs and the system reports a
    // connection.
    void StartUpdateCheck();
    // Timers 50 and 51 as the Disable box asks; only start-up stops the
    // Messenger service.
    void StartTimers(bool atStartUp);
    // The browser watcher runs while protection is on and the Advanced
    // page's box asks for it.
    void UpdateBrowserWatch();

    bool OnRegisteredMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPrivacyAddOnRun(WPARAM wParam);
    bool OnSysCommand(WPARAM wParam);
    void OnLeftButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    bool OnCheckBox(int id);
    void OnAutoBlockClicked();
    void WriteRunEntry(bool checked);
    void OnTrayCommand(int id);
    void OnExit();
    void OpenHelp();
    void HideWindow() { ShowWindow(hwnd, SW_HIDE); }
    void Broadcast(UINT msg, WPARAM wParam);
    void RedrawAll();

    void SlideStep() { killNotice.SlideStep(slide); }
    void CreateNotices();
    void SetUpSkinnedControls();
    void FreeProcessStatusLibraries();
    // Shows the program's own message box; true when answered with "Ok",
    // false at once while another of our boxes is open.
    bool AskUser(const char* message);
    bool BoxOpen() const;
    void ShowAbout();

    // The guards and the scanner (Guards.cpp).
    void CreateMessengerGuard();
    void GuardHomePage();
    void ScanAdware();
    void StopMessengerService();
    void RestoreMessengerService();
    bool MessengerCheckBoxChecked() const { return advancedPage.IsBlockMessengerChecked(); }
    bool MessengerRunning() const { return messenger != nullptr && messenger->IsRunning(); }

    CTarnelixApp& app;
    bool startHidden = true;
    bool hoverHand = false;
    std::string programFolder;
    std::string helpFilePath;
    TickState ticks;
    RegisteredMessages messages{};
    bool addOnRunning = false;
    Counters counters{};
    // Owns the updates table; its Busy() is the update check's busy flag.
    CUpdateWorker updateWorker;
    HICON icon = nullptr;
    HBITMAP skinBitmap = nullptr;
    SlideState slide;
    SystemClock clock;

    Win32FileStore fileStore;
    Win32TextCompare textCompare;
    Win32Desktop desktop;
    Win32SoundPlayer soundPlayer;
    Win32BrowserKey browserKey;
    Win32Processes processes{psapiLibrary};
    Win32WorkerThreads workerThreads;
    // Made at initialisation, when the window it reports to exists.
    std::shared_ptr<CMessengerGuard> messenger;
    AllowedBanners allowedModel;
    BlockedHistory historyModel;
    AddBanners addBannersModel;
    Advance advanceModel;
    // Timer 52 saves again what failed to save and tells the user.
    SaveWatch saveWatch;
    CPopupEngine engine;
    // Judges on the watch's thread and posts its verdicts here; the watch
    // goes first at the end, before what its thread uses.
    Win32WatchedWindows watchedWindows;
    CBrowserWatcher browserWatcher;
    Win32WindowWatch browserWatch{browserWatcher};
    // A test can hold this window busy (environment variable
    // TARNELIX_TEST_HOLD_BUSY=1 at start), to show that the input of the
    // desktop does not wait for it.
    bool holdBusyAllowed = false;
    CAdwareScanner scanner;
    CAllowedBanners allowedPage;
    CBlockedHistory historyPage;
    CAddBanners addBannersPage;
    CAdvance advancedPage;
    CReports reportsPage;
    CSound soundPage;
    CKillNotice killNotice;
    CNotification notification;
    CXPButton startButton;
    CTextLabel soundLabel;
};

}  // namespace tarnelix
