#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ctrl/core/UpdateInstall.h"
#include "platform/Files.h"

// TarnelixCtrl.exe, the program the Run entry starts at log-on: it applies
// the signed updates while Tarnelix is not running, starts Tarnelix and the
// add-on from its own folder and tells the main window what it installed.

inline constexpr char kLogFileName[] = "TarnelixCtrl.log";
// The log keeps the newest half of itself when it grows past this size.
inline constexpr std::size_t kMaxLogBytes = 256 * 1024;
// How long the main window is waited for: 120 looks, 250 ms apart.
inline constexpr unsigned kMainWindowPollMilliseconds = 250;
inline constexpr unsigned kMainWindowPollAttempts = 120;

// What the start-up program asks of the system.
class IStartupSystem {
public:
    virtual ~IStartupSystem() = default;
    // True while a program holds the named single-instance mutex, also when
    // the mutex exists but this user may not open it.
    virtual bool InstanceRunning(const char* mutexName) = 0;
    virtual bool StartProgram(const std::string& path) = 0;
    // Posts WM_TARNELIX_INSTALLED_UPDATES to the main window with the count
    // in wParam and 0 in lParam; false while there is no main window.
    virtual bool PostInstalledUpdates(unsigned count) = 0;
    virtual void Wait(unsigned milliseconds) = 0;
    // Local time, "%Y-%m-%d %H:%M:%S".
    virtual std::string Now() = 0;
};

// The whole run. Returns the number of files installed.
unsigned RunAtLogOn(CUpdateInstaller& installer, IStartupSystem& system, IFileStore& files,
                    const std::string& programFolder);

// Adds the lines, each after the time stamp, to the end of the log file;
// the file is rewritten whole, never left half-written.
void AppendToLog(IFileStore& files, const std::string& path, const std::string& stamp,
                 const std::vector<std::string>& lines);
