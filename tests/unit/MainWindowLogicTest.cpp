#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "app/core/Counters.h"
#include "app/core/MainWindowLogic.h"

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

}  // namespace

TEST(Navigation, SharedEdgeBelongsToTheFirstRegion)
{
    EXPECT_EQ(HitTestNavigation(240, 30), NavigationTarget::GeneralPage);
    EXPECT_EQ(HitTestNavigation(241, 30), NavigationTarget::AdvancedPage);
    EXPECT_EQ(HitTestNavigation(305, 12), NavigationTarget::AdvancedPage);
    EXPECT_EQ(HitTestNavigation(306, 60), NavigationTarget::AddPopupsPage);
}

TEST(Navigation, EveryTabHasItsPage)
{
    EXPECT_EQ(HitTestNavigation(180, 12), NavigationTarget::GeneralPage);
    EXPECT_EQ(HitTestNavigation(320, 30), NavigationTarget::AddPopupsPage);
    EXPECT_EQ(HitTestNavigation(380, 30), NavigationTarget::HistoryPage);
    EXPECT_EQ(HitTestNavigation(430, 30), NavigationTarget::AllowedPage);
    EXPECT_EQ(HitTestNavigation(500, 30), NavigationTarget::ReportsPage);
    EXPECT_EQ(HitTestNavigation(575, 60), NavigationTarget::Help);
    EXPECT_EQ(HitTestNavigation(465, 208), NavigationTarget::Help);
    EXPECT_EQ(HitTestNavigation(226, 250), NavigationTarget::SoundPage);
}

TEST(Navigation, OutsideTheRegionsIsNothing)
{
    EXPECT_EQ(HitTestNavigation(179, 30), NavigationTarget::None);
    EXPECT_EQ(HitTestNavigation(576, 30), NavigationTarget::None);
    EXPECT_EQ(HitTestNavigation(300, 11), NavigationTarget::None);
    EXPECT_EQ(HitTestNavigation(300, 61), NavigationTarget::None);
    EXPECT_EQ(HitTestNavigation(429, 208), NavigationTarget::None);
    EXPECT_EQ(HitTestNavigation(361, 230), NavigationTarget::None);
}

TEST(Navigation, PageNumbersFollowShowPage)
{
    EXPECT_EQ(PageNumber(NavigationTarget::GeneralPage), 0);
    EXPECT_EQ(PageNumber(NavigationTarget::AddPopupsPage), 1);
    EXPECT_EQ(PageNumber(NavigationTarget::HistoryPage), 2);
    EXPECT_EQ(PageNumber(NavigationTarget::AllowedPage), 3);
    EXPECT_EQ(PageNumber(NavigationTarget::ReportsPage), 4);
    EXPECT_EQ(PageNumber(NavigationTarget::Help), 5);
    EXPECT_EQ(PageNumber(NavigationTarget::AdvancedPage), 6);
    EXPECT_EQ(PageNumber(NavigationTarget::SoundPage), 7);
    EXPECT_EQ(PageNumber(NavigationTarget::None), -1);
}

TEST(Navigation, AddPopupsPageIsLockedOnlyWhileAutoBlockIsChecked)
{
    EXPECT_TRUE(IsPageLocked(NavigationTarget::AddPopupsPage, true));
    EXPECT_FALSE(IsPageLocked(NavigationTarget::AddPopupsPage, false));
    EXPECT_FALSE(IsPageLocked(NavigationTarget::HistoryPage, true));
    EXPECT_STREQ(kAddPopupsLockedMessage, "Uncheck \"Kill all pop-up windows automatically\" to access this page!");
}

TEST(Navigation, HandCursorOverTabStripAndLowerRegions)
{
    EXPECT_TRUE(IsHandCursorRegion(580, 12));  // beyond the last tab, still the strip
    EXPECT_FALSE(IsHandCursorRegion(581, 12));
    EXPECT_TRUE(IsHandCursorRegion(430, 201));
    EXPECT_TRUE(IsHandCursorRegion(360, 221));
    EXPECT_FALSE(IsHandCursorRegion(100, 100));
}

TEST(CounterDisplay, TwelvePopupsAndThreeAdwareRead000015)
{
    Counters counters;
    counters.popupTotal = 12;
    counters.adwareTotal = 3;
    EXPECT_EQ(CounterDigits(counters), "000015");
}

TEST(CounterDisplay, ZeroReadsAllZeros)
{
    EXPECT_EQ(CounterDigits(Counters{}), "000000");
}

TEST(CounterDisplay, NineHundredNinetyNineThousandNineHundredNinetyNineFits)
{
    Counters counters;
    counters.popupTotal = 999000;
    counters.adwareTotal = 999;
    EXPECT_EQ(CounterDigits(counters), "999999");
}

