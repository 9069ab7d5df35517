// The application object of Tarnelix.exe: single instance, hooks, settings
// key, folders, tray icon, and the modal run of the main window.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/core/Startup.h"
#include "platform/win32/Win32Profile.h"
#include "ui/SystemTray.h"

namespace tarnelix {

class CTarnelixApp {
public:
    CTarnelixApp();
    ~CTarnelixApp();
    CTarnelixApp(const CTarnelixApp&) = delete;
    CTarnelixApp& operator=(const CTarnelixApp&) = delete;

    // The whole start-up and run. False in every case but a failed tray
    // icon, as the framework expects: the program then ends.
    bool InitInstance();
    void ExitInstance();

    std::string GetProgramFolder() const { return programFolder; }
    std::string GetSkinFolder() const { return folders.skin; }
    std::string GetSoundFolder() const { return folders.sound; }
    std::string GetNotificationsFolder() const { return folders.notifications; }
    ISettings& Settings() { return *profile; }

    // Loads skin folder + fileName into bitmap, deleting what it held. An
    // empty name changes nothing and gives false; a missing file leaves a
    // null handle and still gives true.
    bool LoadSkinBitmap(HBITMAP& bitmap, const std::string& fileName) const;
    void ShowAbout(HWND owner) const;

private:
    bool ClaimSingleInstance();
    void LoadProcessStatusLibraries(class CTarnelixDlg& dlg);

    std::string programFolder;
    std::string applicationName;
    AppFolders folders;
    std::unique_ptr<Win32Profile> profile;
    CSystemTray tray;
    HANDLE instanceMutex = nullptr;
};

CTarnelixApp& TheApp();

}  // namespace tarnelix
