#include "common/FileNames.h"

#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view lowerB)
{
    return a.size() == lowerB.size() && StartsWithIgnoringCase(a, lowerB);
}

// Windows opens these as devices whatever extension follows ("CON.dll" is
// the console), and ignores blanks at the end of the base name.
bool IsDeviceName(std::string_view name)
{
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    static constexpr std::string_view kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
    for (std::string_view device : kDevices) {
        if (EqualsIgnoringCase(base, device)) {
            return true;
        }
    }
    // COM1 to COM9 and LPT1 to LPT9.
    return base.size() == 4 && (StartsWithIgnoringCase(base, "com") || StartsWithIgnoringCase(base, "lpt")) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix)
{
    if (text.size() < lowerPrefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != lowerPrefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.back() == '.' || name.back() == ' ' || name.find("..") != std::string_view::npos) {
        return false;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            return false;
        }
    }
    return !IsDeviceName(name);
}
