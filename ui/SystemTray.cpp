#include "ui/SystemTray.h"

#include <shellapi.h>

#include <cstring>

namespace tarnelix {
namespace {
constexpr char kTrayWindowClass[] = "TarnelixTrayWindow";
}

CSystemTray::~CSystemTray() {
    Remove();
}

bool CSystemTray::Create(HWND parent, UINT callbackMessage, const std::string& tooltip, HICON icon, UINT id) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kTrayWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    window = CreateWindowExA(0, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
    if (window == nullptr) {
        return false;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    taskbarCreated = RegisterWindowMessageA("TaskbarCreated");

    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    std::strncpy(data.szTip, tooltip.c_str(), sizeof(data.szTip) - 1);
    return AddIcon();
}

bool CSystemTray::AddIcon() {
    shown = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
    return shown;
}

void CSystemTray::Remove() {
    if (shown) {
        Shell_NotifyIconA(NIM_DELETE, &data);
        shown = false;
    }
    if (window != nullptr) {
        DestroyWindow(window);
        window = nullptr;
    }
}

LRESULT CALLBACK CSystemTray::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CSystemTray*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // A restarted taskbar has forgotten every icon: put ours up again.
    if (self != nullptr && self->taskbarCreated != 0 && msg == self->taskbarCreated) {
        self->AddIcon();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace tarnelix
