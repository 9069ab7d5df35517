// WinCtl: drives the programs under Wine for scripts (the demo, manual checks).
//   WinCtl wait CLASS TITLE TIMEOUT_MS           wait for a top-level window
//   WinCtl post CLASS TITLE MESSAGE [WP [LP]]    post a message to it
//   WinCtl send CLASS TITLE MESSAGE WP LP COUNT  send it COUNT times, in order
//   WinCtl rect CLASS TITLE TIMEOUT_MS           wait for a visible, not empty one;
//                                                prints "X Y WIDTH HEIGHT" on the screen
// Numbers decimal or 0x-hex. Exit code 0 on success, 1 on time-out or no window.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const auto number = [&](int i) { return argc > i ? std::strtoull(argv[i], nullptr, 0) : 0; };
    const char* command = argc >= 5 ? argv[1] : "";
    const bool rect = std::strcmp(command, "rect") == 0;
    if (std::strcmp(command, "wait") == 0 || rect) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < number(4); Sleep(rect ? 10 : 50)) {
            HWND window = FindWindowA(argv[2], argv[3]);
            RECT at{};
            if (window != nullptr && !rect) {
                std::printf("%p\n", static_cast<void*>(window));
                return 0;
            }
            if (rect && window != nullptr && IsWindowVisible(window) && GetWindowRect(window, &at) &&
                at.bottom > at.top) {
                std::printf("%ld %ld %ld %ld\n", at.left, at.top, at.right - at.left, at.bottom - at.top);
                return 0;
            }
        }
        return 1;
    }
    HWND window = argc >= 5 ? FindWindowA(argv[2], argv[3]) : nullptr;
    const auto message = static_cast<UINT>(number(4));
    if (std::strcmp(command, "post") == 0) {
        return window != nullptr && PostMessageA(window, message, number(5), static_cast<LPARAM>(number(6))) ? 0 : 1;
    }
    if (std::strcmp(command, "send") == 0 && window != nullptr) {
        for (auto count = number(7); count > 0; --count) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(window, message, number(5), static_cast<LPARAM>(number(6)), SMTO_NORMAL, 5000,
                                     &result)) {
                return 1;
            }
        }
        return 0;
    }
    std::fprintf(stderr, "usage: WinCtl wait|post|send|rect CLASS TITLE ... (see the source)\n");
    return 2;
}
