// TestBrowser: a scriptable stand-in for the browsers and messengers that
// the hook library watches. The Wine tests copy it under the file names the
// hook recognises (IEXPLORE.EXE, NETSCAPE.EXE, AOL.EXE, ...).
//
//   TestBrowser.exe OUTFILE COMMAND...
//
// Commands, run in order (numbers may be decimal or 0x-hex):
//   create NAME CLASS STYLE TITLE PARENT  a window; PARENT names an earlier one, or -
//   key ctrl+n|n|enter...                 a key press through SendInput
//   press ctrl / release ctrl             hold the Ctrl key down, let it go
//   wait MS                               pump messages for MS ms
//   hold NAME MS                          pump until NAME got a close command, at most MS ms
//   flood MS PERIOD                       an "IEFrame" frame every PERIOD ms for MS ms
//   ownedwait NAME                        a second thread creates a "Shell Embedding"
//                                         popup owned by NAME while this thread waits
//                                         for it without pumping
//   stall MS                              no pumping for MS ms, so timers stay pending;
//                                         the input window is titled "stalled" meanwhile
//   unload                                drops the reference to Wendle.dll that the
//                                         system took for the hooks, as Windows does in
//                                         every host once the hooks are removed (Wine
//                                         keeps hook libraries mapped for good)
// Windows of class "TarnelixFullText" fill the whole WM_GETTEXT buffer and
// leave it unterminated; windows titled "OwnTimers" start repeating timers
// 100 and 101 of their own when they are created. At the end OUTFILE gets one line per window:
//   NAME HWND CREATED_TICK SYSCLOSES CLOSES FIRST_CLOSE_TICK TIMER_MESSAGES STYLE_HEX
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TrackedWindow {
    std::string name;
    HWND hwnd = nullptr;
    DWORD style = 0;
    DWORD createdTick = 0;
    int sysCloses = 0;
    int closes = 0;
    DWORD firstCloseTick = 0;
    int timerMessages = 0;
};

std::vector<TrackedWindow> gWindows;
HWND gInputWindow = nullptr;

TrackedWindow* Find(HWND hwnd, const char* name = nullptr) {
    for (auto& window : gWindows) {
        if (name != nullptr ? window.name == name : window.hwnd == hwnd) {
            return &window;
        }
    }
    return nullptr;
}

LRESULT CALLBACK TrackedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TrackedWindow* window = Find(hwnd);
    const bool sysClose = msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE;
    if (window != nullptr && (sysClose || msg == WM_CLOSE)) {
        (sysClose ? window->sysCloses : window->closes)++;
        if (window->firstCloseTick == 0) {
            window->firstCloseTick = GetTickCount();
        }
    }
    if (msg == WM_NCCREATE) {
        const char* title = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName;
        if (title != nullptr && std::strcmp(title, "OwnTimers") == 0) {
            SetTimer(hwnd, 100, 30, nullptr);
            SetTimer(hwnd, 101, 30, nullptr);
        }
    }
    if (msg == WM_GETTEXT && wParam > 0) {
        char className[32] = {};
        GetClassNameA(hwnd, className, sizeof(className) - 1);
        if (std::strcmp(className, "TarnelixFullText") == 0) {
            std::memset(reinterpret_cast<char*>(lParam), 'N', wParam);
            return static_cast<LRESULT>(wParam);
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Registers CLASS on first use; predefined classes ("#32770", "Static")
// are subclassed after creation instead.
bool EnsureClass(const char* className) {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, className, &wc) || GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) {
        return true;
    }
    wc.lpfnWndProc = TrackedProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Wendle's one-shot timers: each fires once unless its routine
            // is gone, when the system swallows the fault and fires again.
            TrackedWindow* window = msg.message == WM_TIMER ? Find(msg.hwnd) : nullptr;
            if (window != nullptr) {
                ++window->timerMessages;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

HWND CreateTracked(const std::string& name, const char* className, DWORD style, const char* title, HWND parent) {
    if (!EnsureClass(className)) {
        return nullptr;
    }
    // Tracked before it exists, so that messages sent during its creation
    // already find it.
    TrackedWindow tracked;
    tracked.name = name;
    tracked.createdTick = GetTickCount();
    gWindows.push_back(tracked);
    const int offset = 40 + 20 * static_cast<int>(gWindows.size() % 20);
    HWND hwnd = CreateWindowExA(0, className, title, style, offset, offset, 320, 200, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        gWindows.pop_back();
        return nullptr;
    }
    gWindows.back().hwnd = hwnd;
    gWindows.back().style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(TrackedProc)) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrackedProc));
    }
    return hwnd;
}

void SendKeys(const std::vector<WORD>& keys, bool down, bool up) {
    std::vector<INPUT> inputs;
    for (size_t i = 0; down && i < keys.size(); ++i) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = keys[i];
        inputs.push_back(in);
    }
    for (size_t i = keys.size(); up && i-- > 0;) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = keys[i];
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SetForegroundWindow(gInputWindow);
    Pump(30);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(30);
}

