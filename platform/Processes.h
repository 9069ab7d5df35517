#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Process listing and termination, so that the adware scanner decides
// against a fake process table in the tests. Two ways of listing exist:
// the tool-help snapshot, and on NT 4.0, which lacks it, the process-status
// functions of the "PSAPI.DLL" loaded at start-up.

using ProcessId = std::uint32_t;
// An open process as the system's handle in an integer; 0 is none.
using ProcessHandle = std::uintptr_t;

// Longest program file name taken from the system (the name buffer holds 260
// characters with its terminator).
inline constexpr std::size_t kMaxProcessNameLength = 259;

class IProcesses {
public:
    virtual ~IProcesses() = default;

    // Tool-help way: takes a fresh snapshot of all processes and hands each
    // entry's id and bare program file name to `visit`, from the first entry
    // to the last. False, and nothing visited, when no snapshot was taken.
    virtual bool WalkSnapshot(const std::function<void(ProcessId, std::string_view name)>& visit) = 0;

    // Process-status way. Looks up "EnumProcesses", "EnumProcessModules" and
    // "GetModuleBaseNameA" in the library loaded at start-up; false when the
    // library or any of them is missing.
    virtual bool FindProcessStatusFunctions() = 0;
    // "EnumProcesses": fills `ids` (room for `bytes` bytes) and tells how many
    // bytes it filled. When that equals `bytes`, the list may have been cut.
    virtual bool EnumProcesses(ProcessId* ids, std::uint32_t bytes, std::uint32_t& bytesReturned) = 0;
    // The base name of the process's first module; empty when unreadable.
    virtual std::string FirstModuleBaseName(ProcessHandle process) = 0;

    // 0 when the process cannot be opened (gone, another user's, protected).
    virtual ProcessHandle OpenWithAllAccess(ProcessId id) = 0;
    virtual ProcessHandle OpenForTermination(ProcessId id) = 0;
    // nullopt when the handle may not query it.
    virtual std::optional<std::uint32_t> ExitCode(ProcessHandle process) = 0;
    virtual bool Terminate(ProcessHandle process, std::uint32_t exitCode) = 0;
    virtual void Close(ProcessHandle process) = 0;
};
