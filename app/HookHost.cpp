#include "app/HookHost.h"

#include "common/HookHost.h"

namespace tarnelix {
namespace {

constexpr DWORD kStopWaitMs = 2000;
constexpr bool kSixtyFourBitBuild = sizeof(void*) == 8;

}  // namespace

void CHookHost::Start(const std::string& programFolder, HWND mainWindow) {
    if (!kSixtyFourBitBuild || process != nullptr) {
        return;
    }
    const std::string exePath = programFolder + kHookHostFileName;
    if (GetFileAttributesA(exePath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    // The host gets the event by inheritance; it is the only handle of
    // Tarnelix marked inheritable.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    stopEvent = CreateEventA(&inheritable, TRUE, FALSE, nullptr);
    if (stopEvent == nullptr) {
        return;
    }
    HookHostArguments arguments;
    arguments.mainWindow = reinterpret_cast<uintptr_t>(mainWindow);
    arguments.stopEvent = reinterpret_cast<uintptr_t>(stopEvent);
    std::string commandLine = HookHostCommandLine(exePath, arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        programFolder.c_str(), &startup, &info)) {
        CloseHandle(stopEvent);
        stopEvent = nullptr;
        return;
    }
    CloseHandle(info.hThread);
    process = info.hProcess;
}

void CHookHost::Stop() {
    if (stopEvent != nullptr) {
        SetEvent(stopEvent);
    }
    if (process != nullptr) {
        WaitForSingleObject(process, kStopWaitMs);
        CloseHandle(process);
        process = nullptr;
    }
    if (stopEvent != nullptr) {
        CloseHandle(stopEvent);
        stopEvent = nullptr;
    }
}

}  // namespace tarnelix
