// Wendle32Host.exe: installs the hooks of Wendle32.dll for the 32-bit
// programs of a 64-bit Windows, for as long as Tarnelix.exe runs. Started by
// Tarnelix with its main window and a stop event (common/HookHost.h); ends
// when the event is set, when the main window is gone, or on WM_QUIT.
//
// The thread that installed the hooks must keep pumping: Windows runs a
// 32-bit hook for the 64-bit programs on that thread, by messages, and a
// thread that stopped pumping would stall their input.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "common/HookHost.h"
#include "hook/Wendle.h"

namespace {

// The shell is a 64-bit program, out of reach of Wendle32.dll; its clicks
// and Enter are watched here, from outside (low-level hooks run in this
// process and need no library in the other one).
bool IsShellWindow(HWND window) {
    DWORD process = 0;
    DWORD shell = 0;
    // Read each time: the shell may have been restarted.
    return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 &&
           GetWindowThreadProcessId(GetShellWindow(), &shell) != 0 && process == shell;
}

LRESULT CALLBACK LowLevelMouse(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK)) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        if (IsShellWindow(WindowFromPoint(event->pt))) {
            NoteShellAction();
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK LowLevelKeyboard(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        if (event->vkCode == VK_RETURN && IsShellWindow(GetForegroundWindow())) {
            NoteShellAction();
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// False once WM_QUIT came.
bool PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void RunUntilStopped(HWND mainWindow, HANDLE stopEvent) {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &stopEvent, FALSE, kHookHostPollMs, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED || !IsWindow(mainWindow) || !PumpMessages()) {
            return;
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const std::optional<HookHostArguments> arguments = ParseHookHostArguments(commandLine);
    if (!arguments) {
        return 1;
    }
    const auto mainWindow = reinterpret_cast<HWND>(arguments->mainWindow);
    const auto stopEvent = reinterpret_cast<HANDLE>(arguments->stopEvent);
    if (!IsWindow(mainWindow)) {
        return 1;
    }
    Initialise();
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, LowLevelMouse, instance, 0);
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, LowLevelKeyboard, instance, 0);
    RunUntilStopped(mainWindow, stopEvent);
    for (HHOOK hook : {mouse, keyboard}) {
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
    }
    Shutdown();
    CloseHandle(stopEvent);
    return 0;
}
