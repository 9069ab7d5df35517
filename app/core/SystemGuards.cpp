#include "app/core/SystemGuards.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "common/OsKind.h"
#include "pages/Advance.h"

bool GuardHomePage(bool preventHomePageChecked, IBrowserKey& browser, const std::string& protectedStartPage)
{
    if (!preventHomePageChecked || ReadStartPage(browser) == protectedStartPage) {
        return false;
    }
    WriteStartPage(browser, protectedStartPage);
    return true;
}

CMessengerGuard::CMessengerGuard(std::shared_ptr<IServiceManager> services, IWorkerThreads& threads,
                                 std::function<void()> report)
    : services(std::move(services)), threads(threads), report(std::move(report))
{
}

bool CMessengerGuard::StopMessengerService(int osKind, bool blockMessengerChecked)
{
    if (!IsNtFamily(osKind) || !blockMessengerChecked || !running || busy) {
        return false;
    }
    return StartWorker(ServiceRequest::Stop);
}

bool CMessengerGuard::RestoreMessengerService(int osKind, bool blockMessengerChecked)
{
    if (!IsNtFamily(osKind) || blockMessengerChecked || running || busy) {
        return false;
    }
    return StartWorker(ServiceRequest::Start);
}

bool CMessengerGuard::StartWorker(ServiceRequest request)
{
    busy = true;
    std::shared_ptr<CMessengerGuard> self = shared_from_this();
    if (!threads.Start([self, request] { self->Run(request); })) {
        busy = false;
        return false;
    }
    return true;
}

void CMessengerGuard::Run(ServiceRequest request)
{
    busy = true;
    if (Drive(request)) {
        report();
    }
    busy = false;
}

bool CMessengerGuard::Drive(ServiceRequest request)
{
    const bool stopping = request == ServiceRequest::Stop;
    const std::uint32_t wanted = stopping ? kServiceStopped : kServiceRunning;
    // Closed when this returns, before the main window hears of it.
    const std::unique_ptr<IService> service = services->Open(kMessengerServiceName, request);
    if (!service) {
        return false;
    }
    std::optional<std::uint32_t> state = service->QueryState();
    if (!state) {
        return false;
    }
    if (*state != wanted) {
        if (!(stopping ? service->Stop() : service->Start())) {
            return false;
        }
        for (int poll = 1;; ++poll) {
            state = service->QueryState();
            if (!state) {
                return false;
            }
            if (*state == wanted || poll == kMessengerPolls) {
                break;
            }
            services->Pause(kMessengerPollMs);
        }
    }
    if (*state == wanted) {
        running = !stopping;
    }
    return true;
}
