// Wendle32Host.exe: on 64-bit Windows a 64-bit hook library enters only
// 64-bit programs, so Tarnelix.exe starts this small 32-bit program beside
// it, which installs the same hooks from Wendle32.dll for the 32-bit ones.
// Tarnelix hands it two numbers on its command line: its main window (the
// host ends by itself when that window is gone) and an event the host waits
// on (Tarnelix sets it at exit). Handles are 32-bit values in both worlds,
// so a number that does not fit the host's pointer is refused.
//
// Header-only: the host carries nothing of the program's libraries.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

inline constexpr char kHookHostFileName[] = "Wendle32Host.exe";
// How often the host looks whether the main window still exists.
inline constexpr uint32_t kHookHostPollMs = 500;

struct HookHostArguments {
    uintptr_t mainWindow = 0;
    uintptr_t stopEvent = 0;
};

// "<program path>" <main window> <stop event>, as CreateProcess takes it.
inline std::string HookHostCommandLine(const std::string& exePath, const HookHostArguments& arguments) {
    return "\"" + exePath + "\" " + std::to_string(arguments.mainWindow) + " " +
           std::to_string(arguments.stopEvent);
}

namespace hookhost_detail {

// One decimal number, after blanks, of at most the host's pointer width.
inline bool ReadHandleNumber(const char*& text, uintptr_t& value) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    if (*text < '0' || *text > '9') {
        return false;
    }
    constexpr uintptr_t kLimit = std::numeric_limits<uintptr_t>::max();
    value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const auto digit = static_cast<uintptr_t>(*text - '0');
        if (value > (kLimit - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    return value != 0;
}

}  // namespace hookhost_detail

// The arguments part of the host's command line (what WinMain receives).
// Anything but two non-zero numbers, blanks around them, is refused: the
// host then ends without installing anything.
inline std::optional<HookHostArguments> ParseHookHostArguments(const char* text) {
    HookHostArguments arguments;
    if (text == nullptr || !hookhost_detail::ReadHandleNumber(text, arguments.mainWindow) ||
        !hookhost_detail::ReadHandleNumber(text, arguments.stopEvent)) {
        return std::nullopt;
    }
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    return *text == '\0' ? std::optional<HookHostArguments>(arguments) : std::nullopt;
}
