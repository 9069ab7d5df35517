// Stands in for the Messenger service: "FakeMessenger.exe DELAY_MS LOG_FILE"
// logs "start" and every "stop" control, and reports "running" for DELAY_MS
// after a stop, so a second stop request in that time would reach it.
#include <windows.h>
#include <cstdio>
#include <cstdlib>

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, SERVICE_RUNNING, SERVICE_ACCEPT_STOP, 0, 0, 0, 0};
HANDLE stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
DWORD delayMs = 0;
const char* logPath = "";

void Log(const char* line) {
    if (FILE* log = std::fopen(logPath, "ab")) {
        std::fprintf(log, "%s\n", line);
        std::fclose(log);
    }
}

DWORD WINAPI Control(DWORD control, DWORD, LPVOID, LPVOID) {
    if (control == SERVICE_CONTROL_STOP) {
        Log("stop");
        SetEvent(stopRequested);
    }
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
    statusHandle = RegisterServiceCtrlHandlerExA("Messenger", Control, nullptr);
    Log("start");
    SetServiceStatus(statusHandle, &status);
    WaitForSingleObject(stopRequested, INFINITE);
    Sleep(delayMs);
    status.dwCurrentState = SERVICE_STOPPED;
    SetServiceStatus(statusHandle, &status);
}

}  // namespace

int main(int argc, char** argv) {
    delayMs = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 0;
    logPath = argc > 2 ? argv[2] : "";
    SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>("Messenger"), ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}
