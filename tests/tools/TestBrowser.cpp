// TestBrowser: a scriptable stand-in for the watched browsers and messengers,
// copied under their file names.   TestBrowser.exe OUTFILE COMMAND...
// Commands, run in order (numbers decimal or 0x-hex):
//   create NAME CLASS STYLE TITLE PARENT  a window; PARENT names an earlier one, or -
//   key|press|release KEYS                SendInput keys: "ctrl+n", "n", "enter", "ctrl"
//   click                                 a left click on the input window through SendInput
//   wait MS                               pump messages for MS ms
//   hold NAME MS                          pump until NAME got a close command, at most MS ms
//   flood NAME PERIOD MS                  "IEFrame" frames NAME.i every PERIOD ms until one got a
//                                         close command, at most MS ms
//   stall MS                              no pumping for MS ms, so timers stay pending; the
//                                         input window is titled "stalled" meanwhile
//   unload                                drops the hooks' reference to Wendle.dll (as Windows does)
//   ownedwait NAME                        a second thread creates a "Shell Embedding" popup
//                                         owned by NAME while this thread waits, not pumping
//   helpers N PERIOD, soak ROUNDS MOVES   the timing programs' load (tests/bench/wine/BrowserLoad.h)
// Class "TarnelixFullText" fills the WM_GETTEXT buffer unterminated; title
// "OwnTimers" starts timers 100 and 101. At the end OUTFILE gets per window
//   NAME HWND CREATED_TICK SYSCLOSES CLOSES FIRST_CLOSE_TICK TIMER_MESSAGES STYLE_HEX
#include <windows.h>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "BrowserLoad.h"

std::vector<TrackedWindow> gWindows;
HWND gInputWindow = nullptr;
int gKeyUps = 0;

namespace {

// Index into gWindows by handle: a soak run creates tens of thousands.
std::unordered_map<HWND, size_t> gIndex;

TrackedWindow* Find(HWND hwnd, const char* name = nullptr) {
    if (name == nullptr) {
        const auto found = gIndex.find(hwnd);
        return found != gIndex.end() ? &gWindows[found->second] : nullptr;
    }
    for (auto& window : gWindows) {
        if (window.name == name) {
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
        window->firstCloseTick = window->firstCloseTick != 0 ? window->firstCloseTick : GetTickCount();
    }
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof(className) - 1);
    if (msg == WM_GETTEXT && wParam > 0 && std::strcmp(className, "TarnelixFullText") == 0) {
        std::memset(reinterpret_cast<char*>(lParam), 'N', wParam);
        return static_cast<LRESULT>(wParam);
    }
    if (msg == WM_NCDESTROY) {
        gIndex.erase(hwnd);  // the system may hand the handle out again
    }
    const char* title = msg == WM_NCCREATE ? reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName : nullptr;
    if (title != nullptr && std::strcmp(title, "OwnTimers") == 0) {
        SetTimer(hwnd, 100, 30, nullptr);
        SetTimer(hwnd, 101, 30, nullptr);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Registers CLASS on first use; predefined classes are subclassed instead.
bool EnsureClass(const char* className) {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, className, &wc) || GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return true;
    wc.lpfnWndProc = TrackedProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            // Wendle's one-shot timers: each fires once unless its routine
            // is gone, when the system swallows the fault and fires again.
            if (TrackedWindow* window = msg.message == WM_TIMER ? Find(msg.hwnd) : nullptr) {
                ++window->timerMessages;
            }
            gKeyUps += msg.message == WM_KEYUP ? 1 : 0;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } while (GetTickCount() - start < ms && MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT) != WAIT_FAILED);
}

HWND CreateTracked(const std::string& name, const char* className, DWORD style, const char* title, HWND parent) {
    if (!EnsureClass(className)) return nullptr;
    // Tracked before it exists, for the messages of its creation.
    gWindows.push_back({name, nullptr, 0, GetTickCount()});
    const int offset = 40 + 20 * static_cast<int>(gWindows.size() % 20);
    HWND hwnd = CreateWindowExA(0, className, title, style, offset, offset, 320, 200, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        gWindows.pop_back();
        return nullptr;
    }
    gWindows.back().hwnd = hwnd;
    gIndex[hwnd] = gWindows.size() - 1;
    gWindows.back().style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(TrackedProc)) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrackedProc));
    }
    return hwnd;
}

