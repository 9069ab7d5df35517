// WinCtl: a small command-line tool for scripts that drive the programs
// under Wine (the demo, manual checks).
//
//   WinCtl wait  CLASS TITLE TIMEOUT_MS         wait for a top-level window
//   WinCtl gone  CLASS TITLE TIMEOUT_MS         wait until it has gone
//   WinCtl post  CLASS TITLE MESSAGE [WP [LP]]  post a message to it
//
// CLASS or TITLE may be "-" for any. MESSAGE is a number or the name of a
// registered message. Exit code 0 on success, 1 on time-out or no window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* Optional(const char* text) {
    return std::strcmp(text, "-") == 0 ? nullptr : text;
}

UINT MessageNumber(const char* text) {
    char* end = nullptr;
    unsigned long number = std::strtoul(text, &end, 0);
    if (end != text && *end == '\0') {
        return static_cast<UINT>(number);
    }
    return RegisterWindowMessageA(text);
}

HWND Find(const char* cls, const char* title) {
    return FindWindowA(Optional(cls), Optional(title));
}

int Wait(const char* cls, const char* title, DWORD timeoutMs, bool untilGone) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = Find(cls, title);
        if (!untilGone && window != nullptr) {
            std::printf("%p\n", static_cast<void*>(window));
            return 0;
        }
        if (untilGone && window == nullptr) {
            return 0;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return 1;
        }
        Sleep(50);
    }
}

int Usage() {
    std::fprintf(stderr, "usage: WinCtl wait|gone CLASS TITLE TIMEOUT_MS\n"
                         "       WinCtl post CLASS TITLE MESSAGE [WPARAM [LPARAM]]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        return Usage();
    }
    const char* verb = argv[1];
    if (std::strcmp(verb, "wait") == 0 || std::strcmp(verb, "gone") == 0) {
        DWORD timeoutMs = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 0));
        return Wait(argv[2], argv[3], timeoutMs, verb[0] == 'g');
    }
    if (std::strcmp(verb, "post") == 0) {
        HWND window = Find(argv[2], argv[3]);
        if (window == nullptr) {
            return 1;
        }
        WPARAM wParam = argc > 5 ? static_cast<WPARAM>(std::strtoull(argv[5], nullptr, 0)) : 0;
        LPARAM lParam = argc > 6 ? static_cast<LPARAM>(std::strtoll(argv[6], nullptr, 0)) : 0;
        return PostMessageA(window, MessageNumber(argv[4]), wParam, lParam) ? 0 : 1;
    }
    return Usage();
}
