// The add-on's side of the message protocol with the main program: finding
// the main window, following its disabled state, the half-hourly run and
// the notices the add-on posts. Portable; the add-on window carries out
// what it decides through IAddOnHost.
#pragma once

#include <cstdint>

#include "platform/Desktop.h"

enum AddOnTimer : unsigned {
    kFindMainWindowTimer = 0,  // once a second until the main window is found
    kDisableQueryTimer = 1,    // repeats the disabled-state query
    kCleaningRunTimer = 2,     // one cleaning run
};
constexpr unsigned kFindMainWindowPeriodMs = 1000;
constexpr unsigned kDisableQueryPeriodMs = 10 * 60 * 1000;
constexpr unsigned kCleaningRunPeriodMs = 30 * 60 * 1000;
// Failed one-second attempts before the add-on gives up (about two minutes).
constexpr int kMaxConnectAttempts = 120;

// wParam of "WM_TARNELIX_PRIVACY_ADDON_RUN".
enum class RunNotice : std::uintptr_t { WindowDestroyed = 0, Attached = 1, CleaningRun = 2 };

// The registered messages the main program broadcasts to the add-on.
enum class MainProgramMessage { Show, Disable, Exit };

class IAddOnHost {
public:
    virtual ~IAddOnHost() = default;
    // The top-level window of class "#32770" titled "Tarnelix 3.0", or 0.
    virtual WindowId FindMainWindow() = 0;
    virtual bool IsWindow(WindowId window) = 0;
    virtual void PostRunNotice(WindowId mainWindow, RunNotice notice) = 0;
    // "WM_TARNELIX_DISABLE" with the add-on window's handle in lParam.
    virtual void PostDisableQuery(WindowId mainWindow) = 0;
    virtual void StartTimer(unsigned id, unsigned periodMs) = 0;
    virtual void StopTimer(unsigned id) = 0;
    // Brings the add-on window to the top and shows it, size and place kept.
    virtual void ShowOnTop() = 0;
    // Ends the modal run of the add-on window with the cancel result.
    virtual void EndAddOn() = 0;
    // The ticked cleaning steps, one after another.
    virtual void RunCleaners() = 0;
};

class CAddOnProtocol {
public:
    explicit CAddOnProtocol(IAddOnHost& host) : host(host) {}

    // Window initialisation: attaches at once when the main window is
    // there, otherwise starts looking once a second; arms the run timer.
    void Start();
    // False when the event ended the add-on; the event then gets no
    // default processing.
    bool OnTimer(unsigned timerId);
    // Acts only on messages of the main window that was found; anything
    // else, also before the main window is known, changes nothing.
    void OnMainProgramMessage(MainProgramMessage message, std::uintptr_t wParam, WindowId sender);
    // The window is being destroyed: tells the main program, once known.
    void OnDestroy();

    bool Hidden() const { return hidden; }
    void Hide() { hidden = true; }
    bool Disabled() const { return disabled; }
    WindowId MainWindow() const { return mainWindow; }
    int ConnectAttempts() const { return connectAttempts; }

private:
    bool FindMainWindow();
    void Attach();
    bool TryAttach();
    // A main window that is no longer a window (Tarnelix ended without its
    // exit broadcast) is forgotten, so that a restarted Tarnelix is found
    // again; until it answers, runs do nothing.
    void ForgetVanishedMainWindow();
    void CleaningRun();

    IAddOnHost& host;
    bool hidden = true;
    bool disabled = true;
    WindowId mainWindow = 0;
    int connectAttempts = 0;
};
