// WinCtl: a small command-line tool for scripts that drive the programs
// under Wine (the demo, manual checks).
//
//   WinCtl wait CLASS TITLE TIMEOUT_MS               wait for a top-level window
//   WinCtl post CLASS TITLE MESSAGE [WP [LP]]        post a message to it
//   WinCtl send CLASS TITLE MESSAGE WP LP COUNT      send it COUNT times, in order
//   WinCtl rect CLASS TITLE [TIMEOUT_MS]             "X Y WIDTH HEIGHT" of the first
//                                                    visible one that is not empty,
//                                                    in screen pixels
//
// CLASS or TITLE may be "-" for any. MESSAGE is a number or the name of a
// registered message. Exit code 0 on success, 1 on time-out or no window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* OrAny(const char* text) { return std::strcmp(text, "-") == 0 ? nullptr : text; }

HWND Find(const char* cls, const char* title) { return FindWindowA(OrAny(cls), OrAny(title)); }

HWND FindVisible(const char* cls, const char* title) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, OrAny(cls), nullptr)) != nullptr;) {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof(text));
        RECT rect{};
        GetWindowRect(window, &rect);
        if (IsWindowVisible(window) && rect.bottom > rect.top &&
            (OrAny(title) == nullptr || std::strcmp(text, title) == 0)) {
            return window;
        }
    }
    return nullptr;
}

UINT MessageNumber(const char* text) {
    char* end = nullptr;
    const unsigned long number = std::strtoul(text, &end, 0);
    return end != text && *end == '\0' ? static_cast<UINT>(number) : RegisterWindowMessageA(text);
}

unsigned long long Number(int argc, char** argv, int index) {
    return argc > index ? std::strtoull(argv[index], nullptr, 0) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: WinCtl wait|post|send|rect CLASS TITLE ... (see the source)\n");
        return 2;
    }
    const char* command = argv[1];
    if (argc >= 5 && std::strcmp(command, "wait") == 0) {
        const DWORD timeoutMs = static_cast<DWORD>(Number(argc, argv, 4));
        for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
            if (HWND window = Find(argv[2], argv[3])) {
                std::printf("%p\n", static_cast<void*>(window));
                return 0;
            }
        }
        return 1;
    }
    HWND window = Find(argv[2], argv[3]);
    if (std::strcmp(command, "rect") == 0) {
        const DWORD timeoutMs = static_cast<DWORD>(Number(argc, argv, 4));
        const DWORD start = GetTickCount();
        while ((window = FindVisible(argv[2], argv[3])) == nullptr && GetTickCount() - start < timeoutMs) {
            Sleep(10);
        }
    }
    if (window == nullptr) {
        return 1;
    }
    const auto wParam = static_cast<WPARAM>(Number(argc, argv, 5));
    const auto lParam = static_cast<LPARAM>(Number(argc, argv, 6));
    if (argc >= 5 && std::strcmp(command, "post") == 0) {
        return PostMessageA(window, MessageNumber(argv[4]), wParam, lParam) ? 0 : 1;
    }
    if (argc >= 8 && std::strcmp(command, "send") == 0) {
        for (unsigned long long i = Number(argc, argv, 7); i > 0; --i) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(window, MessageNumber(argv[4]), wParam, lParam, SMTO_NORMAL, 5000, &result)) {
                return 1;
            }
        }
        return 0;
    }
    if (std::strcmp(command, "rect") == 0) {
        RECT rect{};
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    return 2;
}
