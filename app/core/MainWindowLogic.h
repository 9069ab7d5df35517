#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/Counters.h"

// Decisions of the main window that need no window: page hit regions, the
// six-digit counter, the timer schedule and the message protocol. The
// window procedure translates, calls these and acts.

enum class NavigationTarget {
    None,
    GeneralPage,
    AdvancedPage,
    AddPopupsPage,
    HistoryPage,
    AllowedPage,
    ReportsPage,
    Help,
    SoundPage,
};

// Client pixel of a left click → page. Regions are tested in table order
// with inclusive bounds and the first match wins, so the shared edge x 240
// belongs to the general page.
NavigationTarget HitTestNavigation(int x, int y);
// The ShowPage number of a target: 0 general, 1 add popups, 2 history,
// 3 allowed, 4 reports, 5 help, 6 advanced, 7 sound; -1 for None.
int PageNumber(NavigationTarget target);
// The Add popups page is refused while AutoBlock is checked; the window
// shows kAddPopupsLockedMessage instead.
bool IsPageLocked(NavigationTarget target, bool autoBlockChecked);
inline constexpr char kAddPopupsLockedMessage[] =
    "Uncheck \"Kill all pop-up windows automatically\" to access this page!";
// The tab strip (x 180–580, y 12–60) and the two lower regions show the
// hand cursor.
bool IsHandCursorRegion(int x, int y);

inline constexpr int kCounterDigitCount = 6;
// Popup total + adware total as six digits, leftmost first (12 + 3 gives
// "000015"). nullopt when the sum needs more than six digits or is negative
// (a hand-edited registry): the caller then runs ResetCounters. The sum is
// taken in 64 bits, so two totals near INT32_MAX cannot wrap round to a
// small number.
std::optional<std::string> CounterDigits(const Counters& counters);
// Zeroes the popup and adware totals and run counts; the add-on run total
// is kept.
void ResetCounters(Counters& counters);

// Timer 51 (300 ms): every 200th tick is the minute step.
inline constexpr unsigned kTimer50Id = 50;
inline constexpr unsigned kTimer51Id = 51;
inline constexpr unsigned kTimer51PeriodMs = 300;
inline constexpr int kTicksPerMinute = 200;
inline constexpr int kMinutesPerUpdateCheck = 120;

// Timer 52 (5 s, also while protection is off): saves that failed are
// tried again, and the user is told of faults they have not heard of.
inline constexpr unsigned kSaveCheckTimerId = 52;
inline constexpr unsigned kSaveCheckPeriodMs = 5000;

struct TickState {
    int tickCount = 0;
    int minuteCount = 0;
};

// What one tick of timer 51 asks for besides the slide step and the
// browser-box step, which run on every tick.
struct TickActions {
    bool minuteStep = false;
    bool guardHomePage = false;
    bool scanAdware = false;
    bool startUpdateCheck = false;
};

TickActions OnTimer51Tick(TickState& state, bool disableChecked);

// What starting protection asks for: timer 51 while Disable is unchecked,
// timer 50 while the Messenger option is on too and the service runs. Only
// start-up (and the Advanced page's Messenger box) stops the service:
// switching protection on again from the Disable box, the tray or a posted
// 1048 restarts the timers and starts no stop worker.
struct TimerPlan {
    bool timer50 = false;
    bool timer51 = false;
    bool stopMessengerService = false;
};
TimerPlan PlanTimers(bool disableChecked, bool messengerChecked, bool messengerRunning, bool atStartUp);

inline constexpr char kStartupProgramName[] = "TarnelixCtrl.exe";
inline constexpr char kHelpFileName[] = "TarnelixHelp.chm";
inline constexpr char kRunValueName[] = "Tarnelix";
// The Run entry's string: the start-up program when WindowsStarts is
// checked, else empty (the value is never deleted).
std::string RunEntryValue(bool checked, const std::string& programFolder);
std::string HelpFilePath(const std::string& programFolder);

// Broadcasts reach their sender too: DISABLE, PRIVACY_ADDON_RUN and
// INSTALLED_UPDATES are handled only when lParam is another window.
bool IsFromOtherWindow(std::uintptr_t lParam, std::uintptr_t ownHandle);
// wParam of the WM_TARNELIX_DISABLE broadcast: 1 protection off, 0 on.
std::uintptr_t DisableBroadcastWParam(bool disableChecked);

enum class AddOnRunAction { None, MarkRunning, MarkEnded, CountRun };
// WM_TARNELIX_PRIVACY_ADDON_RUN: 1 started, 0 ending, 2 a cleaning run
// starts (count it and save the counters); anything else is ignored.
AddOnRunAction AddOnRunActionFor(std::uintptr_t wParam);
