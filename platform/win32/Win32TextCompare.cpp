#include "platform/win32/Win32TextCompare.h"

#include <windows.h>

#include <climits>

namespace {

int ClampLength(std::size_t size)
{
    return size < static_cast<std::size_t>(INT_MAX) ? static_cast<int>(size) : INT_MAX;
}

int CompareBytes(std::string_view a, std::string_view b)
{
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

int Win32TextCompare::CompareNoCase(std::string_view a, std::string_view b) const
{
    // Explicit lengths, so embedded NUL bytes do not end the texts early.
    const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), ClampLength(a.size()),
                                      b.data(), ClampLength(b.size()));
    if (result == 0) {
        // Only fails on bad arguments; a byte order still gives a total order.
        return CompareBytes(a, b);
    }
    return result - CSTR_EQUAL;
}

std::string Win32TextCompare::ToLower(std::string_view text) const
{
    std::string lower(text);
    if (!lower.empty()) {
        // CharLowerBuffA skips the trail bytes of double-byte characters,
        // which a plain A-to-Z fold would damage.
        CharLowerBuffA(lower.data(), static_cast<DWORD>(ClampLength(lower.size())));
    }
    return lower;
}

bool Win32TextCompare::IsLeadByte(unsigned char byte) const
{
    // Lead bytes of the system's ANSI code page; always false on single-byte
    // code pages.
    return IsDBCSLeadByte(byte) != FALSE;
}
