#include "common/OsKind.h"

namespace {

int Windows9xKind(std::uint32_t major, std::uint32_t minor)
{
    if (major != 4) {
        return kOsUnknown;
    }
    switch (minor) {
    case 0:
        return kOsWindows95;
    case 10:
        return kOsWindows98;
    case 90:
        return kOsWindowsMe;
    default:
        return kOsUnknown;
    }
}

int WindowsNtKind(std::uint32_t major, std::uint32_t minor)
{
    if (major <= 4) {
        return kOsWindowsNt4;
    }
    if (major != 5) {
        return kOsUnknown;
    }
    switch (minor) {
    case 0:
        return kOsWindows2000;
    case 1:
        return kOsWindowsXp;
    case 2:
        return kOsWindowsServer2003;
    default:
        return kOsUnknown;
    }
}

}  // namespace

int OsKindFromVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor)
{
    switch (platformId) {
    case kPlatformWindows9x:
        return Windows9xKind(major, minor);
    case kPlatformWindowsNt:
        return WindowsNtKind(major, minor);
    default:
        return kOsUnknown;
    }
}

int DetectOsKind(IVersionQuery& query)
{
    std::optional<WindowsVersion> version = query.Ask(VersionRecord::Extended);
    if (!version) {
        version = query.Ask(VersionRecord::Plain);
    }
    if (!version) {
        return kOsUnknown;
    }
    return OsKindFromVersion(version->platformId, version->major, version->minor);
}

bool IsNtFamily(int osKind)
{
    return osKind >= kOsWindowsXp && osKind <= kOsWindowsServer2003;
}

bool NeedsProcessStatusLibraries(int osKind)
{
    return osKind == kOsWindowsNt4;
}
