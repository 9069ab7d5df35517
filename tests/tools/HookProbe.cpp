// HookProbe: stands in for the main window when a test watches the hook
// library's raw posts. It owns a top-level "#32770" window titled
// "Tarnelix 3.0", optionally installs the hooks itself, and logs every
// report it receives.
//
//   HookProbe.exe LOGFILE WENDLE_DLL|- LIFETIME_MS
//
// With a DLL path it loads the library and calls Initialise (and Shutdown at
// the end). Each report becomes a line "new|kill HANDLE TICK" in LOGFILE,
// written at once. The probe ends on WM_CLOSE or after LIFETIME_MS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using HookFunction = void (*)();

void Log(FILE* log, const char* kind, LPARAM window) {
    std::fprintf(log, "%s %llu %lu\n", kind, static_cast<unsigned long long>(window),
                 static_cast<unsigned long>(GetTickCount()));
    std::fflush(log);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: HookProbe LOGFILE WENDLE_DLL|- LIFETIME_MS\n");
        return 2;
    }
    FILE* log = std::fopen(argv[1], "w");
    if (log == nullptr) {
        return 3;
    }
    const UINT newWindow = RegisterWindowMessageA("WM_TARNELIX_NEW_WINDOW_CREATED");
    const UINT killPopup = RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW");
    // The dialog class gives the same class name as the real main window.
    HWND main = CreateWindowExA(0, "#32770", "Tarnelix 3.0", WS_POPUP, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (main == nullptr) {
        return 4;
    }
    HMODULE wendle = nullptr;
    if (std::strcmp(argv[2], "-") != 0) {
        wendle = LoadLibraryA(argv[2]);
        if (wendle == nullptr) {
            return 5;
        }
        auto initialise = reinterpret_cast<HookFunction>(GetProcAddress(wendle, "Initialise"));
        if (initialise == nullptr) {
            return 6;
        }
        initialise();
    }
    std::fprintf(log, "ready %llu %lu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(main)),
                 static_cast<unsigned long>(GetTickCount()));
    std::fflush(log);

    const DWORD lifetime = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 0));
    const DWORD start = GetTickCount();
    bool running = true;
    while (running && GetTickCount() - start < lifetime) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == newWindow) {
                Log(log, "new", msg.lParam);
            } else if (msg.message == killPopup) {
                Log(log, "kill", msg.lParam);
            } else if (msg.message == WM_CLOSE || (msg.hwnd == main && msg.message == WM_QUIT)) {
                running = false;
            }
            DispatchMessageA(&msg);
        }
        if (!IsWindow(main)) {
            running = false;
        }
    }
    if (wendle != nullptr) {
        if (auto shutdown = reinterpret_cast<HookFunction>(GetProcAddress(wendle, "Shutdown"))) {
            shutdown();
        }
    }
    DestroyWindow(main);
    std::fclose(log);
    return 0;
}
