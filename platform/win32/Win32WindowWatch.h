// Watching other programs from outside: an out-of-context WinEvent hook for
// window creation and the low-level keyboard and mouse hooks, on a thread
// of their own.
#pragma once
#include <windows.h>

#include "platform/WindowWatch.h"

// IWatchedWindows over the Win32 window and process functions. None of
// them sends a message to the other program, so a hung one cannot hold the
// watching thread.
class Win32WatchedWindows final : public IWatchedWindows {
public:
    std::string ClassName(WindowId window) const override;
    std::optional<WindowShape> Shape(WindowId window) const override;
    std::optional<ProcessFacts> Process(std::uint32_t processId) const override;
    std::uint32_t ForegroundProcessId() const override;
};

// The system calls a low-level hook in the thread that installed it, and
// holds the input of the whole desktop until it returns; Windows even
// removes a hook that is too slow. The user-interface thread saves files,
// plays sounds and shows boxes, so the hooks get a thread that does nothing
// but pump messages. Out-of-context WinEvents come to that thread as well,
// so the sink sees all events on one thread and needs no lock. One watch
// per process.
class Win32WindowWatch {
public:
    explicit Win32WindowWatch(IWindowWatchSink& sink) : sink(sink) {}
    ~Win32WindowWatch() { Stop(); }
    Win32WindowWatch(const Win32WindowWatch&) = delete;
    Win32WindowWatch& operator=(const Win32WindowWatch&) = delete;

    // Starts the thread and waits until its hooks are in place; false (and
    // no thread) when one of them could not be installed. Does nothing
    // while running.
    bool Start();
    // Removes the hooks and waits for the thread's end.
    void Stop();
    bool Running() const { return thread != nullptr; }

private:
    static DWORD WINAPI Run(void* parameter);

    IWindowWatchSink& sink;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
};
