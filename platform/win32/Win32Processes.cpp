#include "platform/win32/Win32Processes.h"

#include <tlhelp32.h>

#include <cstring>

namespace {

HANDLE ToHandle(ProcessHandle process) {
    return reinterpret_cast<HANDLE>(process);
}

ProcessHandle ToProcessHandle(HANDLE handle) {
    return reinterpret_cast<ProcessHandle>(handle);
}

// Function pointers of another type than FARPROC go through a plain
// conversion that the compiler does not warn about.
template <typename Function>
Function LookUp(HMODULE library, const char* name) {
    FARPROC address = GetProcAddress(library, name);
    Function function = nullptr;
    static_assert(sizeof(function) == sizeof(address), "function pointers differ in size");
    std::memcpy(&function, &address, sizeof(function));
    return function;
}

}  // namespace

bool Win32Processes::WalkSnapshot(const std::function<void(ProcessId, std::string_view name)>& visit) {
    HANDLE snapshot = CreateToolhelp32Snapshot(
        TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD | TH32CS_SNAPHEAPLIST | TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        visit(entry.th32ProcessID, std::string_view(entry.szExeFile, strnlen(entry.szExeFile, kMaxProcessNameLength)));
    }
    CloseHandle(snapshot);
    return true;
}

bool Win32Processes::FindProcessStatusFunctions() {
    enumProcesses = nullptr;
    enumProcessModules = nullptr;
    getModuleBaseName = nullptr;
    if (library == nullptr) {
        return false;  // never loaded, or freed at exit
    }
    enumProcesses = LookUp<EnumProcessesFunction>(library, "EnumProcesses");
    enumProcessModules = LookUp<EnumProcessModulesFunction>(library, "EnumProcessModules");
    getModuleBaseName = LookUp<GetModuleBaseNameFunction>(library, "GetModuleBaseNameA");
    return enumProcesses != nullptr && enumProcessModules != nullptr && getModuleBaseName != nullptr;
}

bool Win32Processes::EnumProcesses(ProcessId* ids, std::uint32_t bytes, std::uint32_t& bytesReturned) {
    static_assert(sizeof(ProcessId) == sizeof(DWORD), "process ids are DWORDs");
    DWORD returned = 0;
    if (enumProcesses == nullptr || !enumProcesses(reinterpret_cast<DWORD*>(ids), bytes, &returned)) {
        return false;
    }
    bytesReturned = returned;
    return true;
}

std::string Win32Processes::FirstModuleBaseName(ProcessHandle process) {
    char name[kMaxProcessNameLength + 1] = {};
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (enumProcessModules == nullptr || getModuleBaseName == nullptr ||
        !enumProcessModules(ToHandle(process), &first, sizeof(first), &needed)) {
        return std::string();
    }
    getModuleBaseName(ToHandle(process), first, name, static_cast<DWORD>(kMaxProcessNameLength));
    return std::string(name, strnlen(name, kMaxProcessNameLength));
}

ProcessHandle Win32Processes::OpenWithAllAccess(ProcessId id) {
    return ToProcessHandle(OpenProcess(PROCESS_ALL_ACCESS, FALSE, id));
}

ProcessHandle Win32Processes::OpenForTermination(ProcessId id) {
    return ToProcessHandle(OpenProcess(PROCESS_TERMINATE, FALSE, id));
}

std::optional<std::uint32_t> Win32Processes::ExitCode(ProcessHandle process) {
    DWORD code = 0;
    if (!GetExitCodeProcess(ToHandle(process), &code)) {
        return std::nullopt;
    }
    return code;
}

bool Win32Processes::Terminate(ProcessHandle process, std::uint32_t exitCode) {
    return TerminateProcess(ToHandle(process), exitCode) != FALSE;
}

void Win32Processes::Close(ProcessHandle process) {
    CloseHandle(ToHandle(process));
}
