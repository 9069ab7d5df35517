#include "app/core/MainWindowLogic.h"

#include <array>
#include <cstdint>

namespace {

struct Region {
    int left;
    int right;
    int top;
    int bottom;
    NavigationTarget target;
};

// In the order the clicks are tested; bounds inclusive.
constexpr std::array<Region, 9> kRegions = {{
    {180, 240, 12, 60, NavigationTarget::GeneralPage},
    {240, 305, 12, 60, NavigationTarget::AdvancedPage},
    {305, 350, 12, 60, NavigationTarget::AddPopupsPage},
    {350, 405, 12, 60, NavigationTarget::HistoryPage},
    {405, 460, 12, 60, NavigationTarget::AllowedPage},
    {460, 520, 12, 60, NavigationTarget::ReportsPage},
    {520, 575, 12, 60, NavigationTarget::Help},
    {430, 500, 201, 215, NavigationTarget::Help},
    {226, 360, 221, 250, NavigationTarget::SoundPage},
}};

constexpr Region kTabStrip{180, 580, 12, 60, NavigationTarget::None};

bool Contains(const Region& region, int x, int y)
{
    return x >= region.left && x <= region.right && y >= region.top && y <= region.bottom;
}

}  // namespace

NavigationTarget HitTestNavigation(int x, int y)
{
    for (const Region& region : kRegions) {
        if (Contains(region, x, y)) {
            return region.target;
        }
    }
    return NavigationTarget::None;
}

int PageNumber(NavigationTarget target)
{
    switch (target) {
    case NavigationTarget::GeneralPage: return 0;
    case NavigationTarget::AddPopupsPage: return 1;
    case NavigationTarget::HistoryPage: return 2;
    case NavigationTarget::AllowedPage: return 3;
    case NavigationTarget::ReportsPage: return 4;
    case NavigationTarget::Help: return 5;
    case NavigationTarget::AdvancedPage: return 6;
    case NavigationTarget::SoundPage: return 7;
    case NavigationTarget::None: break;
    }
    return -1;
}

bool IsPageLocked(NavigationTarget target, bool autoBlockChecked)
{
    return target == NavigationTarget::AddPopupsPage && autoBlockChecked;
}

bool IsHandCursorRegion(int x, int y)
{
    // The last two table rows are the lower regions.
    return Contains(kTabStrip, x, y) || Contains(kRegions[7], x, y) || Contains(kRegions[8], x, y);
}

std::optional<std::string> CounterDigits(const Counters& counters)
{
    constexpr std::int64_t kLargestShown = 999999;
    const std::int64_t sum = static_cast<std::int64_t>(counters.popupTotal) + counters.adwareTotal;
    if (sum < 0 || sum > kLargestShown) {
        return std::nullopt;
    }
    std::string digits(kCounterDigitCount, '0');
    std::int64_t rest = sum;
    for (int i = kCounterDigitCount - 1; i >= 0 && rest > 0; --i) {
        digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    return digits;
}

void ResetCounters(Counters& counters)
{
    counters.popupTotal = 0;
    counters.popupRun = 0;
    counters.adwareTotal = 0;
    counters.adwareRun = 0;
}

TickActions OnTimer51Tick(TickState& state, bool disableChecked)
{
    TickActions actions;
    ++state.tickCount;
    if (state.tickCount < kTicksPerMinute) {
        return actions;
    }
    state.tickCount = 0;
    ++state.minuteCount;
    actions.minuteStep = true;
    actions.guardHomePage = true;
    actions.scanAdware = !disableChecked;
    actions.startUpdateCheck = state.minuteCount % kMinutesPerUpdateCheck == 0;
    return actions;
}

TimerPlan PlanTimers(bool disableChecked, bool messengerChecked, bool messengerRunning, bool atStartUp)
{
    TimerPlan plan;
    plan.timer51 = !disableChecked;
    plan.timer50 = plan.timer51 && messengerChecked && messengerRunning;
    plan.stopMessengerService = plan.timer50 && atStartUp;
    return plan;
}

std::string RunEntryValue(bool checked, const std::string& programFolder)
{
    return checked ? programFolder + kStartupProgramName : std::string();
}

std::string HelpFilePath(const std::string& programFolder)
{
    return programFolder + kHelpFileName;
}

bool IsFromOtherWindow(std::uintptr_t lParam, std::uintptr_t ownHandle)
{
    return lParam != ownHandle;
}

std::uintptr_t DisableBroadcastWParam(bool disableChecked)
{
    return disableChecked ? 1 : 0;
}

AddOnRunAction AddOnRunActionFor(std::uintptr_t wParam)
{
    switch (wParam) {
    case 0: return AddOnRunAction::MarkEnded;
    case 1: return AddOnRunAction::MarkRunning;
    case 2: return AddOnRunAction::CountRun;
    default: return AddOnRunAction::None;
    }
}
