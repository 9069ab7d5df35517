#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "platform/BrowserKey.h"
#include "platform/Services.h"

// The two guards of the main window that change the system for the user:
// the home-page lock (advanced page box 1017) and the Messenger guard (box
// 1018).

// Minute step of timer 51: with the box checked, a start page that differs
// from the protected one in any way, letter case included, is put back.
// True when it wrote.
bool GuardHomePage(bool preventHomePageChecked, IBrowserKey& browser, const std::string& protectedStartPage);

inline constexpr char kMessengerServiceName[] = "Messenger";
// After a stop or start request the state is queried at most 60 times, one
// second apart.
inline constexpr int kMessengerPolls = 60;
inline constexpr unsigned kMessengerPollMs = 1000;

// Stops the Windows Messenger service while box 1018 is checked and starts
// it again when the box is cleared, each on a worker thread that reports
// back through `report` (the main window posts itself WM_COMMAND 1048 and so
// starts or stops timer 50 to match IsRunning()). The flags are the only
// state shared with the workers. A worker keeps the guard alive, so the
// guard must be owned by a shared_ptr: the main window may be gone before a
// worker ends its minute of polling.
class CMessengerGuard : public std::enable_shared_from_this<CMessengerGuard> {
public:
    CMessengerGuard(std::shared_ptr<IServiceManager> services, IWorkerThreads& threads, std::function<void()> report);

    // The service is believed to be running (set until a stop succeeded).
    bool IsRunning() const { return running; }
    // A stop or start worker runs.
    bool IsBusy() const { return busy; }
    // Initialisation outside the NT family, where there is no such service.
    void ForgetService() { running = false; }

    // User-interface thread. Start a worker only on the NT family, with the
    // box in the matching state, the service believed in the other state and
    // no worker running; otherwise nothing. True when a worker started.
    //
    // The busy flag is raised here, before the thread exists, so that a
    // second click in the moment before the first worker runs cannot start
    // a second one.
    bool StopMessengerService(int osKind, bool blockMessengerChecked);
    bool RestoreMessengerService(int osKind, bool blockMessengerChecked);

private:
    bool StartWorker(ServiceRequest request);
    // The stop or start routine on the worker thread.
    void Run(ServiceRequest request);
    // Requests the change and polls for it; true when the main window is to
    // be told (the service reached the state, was already in it, or the
    // polls ran out), false after a failure.
    bool Drive(ServiceRequest request);

    std::shared_ptr<IServiceManager> services;
    IWorkerThreads& threads;
    std::function<void()> report;
    std::atomic<bool> running{true};
    std::atomic<bool> busy{false};
};
