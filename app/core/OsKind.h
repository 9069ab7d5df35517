#pragma once

#include <cstdint>
#include <optional>

// Code of the detected Windows version. The numbering is not in release
// order (XP is 4, NT 4.0 is 5); other parts compare against these values.
constexpr int kOsUnknown = -1;
constexpr int kOsWindows95 = 1;
constexpr int kOsWindows98 = 2;
constexpr int kOsWindowsMe = 3;
constexpr int kOsWindowsXp = 4;
constexpr int kOsWindowsNt4 = 5;  // NT 4.0 and older
constexpr int kOsWindows2000 = 6;
constexpr int kOsWindowsServer2003 = 7;

// Platform ids of the system's version record.
constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformWindowsNt = 2;

struct WindowsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// The two sizes of the version record the system is asked with.
enum class VersionRecord {
    Extended,  // 156 bytes; refused by systems older than NT 4.0 SP6 and 98
    Plain,     // 148 bytes
};

// Asks the system for its version; nullopt when the call fails.
class IVersionQuery {
public:
    virtual ~IVersionQuery() = default;
    virtual std::optional<WindowsVersion> Ask(VersionRecord record) = 0;
};

// Maps platform id and version to the code; kOsUnknown for anything outside
// the table (NT 6.0 and later, 9x other than 4.0/4.10/4.90, Win32s).
int OsKindFromVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

// Asks with the extended record first and with the plain one when that
// fails; kOsUnknown when both fail.
int DetectOsKind(IVersionQuery& query);

// Codes 4 to 7: the NT family, where the Messenger service exists.
bool IsNtFamily(int osKind);

// Only NT 4.0 lacks the tool-help process functions and needs "PSAPI.DLL"
// and "VDMDBG.DLL" loaded at start-up.
bool NeedsProcessStatusLibraries(int osKind);