// "ctrl+n", "n", "enter", "ctrl": the keys, pressed in order.
std::vector<WORD> ParseKeys(std::string text) {
    std::vector<WORD> keys;
    if (text.rfind("ctrl", 0) == 0) {
        keys.push_back(VK_CONTROL);
        text = text.size() > 5 ? text.substr(5) : "";
    }
    if (text == "enter") {
        keys.push_back(VK_RETURN);
    } else if (text.size() == 1) {
        keys.push_back(static_cast<WORD>(std::toupper(static_cast<unsigned char>(text[0]))));
    }
    return keys;
}

void Hold(const char* name, DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        const TrackedWindow* window = Find(nullptr, name);
        if (window == nullptr || window->sysCloses + window->closes > 0 || !IsWindow(window->hwnd)) {
            return;
        }
        Pump(10);
    }
}

void Flood(DWORD ms, DWORD period) {
    const DWORD start = GetTickCount();
    for (int i = 0; GetTickCount() - start < ms; ++i) {
        CreateTracked("flood" + std::to_string(i), "IEFrame", 0x16CF0000, "Flood", nullptr);
        Pump(period);
    }
}

struct OwnedPopup {
    HWND owner;
    HANDLE done;
};

DWORD WINAPI CreateOwnedPopup(void* parameter) {
    auto* job = static_cast<OwnedPopup*>(parameter);
    HWND popup = CreateWindowExA(0, "Shell Embedding", "", WS_POPUP, 0, 0, 50, 50, job->owner, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetEvent(job->done);
    if (popup != nullptr) {
        DestroyWindow(popup);
    }
    return 0;
}

// The owner's thread waits without pumping: a hook in the second thread
// that sends the owner a message would hang both threads for good.
bool OwnedWait(const char* ownerName) {
    const TrackedWindow* owner = Find(nullptr, ownerName);
    if (owner == nullptr || !EnsureClass("Shell Embedding")) {
        return false;
    }
    OwnedPopup job{owner->hwnd, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = CreateThread(nullptr, 0, CreateOwnedPopup, &job, 0, nullptr);
    WaitForSingleObject(job.done, INFINITE);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(job.done);
    return true;
}

void WriteReport(const char* path) {
    if (FILE* out = std::fopen(path, "w")) {
        for (const auto& w : gWindows) {
            std::fprintf(out, "%s %llu %lu %d %d %lu %d %08lx\n", w.name.c_str(),
                         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w.hwnd)),
                         static_cast<unsigned long>(w.createdTick), w.sysCloses, w.closes,
                         static_cast<unsigned long>(w.firstCloseTick), w.timerMessages,
                         static_cast<unsigned long>(w.style));
        }
        std::fclose(out);
    }
}

DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 0)); }

// Runs one command at argv[i]; the number of arguments it took, 0 on failure.
int RunCommand(int argc, char** argv, int i) {
    const std::string verb = argv[i];
    const auto has = [&](int n) { return i + n < argc; };
    if (verb == "create" && has(5)) {
        const TrackedWindow* parent = Find(nullptr, argv[i + 5]);
        if (parent == nullptr && std::strcmp(argv[i + 5], "-") != 0) {
            return 0;
        }
        return CreateTracked(argv[i + 1], argv[i + 2], Number(argv[i + 3]), argv[i + 4],
                             parent != nullptr ? parent->hwnd : nullptr) != nullptr ? 6 : 0;
    }
    if ((verb == "key" || verb == "press" || verb == "release") && has(1)) {
        SendKeys(ParseKeys(argv[i + 1]), verb != "release", verb != "press");
        return 2;
    }
    if (verb == "wait" && has(1)) {
        Pump(Number(argv[i + 1]));
        return 2;
    }
    if (verb == "hold" && has(2)) {
        Hold(argv[i + 1], Number(argv[i + 2]));
        return 3;
    }
    if (verb == "flood" && has(2)) {
        Flood(Number(argv[i + 1]), Number(argv[i + 2]));
        return 3;
    }
    if (verb == "stall" && has(1)) {
        SetWindowTextA(gInputWindow, "stalled");
        Sleep(Number(argv[i + 1]));
        SetWindowTextA(gInputWindow, "TestBrowser input");
        return 2;
    }
    if (verb == "unload") {
        HMODULE wendle = GetModuleHandleA("Wendle.dll");
        return wendle != nullptr && FreeLibrary(wendle) ? 1 : 0;
    }
    if (verb == "ownedwait" && has(1)) {
        return OwnedWait(argv[i + 1]) ? 2 : 0;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: TestBrowser OUTFILE COMMAND...\n");
        return 2;
    }
    EnsureClass("TestBrowserInput");
    // No system-menu style: this window is never taken for a frame.
    gInputWindow = CreateWindowExA(0, "TestBrowserInput", "TestBrowser input", WS_POPUP | WS_VISIBLE, 600, 500, 200,
                                   120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(100);
    int failed = -1;
    for (int i = 2; i < argc && failed < 0;) {
        const int taken = RunCommand(argc, argv, i);
        failed = taken == 0 ? i : -1;
        i += taken;
    }
    WriteReport(argv[1]);
    if (failed >= 0) {
        std::fprintf(stderr, "TestBrowser: command %d (%s) failed\n", failed, argv[failed]);
        return 3;
    }
    return 0;
}
