#include "platform/win32/Win32WindowWatch.h"

#include <algorithm>

#include "platform/win32/Win32Desktop.h"

namespace {

constexpr std::uint64_t kDayMs = 24ull * 60 * 60 * 1000;

// The hook procedures take no context; only the watching thread reads this.
IWindowWatchSink* gSink = nullptr;

HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        gSink->OnInput(true, static_cast<std::uint32_t>(wParam), reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->time);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        gSink->OnInput(false, static_cast<std::uint32_t>(wParam), reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->time);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK WindowEventProc(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD time) {
    // The event also stands for other accessible objects (carets, scroll
    // bars, list items); only a window itself is one.
    if (hwnd != nullptr && object == OBJID_WINDOW && child == CHILDID_SELF) {
        gSink->OnWindowCreated(reinterpret_cast<WindowId>(hwnd), time);
    }
}

struct StartUp {
    HANDLE ready;
    bool hooked;
};

// Vista and later may ask any process for less; XP only knows the full
// query right.
HANDLE OpenForQuery(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    return process != nullptr ? process : OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
}

std::uint64_t FileTimeValue(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::string Win32WatchedWindows::ClassName(WindowId window) const {
    char name[256] = {};
    return GetClassNameA(ToHwnd(window), name, sizeof(name)) > 0 ? name : "";
}

std::optional<WindowShape> Win32WatchedWindows::Shape(WindowId window) const {
    HWND hwnd = ToHwnd(window);
    WindowShape shape;
    DWORD processId = 0;
    if (GetWindowThreadProcessId(hwnd, &processId) == 0) {
        return std::nullopt;
    }
    shape.processId = processId;
    shape.style = static_cast<std::uint32_t>(GetWindowLongA(hwnd, GWL_STYLE));
    shape.topLevel = GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow();
    shape.owned = GetWindow(hwnd, GW_OWNER) != nullptr;
    return shape;
}

std::optional<ProcessFacts> Win32WatchedWindows::Process(std::uint32_t processId) const {
    HANDLE process = OpenForQuery(processId);
    if (process == nullptr) {
        return std::nullopt;
    }
    // One handle for both questions: this runs on the thread that answers
    // the desktop's low-level input hooks.
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    const bool timed = GetProcessTimes(process, &created, &exited, &kernel, &user) != FALSE;
    ProcessFacts facts{ProcessProgramPath(processId, process), 0};
    CloseHandle(process);
    GetSystemTimeAsFileTime(&now);
    if (!timed || facts.programPath.empty()) {
        return std::nullopt;
    }
    // The start as a tick count. Both times are in 100 ns units; the age is
    // held to a day, so that it always fits the tick count's signed
    // distances (a clock set back makes it 0).
    const std::uint64_t start = FileTimeValue(created), at = FileTimeValue(now);
    const std::uint64_t ageMs = at > start ? std::min<std::uint64_t>((at - start) / 10000, kDayMs) : 0;
    facts.startTick = GetTickCount() - static_cast<std::uint32_t>(ageMs);
    return facts;
}

std::uint32_t Win32WatchedWindows::ForegroundProcessId() const {
    DWORD processId = 0;
    HWND front = GetForegroundWindow();
    return front != nullptr && GetWindowThreadProcessId(front, &processId) != 0 ? processId : 0;
}

bool Win32WindowWatch::Start() {
    if (Running()) {
        return true;
    }
    gSink = &sink;
    StartUp startUp{CreateEventA(nullptr, TRUE, FALSE, nullptr), false};
    thread = startUp.ready != nullptr ? CreateThread(nullptr, 0, Run, &startUp, 0, &threadId) : nullptr;
    if (thread != nullptr) {
        // The whole desktop's input passes through its hooks.
        SetThreadPriority(thread, THREAD_PRIORITY_ABOVE_NORMAL);
        WaitForSingleObject(startUp.ready, INFINITE);
    }
    if (startUp.ready != nullptr) {
        CloseHandle(startUp.ready);
    }
    if (thread != nullptr && !startUp.hooked) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    return thread != nullptr;
}

void Win32WindowWatch::Stop() {
    if (!Running()) {
        return;
    }
    // The thread's queue exists before Start returns, so the quit is not lost.
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
}

DWORD WINAPI Win32WindowWatch::Run(void* parameter) {
    auto* startUp = static_cast<StartUp*>(parameter);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
    HINSTANCE self = GetModuleHandleA(nullptr);
    HWINEVENTHOOK created = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowEventProc, 0, 0,
                                            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, self, 0);
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, self, 0);
    const bool hooked = created != nullptr && keyboard != nullptr && mouse != nullptr;
    startUp->hooked = hooked;
    SetEvent(startUp->ready);  // startUp is gone from here on
    while (hooked && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    if (created != nullptr) {
        UnhookWinEvent(created);
    }
    for (HHOOK hook : {keyboard, mouse}) {
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
    }
    return 0;
}
