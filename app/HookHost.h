// Starts and ends Wendle32Host.exe (common/HookHost.h), which hooks the
// 32-bit programs of a 64-bit Windows. Without the file, or in the 32-bit
// build of Tarnelix (whose own Wendle.dll already enters every program),
// nothing happens and Tarnelix runs as it always did.
#pragma once
#include <windows.h>

#include <string>

namespace tarnelix {

class CHookHost {
public:
    CHookHost() = default;
    ~CHookHost() { Stop(); }
    CHookHost(const CHookHost&) = delete;
    CHookHost& operator=(const CHookHost&) = delete;

    void Start(const std::string& programFolder, HWND mainWindow);
    // Sets the stop event and gives the host a moment to remove its hooks.
    void Stop();

private:
    HANDLE stopEvent = nullptr;
    HANDLE process = nullptr;
};

}  // namespace tarnelix
