#pragma once

#include <cstdint>
#include <optional>

// What the system says of its own version, behind a query that tests can
// answer.

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
