#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/WindowWatch.h"

// Today's browsers refuse the hook library (or were never in its table,
// or run as 32-bit programs a 64-bit hook never enters), so they are
// watched from outside: window creation and the user's input as the system
// reports them to a thread of the main program.

// A browser by its program file name (compared ignoring case) and the class
// of its frames.
struct ModernBrowser {
    const char* programName;
    const char* frameClass;
};

inline constexpr char kChromiumFrameClass[] = "Chrome_WidgetWin_1";
inline constexpr char kFirefoxFrameClass[] = "MozillaWindowClass";
inline constexpr ModernBrowser kModernBrowsers[] = {
    {"chrome.exe", kChromiumFrameClass},  {"msedge.exe", kChromiumFrameClass},
    {"brave.exe", kChromiumFrameClass},   {"opera.exe", kChromiumFrameClass},
    {"vivaldi.exe", kChromiumFrameClass}, {"firefox.exe", kFirefoxFrameClass},
};

// The browser a program file is; null for any other program, and for one
// the hook library watches itself: a window judged twice would be counted
// twice.
const ModernBrowser* FindModernBrowser(const std::string& programPath);
// Any browser of the table makes frames of this class.
bool IsModernFrameClass(const std::string& className);
// Top-level, unowned, with caption and system menu: the browsers' menus,
// tooltips, drop-downs and hidden message windows are made of the same
// class, but never have all of these.
bool HasFrameShape(const WindowShape& shape);

// A frame made this long after a qualifying key press or click of its
// process is one the user asked for (the hook library's measure too).
inline constexpr std::uint32_t kUserActionWindowMs = 1500;
// A browser restores its last session when it starts, several frames at
// once without any input; the frames of its first seconds are kept.
inline constexpr std::uint32_t kSessionRestoreMs = 3000;

// The last qualifying action of the processes the user worked in, in a few
// fixed slots: stamping runs inside the low-level hooks, which must return
// at once (Windows drops a slow low-level hook), so it never allocates. An
// action older than kUserActionWindowMs counts for nothing, so a slot is
// only needed for as long; the oldest is reused.
class UserActionTable {
public:
    void Stamp(std::uint32_t processId, std::uint32_t tick);
    // True when the process has an unused action at most kUserActionWindowMs
    // before tick (and not after it: an action cannot ask for a frame that
    // already stood); the action is then used up, so that one action lets
    // exactly one frame through.
    bool TakeAction(std::uint32_t processId, std::uint32_t tick);

private:
    struct Slot {
        std::uint32_t processId = 0;
        std::uint32_t tick = 0;
        bool unused = false;
    };
    static constexpr std::size_t kSlots = 16;
    Slot slots[kSlots]{};
};

// Judges the frames of today's browsers. Runs on the watching thread only;
// its verdicts go to `report`, which hands them to the main window, where
// the popups are killed like those the hook library reports.
class CBrowserWatcher final : public IWindowWatchSink {
public:
    // frame, and whether it is a popup.
    using Report = std::function<void(WindowId, bool)>;
    CBrowserWatcher(const IWatchedWindows& windows, Report report);

    // A key going down, or a left or middle button coming up (a click is
    // done when the button is released, as for the hook library), is an
    // action of the process whose window is in front. Nothing else counts:
    // the pointer moving over a page is not the user asking for a window.
    void OnInput(bool keyboard, std::uint32_t message, std::uint32_t tick) override;
    // Reports a browser frame with its verdict; every other window is let be.
    void OnWindowCreated(WindowId window, std::uint32_t tick) override;

    // The rule for a frame of the process created at frameTick: a popup,
    // unless the process started less than kSessionRestoreMs before, or
    // took a qualifying action at most kUserActionWindowMs before.
    bool IsPopup(std::uint32_t processId, std::uint32_t processStartTick, std::uint32_t frameTick);

private:
    const IWatchedWindows& windows;
    Report report;
    UserActionTable actions;
};
