#include "ctrl/win32/Win32StartupSystem.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/Messages.h"
#include "common/ProgramIdentity.h"

bool Win32StartupSystem::InstanceRunning(const char* mutexName)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, mutexName);
    if (mutex != nullptr) {
        CloseHandle(mutex);
        return true;
    }
    // Made by an instance of another user or integrity level.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

bool Win32StartupSystem::StartProgram(const std::string& path)
{
    std::string commandLine = "\"" + path + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, programFolder.c_str(),
                        &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

bool Win32StartupSystem::PostInstalledUpdates(unsigned count)
{
    HWND mainWindow = FindWindowA(kMainWindowClass, kMainWindowTitle);
    return mainWindow != nullptr &&
           PostMessageA(mainWindow, RegisterWindowMessageA(kInstalledUpdatesMessage), count, 0) != FALSE;
}

void Win32StartupSystem::Wait(unsigned milliseconds) { Sleep(milliseconds); }

std::string Win32StartupSystem::Now()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}
