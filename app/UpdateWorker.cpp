#include "app/UpdateWorker.h"

#include <atomic>
#include <utility>

#include "app/core/UpdateCheck.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/WinInetHttp.h"

namespace tarnelix {

// Everything one check uses. The registry is reached through a profile of
// the run's own, so nothing of the main window is touched from the thread
// but the updates table.
struct UpdateRun {
    UpdateRun(std::string programFolder, std::string listingUrl, std::string company, std::string application,
              std::shared_ptr<StringPairList> updatesTable)
        : programFolder(std::move(programFolder)),
          listingUrl(std::move(listingUrl)),
          profile(std::move(company), std::move(application)),
          updatesTable(std::move(updatesTable))
    {
    }

    const std::string programFolder;
    const std::string listingUrl;
    Win32Profile profile;
    const std::shared_ptr<StringPairList> updatesTable;
    std::atomic<bool> stopRequested{false};
    // Set before the thread starts, so two quick starts cannot both begin a
    // check; cleared by the thread at its end.
    std::atomic<bool> updateBusy{true};
};

DWORD WINAPI UpdateWorker(LPVOID parameter)
{
    if (parameter == nullptr) {
        return 1;
    }
    std::unique_ptr<std::shared_ptr<UpdateRun>> slot(static_cast<std::shared_ptr<UpdateRun>*>(parameter));
    const std::shared_ptr<UpdateRun> run = std::move(*slot);
    if (run == nullptr) {
        return 2;
    }
    {
        WinInetHttp http("Tarnelix 3.0", kUpdateTimeoutMs, run->stopRequested);
        Win32FileStore files;
        Win32Folders folders;
        CUpdateCheck check(http, run->profile, files, folders, *run->updatesTable, run->stopRequested);
        check.Run(run->listingUrl, run->programFolder);
    }
    run->updateBusy = false;
    return 0;
}

CUpdateWorker::CUpdateWorker(std::string programFolder, std::string listingUrl, std::string company,
                             std::string application)
    : programFolder(std::move(programFolder)),
      listingUrl(std::move(listingUrl)),
      company(std::move(company)),
      application(std::move(application)),
      updatesTable(std::make_shared<StringPairList>())
{
}

CUpdateWorker::~CUpdateWorker()
{
    RequestStop();
    if (thread != nullptr) {
        WaitForSingleObject(thread, kUpdateExitWaitMs);
        CloseHandle(thread);
    }
}

bool CUpdateWorker::Busy() const
{
    return run != nullptr && run->updateBusy;
}

void CUpdateWorker::Start()
{
    if (stopped || Busy()) {
        return;
    }
    auto next = std::make_shared<UpdateRun>(programFolder, listingUrl, company, application, updatesTable);
    auto* slot = new std::shared_ptr<UpdateRun>(next);
    HANDLE started = CreateThread(nullptr, 0, UpdateWorker, slot, 0, nullptr);
    if (started == nullptr) {
        delete slot;
        return;
    }
    if (thread != nullptr) {
        CloseHandle(thread);
    }
    thread = started;
    run = std::move(next);
}

void CUpdateWorker::RequestStop()
{
    stopped = true;
    if (run != nullptr) {
        run->stopRequested = true;
    }
}

}  // namespace tarnelix
