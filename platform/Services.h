#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// The service control manager of the local machine, as far as the Messenger
// guard uses it, so that its polling runs against a fake in the tests.

// Current states of a service as the system reports them.
inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceRunning = 4;

// One opened service; the destructor closes it and the manager connection.
class IService {
public:
    virtual ~IService() = default;
    // The current state; nullopt when the query failed.
    virtual std::optional<std::uint32_t> QueryState() = 0;
    // Sends the stop control; false when the service refused it.
    virtual bool Stop() = 0;
    // Starts the service without arguments.
    virtual bool Start() = 0;
};

enum class ServiceRequest { Stop, Start };

class IServiceManager {
public:
    virtual ~IServiceManager() = default;
    // Connects to the manager (connect right only) and opens the service
    // with the right for `request` and the right to query its status;
    // nullptr when either fails (no rights, no such service).
    virtual std::unique_ptr<IService> Open(const char* name, ServiceRequest request) = 0;
    // Holds the calling worker thread between two status queries.
    virtual void Pause(unsigned milliseconds) = 0;
};

// Runs work on a new thread of normal priority with the default stack; false
// when no thread could be made.
class IWorkerThreads {
public:
    virtual ~IWorkerThreads() = default;
    virtual bool Start(std::function<void()> work) = 0;
};