TEST(CounterDisplay, OneMoreKillNeedsSevenDigitsAndAsksForReset)
{
    Counters counters{999999, 40, 0, 2, 17};
    AddKill(counters, kKillKindPopup);
    EXPECT_EQ(CounterDigits(counters), std::nullopt);
    ResetCounters(counters);
    EXPECT_EQ(counters.popupTotal, 0);
    EXPECT_EQ(counters.popupRun, 0);
    EXPECT_EQ(counters.adwareTotal, 0);
    EXPECT_EQ(counters.adwareRun, 0);
    EXPECT_EQ(counters.addOnTotal, 17);
    EXPECT_EQ(CounterDigits(counters), "000000");
}

TEST(CounterDisplay, TwoTotalsNearTheLimitDoNotWrapIntoAShowableSum)
{
    // In 32 bits INT32_MAX + INT32_MAX + 2 would wrap to 0.
    Counters counters;
    counters.popupTotal = kMax;
    counters.adwareTotal = kMax;
    EXPECT_EQ(CounterDigits(counters), std::nullopt);
}

TEST(CounterDisplay, NegativeSumFromAnEditedRegistryAsksForReset)
{
    Counters counters;
    counters.popupTotal = -5;
    EXPECT_EQ(CounterDigits(counters), std::nullopt);
}

TEST(Timer51, MinuteStepOnEvery200thTick)
{
    TickState state;
    for (int i = 1; i < 200; ++i) {
        EXPECT_FALSE(OnTimer51Tick(state, false).minuteStep) << "tick " << i;
    }
    EXPECT_EQ(state.tickCount, 199);
    const TickActions actions = OnTimer51Tick(state, false);
    EXPECT_TRUE(actions.minuteStep);
    EXPECT_TRUE(actions.guardHomePage);
    EXPECT_TRUE(actions.scanAdware);
    EXPECT_FALSE(actions.startUpdateCheck);
    EXPECT_EQ(state.tickCount, 0);
    EXPECT_EQ(state.minuteCount, 1);
}

TEST(Timer51, AdwareScanWaitsWhileDisabled)
{
    TickState state{199, 0};
    const TickActions actions = OnTimer51Tick(state, true);
    EXPECT_TRUE(actions.guardHomePage);
    EXPECT_FALSE(actions.scanAdware);
}

TEST(Timer51, UpdateCheckEvery120Minutes)
{
    TickState state{199, 118};
    EXPECT_FALSE(OnTimer51Tick(state, false).startUpdateCheck);  // minute 119
    int checks = 0;
    int ticks = 0;
    while (state.minuteCount < 240) {
        checks += OnTimer51Tick(state, false).startUpdateCheck ? 1 : 0;
        ++ticks;
    }
    EXPECT_EQ(ticks, 121 * 200);
    EXPECT_EQ(checks, 2);  // minutes 120 and 240
}

TEST(Timers, Timer50NeedsEnabledMessengerOptionAndRunningService)
{
    EXPECT_TRUE(ShouldRunTimer50(false, true, true));
    EXPECT_FALSE(ShouldRunTimer50(true, true, true));
    EXPECT_FALSE(ShouldRunTimer50(false, false, true));
    EXPECT_FALSE(ShouldRunTimer50(false, true, false));
    EXPECT_TRUE(ShouldRunTimer51(false));
    EXPECT_FALSE(ShouldRunTimer51(true));
}

TEST(RunEntry, CheckedWritesStartupProgramElseEmpty)
{
    EXPECT_EQ(RunEntryValue(true, "C:\\Tarnelix\\"), "C:\\Tarnelix\\TarnelixCtrl.exe");
    EXPECT_EQ(RunEntryValue(false, "C:\\Tarnelix\\"), "");
    EXPECT_EQ(HelpFilePath("C:\\Tarnelix\\"), "C:\\Tarnelix\\TarnelixHelp.chm");
}

TEST(MessageProtocol, OwnBroadcastsAreSkipped)
{
    EXPECT_FALSE(IsFromOtherWindow(0x1234, 0x1234));
    EXPECT_TRUE(IsFromOtherWindow(0x5678, 0x1234));
    EXPECT_TRUE(IsFromOtherWindow(0, 0x1234));
    EXPECT_EQ(DisableBroadcastWParam(true), 1u);
    EXPECT_EQ(DisableBroadcastWParam(false), 0u);
}

TEST(MessageProtocol, AddOnRunWParamChoosesTheAction)
{
    EXPECT_EQ(AddOnRunActionFor(1), AddOnRunAction::MarkRunning);
    EXPECT_EQ(AddOnRunActionFor(0), AddOnRunAction::MarkEnded);
    EXPECT_EQ(AddOnRunActionFor(2), AddOnRunAction::CountRun);
    EXPECT_EQ(AddOnRunActionFor(3), AddOnRunAction::None);
}
