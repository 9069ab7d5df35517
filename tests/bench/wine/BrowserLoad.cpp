#include "BrowserLoad.h"
#include <cstdio>

// Made hidden, as a browser does; window i is due at i * period from the start.
void Helpers(DWORD count, DWORD period) {
    const size_t first = gWindows.size();
    const DWORD start = GetTickCount();
    for (DWORD i = 0; i < count; ++i) {
        CreateTracked("helper." + std::to_string(i), "Chrome_WidgetWin_1", i % 2 != 0 ? 0x84800000 : 0x84000000, "",
                      nullptr);
        if (i >= 10) DestroyWindow(gWindows[first + i - 10].hwnd);
        const DWORD elapsed = GetTickCount() - start;
        Pump((i + 1) * period > elapsed ? (i + 1) * period - elapsed : 0);
    }
}

namespace {

void SendSoakInput(int moves) {
    std::vector<INPUT> inputs(static_cast<size_t>(moves) + 2);
    for (int i = 0; i < moves; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = i % 2 == 0 ? 3 : -3;
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE;
    }
    for (size_t i = static_cast<size_t>(moves); i < inputs.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = 'N';
        inputs[i].ki.dwFlags = i == inputs.size() - 1 ? KEYEVENTF_KEYUP : 0;
    }
    DWORD owner = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &owner);
    if (owner != GetCurrentProcessId()) {
        SetForegroundWindow(gInputWindow);
    }
    // The hook takes "n" for a user action only while a menu is open; no
    // Ctrl is pressed, so no kill is spared for a Ctrl held at that moment.
    SendMessageA(gInputWindow, WM_INITMENUPOPUP, 0, 0);
    const int keyUps = gKeyUps;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    for (const DWORD start = GetTickCount(); gKeyUps == keyUps && GetTickCount() - start < 2000;) {
        Pump(0);
    }
}

}  // namespace

void Soak(int rounds, int moves) {
    std::vector<HWND> previous;
    char title[64];
    for (int r = 0; r < rounds; ++r) {
        SendSoakInput(moves);
        const std::string n = std::to_string(r);
        std::snprintf(title, sizeof title, "Soak user %05d", r);
        HWND user = CreateTracked("u." + n, "IEFrame", 0x16CF0000, title, nullptr);
        std::snprintf(title, sizeof title, "Soak popup %05d", r);
        CreateTracked("p." + n, "IEFrame", 0x16CF0000, title, nullptr);
        for (HWND old : previous) {
            DestroyWindow(old);
        }
        previous = {user, CreateTracked("c." + n, "SoakChild", 0x50000000, "child", user),
                    CreateTracked("d." + n, "#32770", 0x10C80000, "Soak dialog", nullptr),
                    CreateTracked("f." + n, "IEFrame", 0x16C70000, "Soak plain frame", nullptr)};
        Pump(0);
    }
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 60000; Pump(50)) {
        bool open = false;
        for (const auto& w : gWindows) {
            open = open || (w.name[0] == 'p' && w.sysCloses == 0 && IsWindow(w.hwnd));
        }
        if (!open) {
            break;
        }
    }
}

