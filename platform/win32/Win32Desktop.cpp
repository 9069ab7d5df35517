#include <windows.h>

#include "platform/win32/Win32Desktop.h"

#include <vector>

#include "platform/win32/Dialog.h"

namespace {

HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId ToId(HWND hwnd) {
    return reinterpret_cast<WindowId>(hwnd);
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<WindowId>*>(lParam)->push_back(ToId(hwnd));
    return TRUE;
}

}  // namespace

std::optional<std::string> Win32Desktop::WindowTitle(WindowId window) const {
    HWND hwnd = ToHwnd(window);
    if (hwnd == nullptr || !IsWindow(hwnd)) {
        return std::nullopt;
    }
    std::string title = tarnelix::WindowText(hwnd);
    // The window may have gone while we read its title.
    if (!IsWindow(hwnd)) {
        return std::nullopt;
    }
    return title;
}

bool Win32Desktop::IsWindowVisible(WindowId window) const {
    return ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

std::uint32_t Win32Desktop::WindowStyle(WindowId window) const {
    return static_cast<std::uint32_t>(GetWindowLongA(ToHwnd(window), GWL_STYLE));
}

WindowId Win32Desktop::FindTopLevel(const char* className, const char* title) const {
    return ToId(FindWindowA(className, title));
}

std::vector<WindowId> Win32Desktop::TopLevelWindows() const {
    std::vector<WindowId> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void Win32Desktop::PostSystemClose(WindowId window) {
    PostMessageA(ToHwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Win32Desktop::PostClose(WindowId window) {
    PostMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}

bool Win32Desktop::IsCtrlKeyDown() const {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

void Win32Desktop::Pause(unsigned milliseconds) {
    Sleep(milliseconds);
}
