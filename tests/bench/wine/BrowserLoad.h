// The load TestBrowser makes for the timing programs (WatcherTiming, SoakRun),
// on the window tracking of tests/tools/TestBrowser.cpp.
//   helpers N PERIOD    N hidden "Chrome_WidgetWin_1" tooltips and menus, one per
//                       PERIOD ms, destroyed ten windows later
//   soak ROUNDS MOVES   per round: MOVES mouse moves, an open menu and "n", then
//                       frame u.R (let through), popup frame p.R, a child, a dialog
//                       and a frame without the system menu; at the end waits up to
//                       60 s for every p.R to get its close command
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct TrackedWindow {
    std::string name;
    HWND hwnd = nullptr;
    DWORD style = 0, createdTick = 0, firstCloseTick = 0;
    int sysCloses = 0, closes = 0, timerMessages = 0;
};

extern std::vector<TrackedWindow> gWindows;
// TestBrowser's own window, the target of its input.
extern HWND gInputWindow;
// WM_KEYUP messages taken off the queue so far.
extern int gKeyUps;

// Takes what is queued at least once, also for 0 ms.
void Pump(DWORD ms);
HWND CreateTracked(const std::string& name, const char* className, DWORD style, const char* title, HWND parent);

void Helpers(DWORD count, DWORD period);
void Soak(int rounds, int moves);
