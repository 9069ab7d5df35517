// The update check on a thread of its own: the main window starts it and,
// at exit, asks it to stop and waits a bounded time for it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "pages/StringPairList.h"

namespace tarnelix {

struct UpdateRun;

// How long the exit waits for a running check. The WinINet time-outs are
// shorter, so a check that was asked to stop is over well before.
inline constexpr DWORD kUpdateExitWaitMs = 3000;
inline constexpr DWORD kUpdateTimeoutMs = 2000;

class CUpdateWorker {
public:
    // The settings key is HKCU\Software\<company>\<application>.
    CUpdateWorker(std::string programFolder, std::string listingUrl, std::string company, std::string application);
    // Stops a running check and waits for it, at most kUpdateExitWaitMs. A
    // thread still running then is left to the end of the process, with
    // its run kept alive.
    ~CUpdateWorker();
    CUpdateWorker(const CUpdateWorker&) = delete;
    CUpdateWorker& operator=(const CUpdateWorker&) = delete;

    // updateBusy: a check is running.
    bool Busy() const;
    // Starts `UpdateWorker` on a new thread of normal priority, unless a
    // check is running.
    void Start();
    // A running check ends at its next step and records nothing it had not
    // finished; no later Start begins one.
    void RequestStop();

    // (file name, date text) of what the program folder holds and the checks
    // fetched. The main window fills it at its initialisation, before the
    // first check; afterwards only the checks touch it.
    StringPairList& UpdatesTable() { return *updatesTable; }

private:
    std::string programFolder;
    std::string listingUrl;
    std::string company;
    std::string application;
    bool stopped = false;
    std::shared_ptr<StringPairList> updatesTable;
    // The last check started. The thread holds the run too, so a thread the
    // exit could not wait for still finds everything it uses.
    std::shared_ptr<UpdateRun> run;
    HANDLE thread = nullptr;
};

// The thread procedure. Its parameter is a heap slot holding the run, which
// the thread takes over. Exit code 1 when the parameter is missing, 2 when
// the slot holds no run, 0 otherwise.
DWORD WINAPI UpdateWorker(LPVOID parameter);

}  // namespace tarnelix
