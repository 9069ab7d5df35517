// WinCtl: a small command-line tool for scripts that drive the programs
// under Wine (the demo, manual checks).
//
//   WinCtl wait CLASS TITLE TIMEOUT_MS          wait for a top-level window
//   WinCtl post CLASS TITLE MESSAGE [WP [LP]]   post a message to it
//
// CLASS or TITLE may be "-" for any. MESSAGE is a number or the name of a
// registered message. Exit code 0 on success, 1 on time-out or no window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND Find(const char* cls, const char* title) {
    return FindWindowA(std::strcmp(cls, "-") == 0 ? nullptr : cls, std::strcmp(title, "-") == 0 ? nullptr : title);
}

UINT MessageNumber(const char* text) {
    char* end = nullptr;
    const unsigned long number = std::strtoul(text, &end, 0);
    return end != text && *end == '\0' ? static_cast<UINT>(number) : RegisterWindowMessageA(text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "wait") == 0) {
        const DWORD timeoutMs = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 0));
        for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
            if (HWND window = Find(argv[2], argv[3])) {
                std::printf("%p\n", static_cast<void*>(window));
                return 0;
            }
        }
        return 1;
    }
    if (argc >= 5 && std::strcmp(argv[1], "post") == 0) {
        HWND window = Find(argv[2], argv[3]);
        const WPARAM wParam = argc > 5 ? static_cast<WPARAM>(std::strtoull(argv[5], nullptr, 0)) : 0;
        const LPARAM lParam = argc > 6 ? static_cast<LPARAM>(std::strtoll(argv[6], nullptr, 0)) : 0;
        return window != nullptr && PostMessageA(window, MessageNumber(argv[4]), wParam, lParam) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: WinCtl wait CLASS TITLE TIMEOUT_MS\n"
                         "       WinCtl post CLASS TITLE MESSAGE [WPARAM [LPARAM]]\n");
    return 2;
}
