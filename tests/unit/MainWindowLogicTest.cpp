#include <gtest/gtest.h>

#include "app/core/MainWindowLogic.h"

TEST(Navigation, EachPointHitsItsRegionAndASharedEdgeBelongsToTheFirst)
{
    const struct {
        int x, y;
        NavigationTarget target;
    } cases[] = {
        {240, 30, NavigationTarget::GeneralPage},   {241, 30, NavigationTarget::AdvancedPage},
        {305, 12, NavigationTarget::AdvancedPage},  {306, 60, NavigationTarget::AddPopupsPage},
        {180, 12, NavigationTarget::GeneralPage},   {320, 30, NavigationTarget::AddPopupsPage},
        {380, 30, NavigationTarget::HistoryPage},   {430, 30, NavigationTarget::AllowedPage},
        {500, 30, NavigationTarget::ReportsPage},   {575, 60, NavigationTarget::Help},
        {465, 208, NavigationTarget::Help},         {226, 250, NavigationTarget::SoundPage},
        {179, 30, NavigationTarget::None},          {576, 30, NavigationTarget::None},
        {300, 11, NavigationTarget::None},          {300, 61, NavigationTarget::None},
        {429, 208, NavigationTarget::None},         {361, 230, NavigationTarget::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HitTestNavigation(c.x, c.y), c.target) << c.x << ", " << c.y;
    }
}

TEST(Navigation, AddPopupsPageIsLockedOnlyWhileAutoBlockIsChecked)
{
    EXPECT_TRUE(IsPageLocked(NavigationTarget::AddPopupsPage, true));
    EXPECT_FALSE(IsPageLocked(NavigationTarget::AddPopupsPage, false));
    EXPECT_FALSE(IsPageLocked(NavigationTarget::HistoryPage, true));
}

TEST(Navigation, HandCursorOverTabStripAndLowerRegions)
{
    EXPECT_TRUE(IsHandCursorRegion(580, 12));  // beyond the last tab, still the strip
    EXPECT_FALSE(IsHandCursorRegion(581, 12));
    EXPECT_TRUE(IsHandCursorRegion(430, 201));
    EXPECT_TRUE(IsHandCursorRegion(360, 221));
    EXPECT_FALSE(IsHandCursorRegion(100, 100));
}

TEST(Timer51, MinuteStepOnEvery200thTickAndAdwareScanWaitsWhileDisabled)
{
    TickState state;
    for (int i = 1; i < 200; ++i) {
        EXPECT_FALSE(OnTimer51Tick(state, false).minuteStep) << "tick " << i;
    }
    const TickActions actions = OnTimer51Tick(state, false);
    EXPECT_TRUE(actions.minuteStep);
    EXPECT_TRUE(actions.guardHomePage);
    EXPECT_TRUE(actions.scanAdware);
    EXPECT_FALSE(actions.startUpdateCheck);
    EXPECT_EQ(state.tickCount, 0);
    EXPECT_EQ(state.minuteCount, 1);

    TickState disabled{199, 0};
    const TickActions whileDisabled = OnTimer51Tick(disabled, true);
    EXPECT_TRUE(whileDisabled.guardHomePage);
    EXPECT_FALSE(whileDisabled.scanAdware);
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

TEST(Timers, Timer50NeedsEnabledMessengerOptionAndRunningServiceTimer51OnlyEnabled)
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
}

TEST(MessageProtocol, OwnBroadcastsAreSkippedAndTheAddOnRunWParamChoosesTheAction)
{
    EXPECT_FALSE(IsFromOtherWindow(0x1234, 0x1234));
    EXPECT_TRUE(IsFromOtherWindow(0x5678, 0x1234));
    EXPECT_TRUE(IsFromOtherWindow(0, 0x1234));
    EXPECT_EQ(AddOnRunActionFor(1), AddOnRunAction::MarkRunning);
    EXPECT_EQ(AddOnRunActionFor(0), AddOnRunAction::MarkEnded);
    EXPECT_EQ(AddOnRunActionFor(2), AddOnRunAction::CountRun);
    EXPECT_EQ(AddOnRunActionFor(3), AddOnRunAction::None);
}
