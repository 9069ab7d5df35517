// TestBrowser: a scriptable stand-in for the browsers and messengers that
// the hook library watches. The Wine tests copy it under the file names the
// hook recognises (IEXPLORE.EXE, NETSCAPE.EXE, AOL.EXE, ...).
//
//   TestBrowser.exe OUTFILE COMMAND...
//
// Commands, run in order (numbers may be decimal or 0x-hex):
//   create NAME CLASS STYLE TITLE PARENT     a window; PARENT names an earlier one, or -
//   key ctrl+n|ctrl+w|enter|n|w|ctrl         a key press through SendInput
//   press ctrl / release ctrl                 hold the Ctrl key down, let it go
//   click left|right TARGET                   a click on window TARGET (- for the
//                                             browser's own input window)
//   wait MS                                   pump messages for MS ms
//   hold NAME MS                              pump until NAME has closed, at most MS ms
// At the end OUTFILE gets one line per window:
//   NAME hwnd=HANDLE created=TICK sysclose=N close=N destroyed=0|1 firstclose=TICK style=HEX
// so a test sees which close commands each window received, and when.
#include <windows.h>

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
    int sysCloseCount = 0;
    int closeCount = 0;
    bool destroyed = false;
    DWORD firstCloseTick = 0;
};

std::vector<TrackedWindow> gWindows;
HWND gInputWindow = nullptr;

TrackedWindow* Find(HWND hwnd) {
    for (auto& window : gWindows) {
        if (window.hwnd == hwnd) {
            return &window;
        }
    }
    return nullptr;
}

TrackedWindow* FindByName(const std::string& name) {
    for (auto& window : gWindows) {
        if (window.name == name) {
            return &window;
        }
    }
    return nullptr;
}

void NoteClose(TrackedWindow* window, bool sysCommand) {
    if (window == nullptr) {
        return;
    }
    (sysCommand ? window->sysCloseCount : window->closeCount)++;
    if (window->firstCloseTick == 0) {
        window->firstCloseTick = GetTickCount();
    }
}

LRESULT CALLBACK TrackedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            NoteClose(Find(hwnd), true);
        }
        break;
    case WM_CLOSE:
        NoteClose(Find(hwnd), false);
        break;
    case WM_DESTROY:
        if (TrackedWindow* window = Find(hwnd)) {
            window->destroyed = true;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Registers CLASS on first use. Predefined classes such as "#32770" or
// "Static" are used as they are, and such windows are subclassed instead.
bool EnsureClass(const char* className) {
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, className, &existing) ||
        GetClassInfoA(GetModuleHandleA(nullptr), className, &existing)) {
        return true;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = TrackedProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

bool Create(const char* name, const char* className, DWORD style, const char* title, const char* parentName) {
    HWND parent = nullptr;
    if (parentName != nullptr) {
        TrackedWindow* p = FindByName(parentName);
        if (p == nullptr) {
            return false;
        }
        parent = p->hwnd;
    }
    if (!EnsureClass(className)) {
        return false;
    }
    // Track the window before it exists, so that messages sent during its
    // creation already find it.
    // Fields by name: a positional initialiser silently shifts when a field
    // is added to TrackedWindow.
    TrackedWindow tracked;
    tracked.name = name;
    tracked.createdTick = GetTickCount();
    gWindows.push_back(tracked);
    size_t index = gWindows.size() - 1;
    HWND hwnd = CreateWindowExA(0, className, title, style, 40 + 20 * static_cast<int>(index),
                                40 + 20 * static_cast<int>(index), 320, 200, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        gWindows.pop_back();
        return false;
    }
    gWindows[index].hwnd = hwnd;
    gWindows[index].style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(TrackedProc)) {
        // A predefined class: watch it through a subclass. CallWindowProc
        // would be needed to chain; predefined classes here only need
        // their close commands recorded and the default behaviour.
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrackedProc));
    }
    return true;
}

void SendKey(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(INPUT));
}

void SendKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Key(const char* what) {
    SetForegroundWindow(gInputWindow);
    Pump(50);
    if (std::strcmp(what, "ctrl+n") == 0) SendKeys({VK_CONTROL, 'N'});
    else if (std::strcmp(what, "ctrl+w") == 0) SendKeys({VK_CONTROL, 'W'});
    else if (std::strcmp(what, "enter") == 0) SendKeys({VK_RETURN});
    else if (std::strcmp(what, "n") == 0) SendKeys({'N'});
    else if (std::strcmp(what, "w") == 0) SendKeys({'W'});
    else if (std::strcmp(what, "ctrl") == 0) SendKeys({VK_CONTROL});
    else return false;
    Pump(50);
    return true;
}

bool Click(const char* button, const char* targetName) {
    HWND target = gInputWindow;
    if (targetName != nullptr) {
        TrackedWindow* window = FindByName(targetName);
        if (window == nullptr) {
            return false;
        }
        target = window->hwnd;
    }
    SetForegroundWindow(GetAncestor(target, GA_ROOT));
    Pump(50);
    RECT rect;
    GetWindowRect(target, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Pump(20);
    bool right = std::strcmp(button, "right") == 0;
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    Pump(50);
    return true;
}

void Hold(const char* name, DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        TrackedWindow* window = FindByName(name);
        if (window == nullptr || window->destroyed || window->sysCloseCount + window->closeCount > 0) {
            return;
        }
        Pump(10);
    }
}

void WriteReport(const char* path) {
    FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        return;
    }
    for (const auto& w : gWindows) {
        std::fprintf(out, "%s hwnd=%llu created=%lu sysclose=%d close=%d destroyed=%d firstclose=%lu style=%08lx\n",
                     w.name.c_str(), static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w.hwnd)),
                     static_cast<unsigned long>(w.createdTick), w.sysCloseCount,
                     w.closeCount, w.destroyed ? 1 : 0, static_cast<unsigned long>(w.firstCloseTick),
                     static_cast<unsigned long>(w.style));
    }
    std::fclose(out);
}

void CreateInputWindow() {
    EnsureClass("TestBrowserInput");
    // No system-menu style: this window is never taken for a frame.
    gInputWindow = CreateWindowExA(0, "TestBrowserInput", "TestBrowser input", WS_POPUP | WS_VISIBLE,
                                   600, 500, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

DWORD Number(const char* text) {
    return static_cast<DWORD>(std::strtoul(text, nullptr, 0));
}

// Runs the commands; returns the index of a failing command, or -1.
int Run(int argc, char** argv) {
    int i = 2;
    while (i < argc) {
        const char* verb = argv[i];
        int start = i;
        auto has = [&](int n) { return i + n < argc; };
        bool ok = false;
        if (std::strcmp(verb, "create") == 0 && has(5)) {
            const char* parent = std::strcmp(argv[i + 5], "-") == 0 ? nullptr : argv[i + 5];
            ok = Create(argv[i + 1], argv[i + 2], Number(argv[i + 3]), argv[i + 4], parent);
            i += 6;
        } else if (std::strcmp(verb, "key") == 0 && has(1)) {
            ok = Key(argv[i + 1]);
            i += 2;
        } else if ((std::strcmp(verb, "press") == 0 || std::strcmp(verb, "release") == 0) && has(1) &&
                   std::strcmp(argv[i + 1], "ctrl") == 0) {
            SetForegroundWindow(gInputWindow);
            Pump(30);
            SendKey(VK_CONTROL, verb[0] == 'r');
            Pump(30);
            ok = true;
            i += 2;
        } else if (std::strcmp(verb, "click") == 0 && has(2)) {
            ok = Click(argv[i + 1], std::strcmp(argv[i + 2], "-") == 0 ? nullptr : argv[i + 2]);
            i += 3;
        } else if (std::strcmp(verb, "wait") == 0 && has(1)) {
            Pump(Number(argv[i + 1]));
            ok = true;
            i += 2;
        } else if (std::strcmp(verb, "hold") == 0 && has(2)) {
            Hold(argv[i + 1], Number(argv[i + 2]));
            ok = true;
            i += 3;
        }
        if (!ok) {
            return start;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: TestBrowser OUTFILE COMMAND...\n");
        return 2;
    }
    CreateInputWindow();
    Pump(100);
    int failed = Run(argc, argv);
    WriteReport(argv[1]);
    if (failed >= 0) {
        std::fprintf(stderr, "TestBrowser: command %d (%s) failed\n", failed, argv[failed]);
        return 3;
    }
    return 0;
}
