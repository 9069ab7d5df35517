// The application object of Tarnelix.exe: single instance, hooks, settings
// key, folders, tray icon, and the modal run of the main window.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/HookHost.h"
#include "app/core/Startup.h"
#include "common/PendingSettings.h"
#include "platform/win32/Win32Profile.h"
#include "ui/SystemTray.h"
#include "ui/windows/SkinSource.h"

namespace tarnelix {

class CTarnelixDlg;

// The tray icon of Tarnelix: its menu shows the Disable state and whether
// the add-on runs.
class CTarnelixTray : public CSystemTray {
public:
    void Attach(CTarnelixDlg* mainWindow, ISettings* settings);

protected:
    void PrepareMenu(HMENU submenu) override;

private:
    CTarnelixDlg* mainWindow = nullptr;
    ISettings* settings = nullptr;
};

class CTarnelixApp : public ISkinSource {
public:
    CTarnelixApp();
    ~CTarnelixApp() override;
    CTarnelixApp(const CTarnelixApp&) = delete;
    CTarnelixApp& operator=(const CTarnelixApp&) = delete;

    // The whole start-up and run. False in every case but a failed tray
    // icon, as the framework expects: the program then ends.
    bool InitInstance();
    void ExitInstance();

    std::string GetProgramFolder() const { return programFolder; }
    std::string GetApplicationName() const { return applicationName; }
    std::string GetSkinFolder() const { return folders.skin; }
    std::string GetSoundFolder() const { return folders.sound; }
    std::string GetNotificationsFolder() const { return folders.notifications; }
    // Every setting goes through here; see PendingSettings for writes that fail.
    PendingSettings& Settings() { return *settings; }

    // Loads skin folder + fileName into bitmap, deleting what it held. An
    // empty name changes nothing and gives false; a missing file leaves a
    // null handle and still gives true.
    bool LoadSkinBitmap(HBITMAP& bitmap, const std::string& fileName) const override;
    void ShowAbout(HWND owner) const;
    // The main window receives the tray menu's commands.
    void AttachTray(CTarnelixDlg& mainWindow);
    // The hooks for the 32-bit programs of a 64-bit Windows, once the main
    // window that receives their reports exists.
    void StartHookHost(HWND mainWindow) { hookHost.Start(programFolder, mainWindow); }

private:
    bool ClaimSingleInstance();
    void LoadProcessStatusLibraries(class CTarnelixDlg& dlg);

    std::string programFolder;
    std::string applicationName;
    AppFolders folders;
    std::unique_ptr<Win32Profile> profile;
    std::unique_ptr<PendingSettings> settings;
    CTarnelixTray tray;
    CHookHost hookHost;
    HANDLE instanceMutex = nullptr;
};

CTarnelixApp& TheApp();

// Lets the named registered messages reach the window from processes of a
// lower integrity level (Tarnelix may run elevated).
void AllowIncomingMessages(HWND window, const char* const* names, size_t count);

}  // namespace tarnelix
