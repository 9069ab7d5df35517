// TestBrowser: a scriptable stand-in for the watched browsers and messengers,
// copied under their file names.   TestBrowser.exe OUTFILE COMMAND...
// Commands, run in order (numbers decimal or 0x-hex):
//   create NAME CLASS STYLE TITLE PARENT  a window; PARENT names an earlier one, or -
//   key|press|release KEYS                SendInput keys: "ctrl+n", "n", "enter", "ctrl"
//   click                                 a left click on the input window through SendInput
//   helpers N PERIOD                      N hidden "Chrome_WidgetWin_1" tooltips and menus,
//                                         one per PERIOD ms, destroyed ten windows later
//   wait MS                               pump messages for MS ms
//   hold NAME MS                          pump until NAME got a close command, at most MS ms
//   flood NAME PERIOD MS                  "IEFrame" frames NAME.i every PERIOD ms until one got a
//                                         close command, at most MS ms
//   stall MS                              no pumping for MS ms, so timers stay pending; the
//                                         input window is titled "stalled" meanwhile
//   unload                                drops the hooks' reference to Wendle.dll (as Windows does)
//   ownedwait NAME                        a second thread creates a "Shell Embedding" popup
//                                         owned by NAME while this thread waits, not pumping
//   soak ROUNDS MOVES                     per round: MOVES mouse moves, an open menu and "n",
//                                         then frame u.R (let through), popup frame p.R, a child,
//                                         a dialog and a frame without the system menu; at the end
//                                         waits up to 60 s for every p.R to get its close command
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

namespace {

struct TrackedWindow {
    std::string name;
    HWND hwnd = nullptr;
    DWORD style = 0, createdTick = 0, firstCloseTick = 0;
    int sysCloses = 0, closes = 0, timerMessages = 0;
};

std::vector<TrackedWindow> gWindows;
// Index into gWindows by handle: a soak run creates tens of thousands.
std::unordered_map<HWND, size_t> gIndex;
HWND gInputWindow = nullptr;
int gKeyUps = 0;

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

// Takes what is queued at least once, also for 0 ms.
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