namespace {

void SendKeys(std::string text, bool down, bool up) {
    std::vector<WORD> keys;
    if (text.rfind("ctrl", 0) == 0) {
        keys.push_back(VK_CONTROL);
        text = text.size() > 5 ? text.substr(5) : "";
    }
    if (!text.empty()) {
        keys.push_back(text == "enter" ? VK_RETURN : static_cast<WORD>(std::toupper(static_cast<unsigned char>(text[0]))));
    }
    std::vector<INPUT> inputs;
    for (size_t i = 0; i < 2 * keys.size(); ++i) {
        const bool release = i >= keys.size();
        if (release ? up : down) {
            inputs.emplace_back();
            inputs.back().type = INPUT_KEYBOARD;
            inputs.back().ki.wVk = keys[release ? 2 * keys.size() - 1 - i : i];
            inputs.back().ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
        }
    }
    SetForegroundWindow(gInputWindow);
    Pump(30);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(30);
}

void Click() {
    RECT rect{};
    GetWindowRect(gInputWindow, &rect);
    INPUT inputs[3] = {{INPUT_MOUSE, {}}, {INPUT_MOUSE, {}}, {INPUT_MOUSE, {}}};
    inputs[0].mi.dx = (rect.left + rect.right) / 2 * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = (rect.top + rect.bottom) / 2 * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SetForegroundWindow(gInputWindow);
    Pump(30);
    SendInput(3, inputs, sizeof(INPUT));
    Pump(30);
}

// hold: until the window `name` got a close command or is gone. flood: a
// frame name.i every `period` ms until one of them got a close command.
void Hold(const std::string& name, DWORD period, DWORD ms) {
    const std::string prefix = name + ".";
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Pump(period > 0 ? period : 10)) {
        for (const auto& w : gWindows) {
            const bool closed = w.sysCloses + w.closes > 0 || !IsWindow(w.hwnd);
            if (closed && (period > 0 ? w.name.rfind(prefix, 0) == 0 : w.name == name)) return;
        }
        if (period > 0) {
            CreateTracked(prefix + std::to_string(gWindows.size()), "IEFrame", 0x16CF0000, "Flood", nullptr);
        } else if (Find(nullptr, name.c_str()) == nullptr) {
            return;
        }
    }
}

DWORD WINAPI CreateOwnedPopup(void* owner) {
    DestroyWindow(CreateWindowExA(0, "Shell Embedding", "", WS_POPUP, 0, 0, 50, 50, static_cast<HWND>(owner), nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    return 0;
}

// The owner's thread waits without pumping: a hook sending it a message would hang.
bool OwnedWait(const char* ownerName) {
    const TrackedWindow* owner = Find(nullptr, ownerName);
    if (owner == nullptr || !EnsureClass("Shell Embedding")) return false;
    HANDLE thread = CreateThread(nullptr, 0, CreateOwnedPopup, owner->hwnd, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return true;
}

DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 0)); }

// Runs the command at argv[i]; the number of arguments it took, 0 on failure.
int RunCommand(int argc, char** argv, int i) {
    static const std::pair<const char*, int> kArgumentCounts[] = {
        {"create", 5}, {"key", 1},   {"press", 1}, {"release", 1}, {"wait", 1},
        {"hold", 2},   {"flood", 3}, {"stall", 1}, {"unload", 0},  {"ownedwait", 1},
        {"click", 0},  {"helpers", 2}, {"soak", 2}};
    const std::string verb = argv[i];
    int n = -1;
    for (const auto& [name, count] : kArgumentCounts) n = verb == name ? count : n;
    if (n < 0 || i + n >= argc) return 0;
    char** a = argv + i + 1;
    bool ok = true;
    if (verb == "create") {
        const TrackedWindow* parent = Find(nullptr, a[4]);
        ok = (parent != nullptr || std::strcmp(a[4], "-") == 0) &&
             CreateTracked(a[0], a[1], Number(a[2]), a[3], parent != nullptr ? parent->hwnd : nullptr) != nullptr;
    } else if (verb == "key" || verb == "press" || verb == "release") {
        SendKeys(a[0], verb != "release", verb != "press");
    } else if (verb == "click") {
        Click();
    } else if (verb == "helpers") {
        Helpers(Number(a[0]), Number(a[1]));
    } else if (verb == "wait") {
        Pump(Number(a[0]));
    } else if (verb == "hold" || verb == "flood") {
        Hold(a[0], verb == "flood" ? Number(a[1]) : 0, Number(a[n - 1]));
    } else if (verb == "stall") {
        SetWindowTextA(gInputWindow, "stalled");
        Sleep(Number(a[0]));
        SetWindowTextA(gInputWindow, "TestBrowser input");
    } else if (verb == "soak") {
        Soak(static_cast<int>(Number(a[0])), static_cast<int>(Number(a[1])));
    } else if (verb == "unload") {
        ok = FreeLibrary(GetModuleHandleA("Wendle.dll")) != FALSE;
    } else {
        ok = OwnedWait(a[0]);
    }
    return ok ? n + 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    EnsureClass("TestBrowserInput");
    // No system menu: never a frame. A tool window: no taskbar grows for it.
    gInputWindow = CreateWindowExA(WS_EX_TOOLWINDOW, "TestBrowserInput", "TestBrowser input", WS_POPUP | WS_VISIBLE,
                                   600, 500, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(100);
    for (int i = 2, taken = 0; i < argc; i += taken) {
        if ((taken = RunCommand(argc, argv, i)) == 0) {
            std::fprintf(stderr, "TestBrowser: command %d (%s) failed\n", i, argv[i]);
            return 3;
        }
    }
    if (FILE* out = argc > 1 ? std::fopen(argv[1], "w") : nullptr) {
        for (const auto& w : gWindows) {
            std::fprintf(out, "%s %llu %lu %d %d %lu %d %08lx\n", w.name.c_str(),
                         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w.hwnd)),
                         static_cast<unsigned long>(w.createdTick), w.sysCloses, w.closes,
                         static_cast<unsigned long>(w.firstCloseTick), w.timerMessages,
                         static_cast<unsigned long>(w.style));
        }
        std::fclose(out);
    }
    return 0;
}
