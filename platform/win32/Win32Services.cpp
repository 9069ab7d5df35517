#include <windows.h>

#include "platform/win32/Win32Services.h"

#include <new>

namespace {

class Win32Service final : public IService {
public:
    Win32Service(SC_HANDLE manager, SC_HANDLE service) : manager(manager), service(service) {}
    ~Win32Service() override {
        CloseServiceHandle(service);
        CloseServiceHandle(manager);
    }
    Win32Service(const Win32Service&) = delete;
    Win32Service& operator=(const Win32Service&) = delete;

    std::optional<std::uint32_t> QueryState() override {
        SERVICE_STATUS status{};
        if (!QueryServiceStatus(service, &status)) {
            return std::nullopt;
        }
        return status.dwCurrentState;
    }
    bool Stop() override {
        SERVICE_STATUS status{};
        return ControlService(service, SERVICE_CONTROL_STOP, &status) != FALSE;
    }
    bool Start() override { return StartServiceA(service, 0, nullptr) != FALSE; }

private:
    SC_HANDLE manager;
    SC_HANDLE service;
};

DWORD WINAPI RunWork(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

}  // namespace

std::unique_ptr<IService> Win32ServiceManager::Open(const char* name, ServiceRequest request) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) {
        return nullptr;
    }
    const DWORD right = request == ServiceRequest::Stop ? SERVICE_STOP : SERVICE_START;
    SC_HANDLE service = OpenServiceA(manager, name, right | SERVICE_QUERY_STATUS);
    if (service == nullptr) {
        CloseServiceHandle(manager);
        return nullptr;
    }
    return std::make_unique<Win32Service>(manager, service);
}

void Win32ServiceManager::Pause(unsigned milliseconds) {
    Sleep(milliseconds);
}

bool Win32WorkerThreads::Start(std::function<void()> work) {
    auto* owned = new (std::nothrow) std::function<void()>(std::move(work));
    if (owned == nullptr) {
        return false;
    }
    HANDLE thread = CreateThread(nullptr, 0, RunWork, owned, 0, nullptr);
    if (thread == nullptr) {
        delete owned;
        return false;
    }
    CloseHandle(thread);
    return true;
}
