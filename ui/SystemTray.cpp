#include "ui/SystemTray.h"

#include <cstring>

namespace tarnelix {
namespace {

constexpr char kTrayWindowClass[] = "TarnelixTrayWindow";

static_assert(kTrayCreationFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
static_assert(kTrayMouseRightButtonUp == WM_RBUTTONUP && kTrayMouseLeftDoubleClick == WM_LBUTTONDBLCLK);
static_assert(kTrayTooltipMaxChars < sizeof(NOTIFYICONDATAA::szTip));

// Balloons and hidden icons need the shell of the NT 5 family or later.
bool IsNewShell() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) {
        return false;
    }
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

}  // namespace

CSystemTray::CSystemTray() : newShell(IsNewShell()) {
    // Registered before any window exists, so the broadcast of a restarted
    // taskbar is never missed.
    taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
}

CSystemTray::~CSystemTray() {
    DeleteTrayIcon();
    if (window != nullptr) {
        DestroyWindow(window);
    }
}

bool CSystemTray::CreateTrayIcon(HWND parent, UINT callbackMessage, const std::string& tooltip, HICON icon,
                                 UINT iconId, bool hidden) {
    const unsigned versionLowByte = LOBYTE(LOWORD(GetVersion()));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kTrayWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    if (versionLowByte >= 4) {
        window = CreateWindowExA(0, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
        if (window == nullptr) {
            return false;
        }
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    data.cbSize = sizeof(data);
    data.hWnd = parent != nullptr ? parent : window;
    data.uID = iconId;
    data.uFlags = kTrayCreationFlags;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    std::strncpy(data.szTip, tooltip.c_str(), kTrayTooltipMaxChars);
    data.szTip[kTrayTooltipMaxChars] = '\0';
    return state.Create(versionLowByte, hidden, newShell, *this);
}

bool CSystemTray::Notify(DWORD message, unsigned flags) {
    data.uFlags = flags;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

bool CSystemTray::DeleteTrayIcon() {
    return state.Delete(*this);
}

LRESULT CSystemTray::HandleIconEvent(UINT iconId, UINT mouseMessage) {
    const TrayIconAction action = ClassifyIconEvent(data.uID, iconId, mouseMessage);
    if (action == TrayIconAction::NotOurs || target == nullptr) {
        return 0;
    }
    if (action == TrayIconAction::OpenMenu) {
        ShowMenu();
    } else if (action == TrayIconAction::RunDefaultCommand) {
        RunDefaultCommand();
    }
    return 1;
}

// The menu resource, loaded for as long as one event needs it.
class CSystemTray::LoadedMenu {
public:
    explicit LoadedMenu(UINT resourceId) : menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId))) {}
    ~LoadedMenu() {
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
    }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;
    HMENU Submenu() const { return menu != nullptr ? GetSubMenu(menu, 0) : nullptr; }

private:
    HMENU menu;
};

void CSystemTray::ShowMenu() {
    LoadedMenu menu(data.uID);
    HMENU submenu = menu.Submenu();
    if (submenu == nullptr) {
        return;
    }
    SetMenuDefaultItem(submenu, kTrayDefaultMenuPosition, TRUE);
    PrepareMenu(submenu);
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(target);
    TrackPopupMenu(submenu, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, target, nullptr);
    // Without a message after the menu, it would not close when the user
    // clicks elsewhere.
    PostMessageA(target, WM_NULL, 0, 0);
}

void CSystemTray::RunDefaultCommand() {
    SetForegroundWindow(target);
    UINT command = 0;
    {
        LoadedMenu menu(data.uID);
        HMENU submenu = menu.Submenu();
        if (submenu == nullptr) {
            return;
        }
        command = GetMenuItemID(submenu, static_cast<int>(kTrayDefaultMenuPosition));
    }
    PostMessageA(target, WM_COMMAND, command, 0);
}

LRESULT CALLBACK CSystemTray::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CSystemTray*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
        if (msg == self->data.uCallbackMessage) {
            return self->HandleIconEvent(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
        }
        // A restarted taskbar has forgotten every icon.
        if (msg == self->taskbarCreated) {
            self->state.OnTaskbarCreated(*self);
            return 0;
        }
        if (msg == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA) {
            self->state.OnWorkAreaChanged(*self);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace tarnelix
