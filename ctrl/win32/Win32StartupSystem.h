#pragma once

#include <string>
#include <utility>

#include "ctrl/core/StartupControl.h"

// IStartupSystem over the mutex, process, window and time functions.
class Win32StartupSystem final : public IStartupSystem {
public:
    explicit Win32StartupSystem(std::string programFolder) : programFolder(std::move(programFolder)) {}

    bool InstanceRunning(const char* mutexName) override;
    bool StartProgram(const std::string& path) override;
    bool PostInstalledUpdates(unsigned count) override;
    void Wait(unsigned milliseconds) override;
    std::string Now() override;

private:
    std::string programFolder;
};
