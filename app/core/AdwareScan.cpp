#include "app/core/AdwareScan.h"

#include <new>
#include <optional>
#include <string>
#include <utility>

#include "common/OsKind.h"

namespace {

// Closes an opened process on every way out.
class OpenedProcess {
public:
    OpenedProcess(IProcesses& processes, ProcessHandle handle) : processes(processes), handle(handle) {}
    ~OpenedProcess()
    {
        if (handle != 0) {
            processes.Close(handle);
        }
    }
    OpenedProcess(const OpenedProcess&) = delete;
    OpenedProcess& operator=(const OpenedProcess&) = delete;
    ProcessHandle Handle() const { return handle; }

private:
    IProcesses& processes;
    ProcessHandle handle;
};

}  // namespace

CAdwareScanner::CAdwareScanner(IProcesses& processes, const Advance& adware, const ITextCompare& compare,
                               std::function<void()> countAdwareKill)
    : processes(processes), adware(adware), compare(compare), countAdwareKill(std::move(countAdwareKill))
{
}

int CAdwareScanner::ScanAdware(int osKind)
{
    return NeedsProcessStatusLibraries(osKind) ? ScanWithProcessStatus() : ScanWithToolHelp();
}

int CAdwareScanner::ScanWithToolHelp()
{
    processes.WalkSnapshot([this](ProcessId id, std::string_view name) {
        if (!IsCheckedAdware(name)) {
            return;
        }
        const OpenedProcess process(processes, processes.OpenForTermination(id));
        if (process.Handle() != 0) {
            TerminateAndCount(process.Handle());
        }
    });
    return 1;
}

int CAdwareScanner::ScanWithProcessStatus()
{
    std::unique_ptr<ProcessId[]> ids;
    std::uint32_t count = 0;
    if (!processes.FindProcessStatusFunctions() || !ListProcessIds(ids, count)) {
        return 0;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        ScanProcess(ids[i]);
    }
    return 1;
}

bool CAdwareScanner::ListProcessIds(std::unique_ptr<ProcessId[]>& ids, std::uint32_t& count)
{
    for (std::uint32_t bytes = kFirstProcessIdBufferBytes; bytes <= kMaxProcessIdBufferBytes; bytes *= 2) {
        ids.reset(new (std::nothrow) ProcessId[bytes / sizeof(ProcessId)]);
        std::uint32_t returned = 0;
        if (!ids || !processes.EnumProcesses(ids.get(), bytes, returned)) {
            return false;
        }
        if (returned < bytes) {
            count = returned / static_cast<std::uint32_t>(sizeof(ProcessId));
            return true;
        }
    }
    return false;
}

void CAdwareScanner::ScanProcess(ProcessId id)
{
    const OpenedProcess process(processes, processes.OpenWithAllAccess(id));
    if (process.Handle() != 0 && IsCheckedAdware(processes.FirstModuleBaseName(process.Handle()))) {
        TerminateAndCount(process.Handle());
    }
}

bool CAdwareScanner::IsCheckedAdware(std::string_view name) const
{
    if (name.empty()) {
        return false;
    }
    // The name buffer of the system calls holds 259 characters.
    const std::string key = compare.ToLower(name.substr(0, kMaxProcessNameLength));
    const std::optional<std::string> displayName = adware.FindAdwareName(key);
    return displayName && adware.IsAdwareChecked(*displayName);
}

void CAdwareScanner::TerminateAndCount(ProcessHandle process)
{
    const std::uint32_t exitCode = processes.ExitCode(process).value_or(0);
    if (processes.Terminate(process, exitCode)) {
        countAdwareKill();
    }
}
