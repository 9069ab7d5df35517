#include "platform/win32/Win32Version.h"

#include <windows.h>

static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
static_assert(sizeof(OSVERSIONINFOA) == 148, "plain version record");

std::optional<WindowsVersion> Win32VersionQuery::Ask(VersionRecord record)
{
    // The extended record starts with the plain one, so one buffer serves
    // both sizes; only the size field tells the system which it gets.
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize =
        record == VersionRecord::Extended ? sizeof(OSVERSIONINFOEXA) : sizeof(OSVERSIONINFOA);
    // Newer SDK headers mark GetVersionExA deprecated; it is the call that
    // answers on every system the program supports (Windows 95 onwards).
    // Vista and later report major 6 or more (8.1 and later may report 6.2
    // whatever they are), all of which map to the unknown code.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
#pragma GCC diagnostic pop
    if (!ok) {
        return std::nullopt;
    }
    return WindowsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}
