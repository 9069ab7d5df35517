#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "pages/Advance.h"
#include "platform/Processes.h"
#include "platform/TextCompare.h"

// First size of the process-identifier buffer of the process-status way;
// it is doubled while a listing fills it completely.
inline constexpr std::uint32_t kFirstProcessIdBufferBytes = 1024;
// A listing that still fills this many bytes is taken as broken rather than
// doubled further: four million processes do not exist.
inline constexpr std::uint32_t kMaxProcessIdBufferBytes = 16u * 1024 * 1024;

// The adware process scanner of the main window. Once a minute it walks the
// running processes and terminates every one whose program file name, lower
// case, is a key of the advanced page's adware list whose item is checked.
// Runs on the user-interface thread only; everything it is given must
// outlive it.
class CAdwareScanner {
public:
    // `countAdwareKill` adds one adware kill to the counters, saves and
    // shows them.
    CAdwareScanner(IProcesses& processes, const Advance& adware, const ITextCompare& compare,
                   std::function<void()> countAdwareKill);

    // NT 4.0 (OsKind 5) lists processes with the process-status functions,
    // every other system with a tool-help snapshot. 1 when the walk was
    // done, also when nothing was killed or no snapshot could be taken; 0
    // when the process-status way could not start (a function missing, no
    // memory, the listing failed).
    //
    // A kill counts only when the termination succeeded: a process that
    // survives was not killed, and counting the attempt would report a
    // failure as a success.
    int ScanAdware(int osKind);

private:
    int ScanWithToolHelp();
    int ScanWithProcessStatus();
    // Lists every process id into `ids`, doubling the buffer as needed;
    // false when a listing or an allocation failed.
    bool ListProcessIds(std::unique_ptr<ProcessId[]>& ids, std::uint32_t& count);
    void ScanProcess(ProcessId id);
    // Lower-cases the name, finds its display name and asks for its box.
    bool IsCheckedAdware(std::string_view name) const;
    // Terminates with the exit code the handle can query, 0 when it cannot
    // (the usual case with the terminate right alone); counts on success.
    void TerminateAndCount(ProcessHandle process);

    IProcesses& processes;
    const Advance& adware;
    const ITextCompare& compare;
    std::function<void()> countAdwareKill;
};
