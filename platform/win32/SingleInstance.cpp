#include "platform/win32/SingleInstance.h"

namespace tarnelix {

bool ClaimSingleInstance(const char* name, HANDLE& mutex) {
    mutex = CreateMutexA(nullptr, TRUE, name);
    const DWORD error = GetLastError();
    const bool running = mutex != nullptr ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
    if (running && mutex != nullptr) {
        CloseHandle(mutex);
        mutex = nullptr;
    }
    return !running;
}

}  // namespace tarnelix
