#pragma once
#include <windows.h>

#include "platform/Processes.h"

// IProcesses over the tool-help snapshot functions and, for NT 4.0, the
// process-status functions of the "PSAPI.DLL" that the application loaded at
// start-up.
class Win32Processes final : public IProcesses {
public:
    // The handle is read at every scan: it is null on every system but NT 4.0
    // and is freed (and cleared) when the user exits.
    explicit Win32Processes(const HMODULE& processStatusLibrary) : library(processStatusLibrary) {}

    bool WalkSnapshot(const std::function<void(ProcessId, std::string_view name)>& visit) override;
    bool FindProcessStatusFunctions() override;
    bool EnumProcesses(ProcessId* ids, std::uint32_t bytes, std::uint32_t& bytesReturned) override;
    std::string FirstModuleBaseName(ProcessHandle process) override;
    ProcessHandle OpenWithAllAccess(ProcessId id) override;
    ProcessHandle OpenForTermination(ProcessId id) override;
    std::optional<std::uint32_t> ExitCode(ProcessHandle process) override;
    bool Terminate(ProcessHandle process, std::uint32_t exitCode) override;
    void Close(ProcessHandle process) override;

private:
    using EnumProcessesFunction = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    using EnumProcessModulesFunction = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    using GetModuleBaseNameFunction = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

    const HMODULE& library;
    EnumProcessesFunction enumProcesses = nullptr;
    EnumProcessModulesFunction enumProcessModules = nullptr;
    GetModuleBaseNameFunction getModuleBaseName = nullptr;
};
