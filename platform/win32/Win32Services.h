#pragma once

#include "platform/Services.h"

// IServiceManager over the service control manager of the local machine.
class Win32ServiceManager final : public IServiceManager {
public:
    std::unique_ptr<IService> Open(const char* name, ServiceRequest request) override;
    void Pause(unsigned milliseconds) override;
};

// Threads made with CreateThread; each owns its work and ends with it.
class Win32WorkerThreads final : public IWorkerThreads {
public:
    bool Start(std::function<void()> work) override;
};
