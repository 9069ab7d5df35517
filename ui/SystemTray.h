// The notification-area icon of the main program. It owns a hidden popup
// window of its own that receives the icon's callback message, the taskbar's
// "TaskbarCreated" broadcast and the work-area change, and turns a right
// click into the tray menu and a double click into the menu's default
// command, both sent to the main window.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/core/TrayState.h"

namespace tarnelix {

class CSystemTray : private ITrayShell {
public:
    CSystemTray();
    virtual ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Puts the icon up (unless hidden); false when the system has no
    // notification area or the icon could not be added.
    bool CreateTrayIcon(HWND parent, UINT callbackMessage, const std::string& tooltip, HICON icon, UINT iconId,
                        bool hidden);
    bool DeleteTrayIcon();
    // The window that receives the menu's commands.
    void SetTarget(HWND target) { this->target = target; }
    HWND Hwnd() const { return window; }

protected:
    virtual LRESULT HandleIconEvent(UINT iconId, UINT mouseMessage);
    // Called just before the menu shows.
    virtual void PrepareMenu(HMENU submenu) { (void)submenu; }

private:
    class LoadedMenu;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // ITrayShell: Shell_NotifyIcon with the record's flags set to `flags`.
    bool Add(unsigned flags) override { return Notify(NIM_ADD, flags); }
    bool Modify(unsigned flags) override { return Notify(NIM_MODIFY, flags); }
    bool Delete(unsigned flags) override { return Notify(NIM_DELETE, flags); }
    bool Notify(DWORD message, unsigned flags);
    void ShowMenu();
    void RunDefaultCommand();

    HWND window = nullptr;
    HWND target = nullptr;
    NOTIFYICONDATAA data{};
    UINT taskbarCreated = 0;
    TrayIconState state;
    bool newShell = false;
};

}  // namespace tarnelix
