// Stands in for the Windows Messenger service. The tests register it in
// Wine's service manager as "Messenger" with the command line
//   FakeMessenger.exe DELAY_MS LOG_FILE
// Every start and every stop control is appended to LOG_FILE. After a stop
// control it goes on reporting "running" for DELAY_MS before it stops, so the
// guard has to poll, and a second stop request in that time would reach it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};
HANDLE stopRequested = nullptr;
DWORD delayMs = 0;
const char* logPath = "";

void Log(const char* line) {
    if (FILE* log = std::fopen(logPath, "ab")) {
        std::fprintf(log, "%s\n", line);
        std::fclose(log);
    }
}

void Report(DWORD state) {
    status.dwCurrentState = state;
    SetServiceStatus(statusHandle, &status);
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
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP;
    Log("start");
    Report(SERVICE_RUNNING);
    WaitForSingleObject(stopRequested, INFINITE);
    Sleep(delayMs);
    Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
    delayMs = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 0;
    logPath = argc > 2 ? argv[2] : "";
    stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>("Messenger"), ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}
