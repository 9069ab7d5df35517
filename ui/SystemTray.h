// The notification-area icon of the main program. It owns a hidden window of
// its own that receives the icon's callback message and the taskbar's
// "TaskbarCreated" broadcast.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace tarnelix {

class CSystemTray {
public:
    CSystemTray() = default;
    ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Puts the icon up; false when the window or the icon could not be made.
    bool Create(HWND parent, UINT callbackMessage, const std::string& tooltip, HICON icon, UINT id);
    void Remove();
    HWND Hwnd() const { return window; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool AddIcon();

    HWND window = nullptr;
    NOTIFYICONDATAA data{};
    UINT taskbarCreated = 0;
    bool shown = false;
};

}  // namespace tarnelix
