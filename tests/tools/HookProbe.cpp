// HookProbe: stands in for the main window when a test watches the hook
// library's raw posts. It owns a top-level "#32770" window titled
// "Tarnelix 3.0", installs Wendle's hooks and logs every report.
//
//   HookProbe.exe LOGFILE WENDLE_DLL LIFETIME_MS
//
// LOGFILE gets "ready HANDLE TICK" and then a line "new|kill HANDLE TICK"
// per report, written at once. The probe ends on WM_CLOSE or after
// LIFETIME_MS, removing the hooks.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

using HookFunction = void (*)();

void Log(FILE* log, const char* kind, LPARAM window) {
    std::fprintf(log, "%s %llu %lu\n", kind, static_cast<unsigned long long>(window),
                 static_cast<unsigned long>(GetTickCount()));
    std::fflush(log);
}

}  // namespace

int main(int argc, char** argv) {
    FILE* log = argc == 4 ? std::fopen(argv[1], "w") : nullptr;
    HMODULE wendle = argc == 4 ? LoadLibraryA(argv[2]) : nullptr;
    if (log == nullptr || wendle == nullptr) {
        return 2;
    }
    const UINT newWindow = RegisterWindowMessageA("WM_TARNELIX_NEW_WINDOW_CREATED");
    const UINT killPopup = RegisterWindowMessageA("WM_TARNELIX_KILL_POPUP_WINDOW");
    // The dialog class gives the same class name as the real main window.
    HWND main = CreateWindowExA(0, "#32770", "Tarnelix 3.0", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    auto initialise = reinterpret_cast<HookFunction>(GetProcAddress(wendle, "Initialise"));
    auto shutdown = reinterpret_cast<HookFunction>(GetProcAddress(wendle, "Shutdown"));
    if (main == nullptr || initialise == nullptr || shutdown == nullptr) {
        return 3;
    }
    initialise();
    Log(log, "ready", reinterpret_cast<LPARAM>(main));

    const DWORD lifetime = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 0));
    const DWORD start = GetTickCount();
    bool running = true;
    while (running && IsWindow(main) && GetTickCount() - start < lifetime) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == newWindow || msg.message == killPopup) {
                Log(log, msg.message == newWindow ? "new" : "kill", msg.lParam);
            }
            running = running && msg.message != WM_CLOSE;
            DispatchMessageA(&msg);
        }
    }
    shutdown();
    DestroyWindow(main);
    std::fclose(log);
    return 0;
}
