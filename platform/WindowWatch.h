#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Desktop.h"

// What the system reports from outside, without any library in the other
// programs: the creation of their top-level windows and the user's keys and
// clicks. Both arrive on the one thread that watches, in the order the
// system delivers them; ticks are the system's millisecond tick count at
// the event.
class IWindowWatchSink {
public:
    virtual ~IWindowWatchSink() = default;
    // A low-level keyboard (keyboard true) or mouse event: the window
    // message it stands for (WM_KEYDOWN, WM_LBUTTONUP, ...).
    virtual void OnInput(bool keyboard, std::uint32_t message, std::uint32_t tick) = 0;
    // Another program created a window (a top-level one or not; the sink
    // finds out).
    virtual void OnWindowCreated(WindowId window, std::uint32_t tick) = 0;
};

// The facts of a window another program just created.
struct WindowShape {
    std::uint32_t style = 0;
    bool topLevel = false;  // its parent is the desktop
    bool owned = false;     // it has an owner window
    std::uint32_t processId = 0;
};

struct ProcessFacts {
    std::string programPath;
    // Tick count at which the process started (wraps like the tick count).
    std::uint32_t startTick = 0;
};

// The window and process questions of the browser watcher, asked on the
// watching thread. Each answer is read as it stands; a window or process
// that is gone answers empty.
class IWatchedWindows {
public:
    virtual ~IWatchedWindows() = default;
    // "" when the window is gone.
    virtual std::string ClassName(WindowId window) const = 0;
    virtual std::optional<WindowShape> Shape(WindowId window) const = 0;
    // nullopt when the process is gone or may not be asked.
    virtual std::optional<ProcessFacts> Process(std::uint32_t processId) const = 0;
    // The process of the window in front; 0 when there is none.
    virtual std::uint32_t ForegroundProcessId() const = 0;
};
