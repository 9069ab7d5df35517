#include "app/TarnelixApp.h"

#include <iterator>

#include "app/TarnelixDlg.h"
#include "app/core/MessageFilter.h"
#include "common/AppSettings.h"
#include "common/TarnelixResource.h"
#include "hook/Wendle.h"
#include "platform/win32/SingleInstance.h"
#include "platform/win32/Win32Version.h"

namespace tarnelix {

CTarnelixApp::CTarnelixApp() {
    char path[kProgramPathCapacity] = {};
    GetModuleFileNameA(nullptr, path, kProgramPathCapacity - 1);
    programFolder = ProgramFolderFromPath(path);
    applicationName = ApplicationNameFromPath(path);
}

CTarnelixApp::~CTarnelixApp() {
    if (instanceMutex != nullptr) {
        CloseHandle(instanceMutex);
    }
}

bool CTarnelixApp::ClaimSingleInstance() {
    if (tarnelix::ClaimSingleInstance(kMutexName, instanceMutex)) {
        return true;
    }
    MessageBoxA(nullptr, kAlreadyRunningMessage, applicationName.c_str(), MB_OK);
    return false;
}

void AllowIncomingMessages(HWND window, const char* const* names, size_t count) {
    using ChangeFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    // Windows 7 and later; the systems before Vista have no integrity levels,
    // and Tarnelix must still start there.
    static const ChangeFilter change = reinterpret_cast<ChangeFilter>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    for (size_t i = 0; change != nullptr && window != nullptr && i < count; ++i) {
        change(window, RegisterWindowMessageA(names[i]), MSGFLT_ALLOW, nullptr);
    }
}

void CTarnelixApp::LoadProcessStatusLibraries(CTarnelixDlg& dlg) {
    if (!NeedsProcessStatusLibraries(dlg.osKind)) {
        return;
    }
    dlg.psapiLibrary = LoadLibraryA(kPsapiLibrary);
    if (dlg.psapiLibrary == nullptr) {
        MessageBoxA(nullptr, kPsapiLoadFailedMessage, kLibraryLoadFailedCaption, MB_OK);
    }
    dlg.vdmdbgLibrary = LoadLibraryA(kVdmdbgLibrary);
    if (dlg.vdmdbgLibrary == nullptr) {
        MessageBoxA(nullptr, kVdmdbgLoadFailedMessage, kLibraryLoadFailedCaption, MB_OK);
    }
}

bool CTarnelixApp::InitInstance() {
    if (!ClaimSingleInstance()) {
        return false;
    }
    // The hooks go in before anything else; the library finds the main
    // window by its title once it exists.
    Initialise();
    profile = std::make_unique<Win32Profile>(kCompanyKey, applicationName);
    settings = std::make_unique<PendingSettings>(*profile);
    folders = SettleFolders(*settings, programFolder);

    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARNELIX));
    if (!tray.CreateTrayIcon(nullptr, kTrayCallbackMessage, kTrayTooltip, icon, IDR_TRAYMENU, false)) {
        return true;
    }
    AllowIncomingMessages(tray.Hwnd(), kTrayIncomingMessages, std::size(kTrayIncomingMessages));

    CTarnelixDlg dlg(*this);
    Win32VersionQuery versionQuery;
    dlg.osKind = DetectOsKind(versionQuery);
    LoadProcessStatusLibraries(dlg);
    dlg.DoModal();

    tray.Attach(nullptr, nullptr);
    tray.DeleteTrayIcon();
    CloseHandle(instanceMutex);
    instanceMutex = nullptr;
    return false;
}

void CTarnelixApp::ExitInstance() {
    hookHost.Stop();
    Shutdown();
}

bool CTarnelixApp::LoadSkinBitmap(HBITMAP& bitmap, const std::string& fileName) const {
    if (fileName.empty()) {
        return false;
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    const std::string path = folders.skin + fileName;
    bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    return true;
}

void CTarnelixApp::AttachTray(CTarnelixDlg& mainWindow) {
    tray.Attach(&mainWindow, settings.get());
}

void CTarnelixTray::Attach(CTarnelixDlg* mainWindow, ISettings* settings) {
    this->mainWindow = mainWindow;
    this->settings = settings;
    SetTarget(mainWindow != nullptr ? mainWindow->Hwnd() : nullptr);
}

void CTarnelixTray::PrepareMenu(HMENU submenu) {
    if (settings == nullptr || mainWindow == nullptr) {
        return;
    }
    const TrayMenuState menu = PrepareMenuState(ReadSetting(*settings, kDisableSetting), mainWindow->AddOnRunning());
    CheckMenuItem(submenu, ID_TRAY_DISABLE, MF_BYCOMMAND | (menu.disableChecked ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(submenu, ID_TRAY_VEILMARK, MF_BYCOMMAND | (menu.veilmarkEnabled ? MF_ENABLED : MF_GRAYED));
}

void CTarnelixApp::ShowAbout(HWND owner) const {
    CDialog about(IDD_ABOUTBOX);
    about.DoModal(owner);
}

CTarnelixApp& TheApp() {
    static CTarnelixApp app;
    return app;
}

}  // namespace tarnelix

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tarnelix::CTarnelixApp& app = tarnelix::TheApp();
    app.InitInstance();
    app.ExitInstance();
    return 0;
}
