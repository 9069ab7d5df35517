// WinCtl: a small command-line tool for the scripts that drive the programs
// under Wine (the demo, manual checks).
//
//   WinCtl wait CLASS TITLE TIMEOUT_MS     wait for a top-level window
//   WinCtl post CLASS TITLE MESSAGE [WP]   post a message to it
//
// Numbers may be decimal or 0x-hex. Exit code 0 on success, 1 on time-out
// or no window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const auto number = [&](int i) { return argc > i ? std::strtoull(argv[i], nullptr, 0) : 0; };
    if (argc >= 5 && std::strcmp(argv[1], "wait") == 0) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < number(4); Sleep(50)) {
            if (HWND window = FindWindowA(argv[2], argv[3])) {
                std::printf("%p\n", static_cast<void*>(window));
                return 0;
            }
        }
        return 1;
    }
    if (argc >= 5 && std::strcmp(argv[1], "post") == 0) {
        HWND window = FindWindowA(argv[2], argv[3]);
        return window != nullptr && PostMessageA(window, static_cast<UINT>(number(4)), number(5), 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: WinCtl wait CLASS TITLE TIMEOUT_MS\n       WinCtl post CLASS TITLE MESSAGE [WPARAM]\n");
    return 2;
}
