#include <gtest/gtest.h>

#include "app/core/MainWindowLogic.h"

TEST(Navigation, EachPointHitsItsRegionAndASharedEdgeBelongsToTheFirst)
{
    const struct {
        int x, y;
        NavigationTarget target;
        int page;
    } cases[] = {
        // The walk of the Wine look test clicks every tab; here the edges.
        {240, 30, NavigationTarget::GeneralPage, 0},  {241, 30, NavigationTarget::AdvancedPage, 6},
        {305, 12, NavigationTarget::AdvancedPage, 6}, {306, 60, NavigationTarget::AddPopupsPage, 1},
        {575, 60, NavigationTarget::Help, 5},         {465, 208, NavigationTarget::Help, 5},
        {179, 30, NavigationTarget::None, -1},        {576, 30, NavigationTarget::None, -1},
        {300, 11, NavigationTarget::None, -1},        {300, 61, NavigationTarget::None, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HitTestNavigation(c.x, c.y), c.target) << c.x << ", " << c.y;
        EXPECT_EQ(PageNumber(HitTestNavigation(c.x, c.y)), c.page) << c.x << ", " << c.y;
    }
    EXPECT_TRUE(IsHandCursorRegion(580, 12) && IsHandCursorRegion(360, 221));  // 580: beyond the last tab
    EXPECT_FALSE(IsHandCursorRegion(581, 12) || IsHandCursorRegion(100, 100));
}

TEST(Timer51, MinuteStepEvery200TicksUpdateCheckEvery120MinutesNoAdwareScanWhileDisabled)
{
    TickState state{198, 119};
    EXPECT_FALSE(OnTimer51Tick(state, false).minuteStep);  // tick 199
    const TickActions minute120 = OnTimer51Tick(state, true);
    EXPECT_TRUE(minute120.guardHomePage && minute120.startUpdateCheck);
    EXPECT_FALSE(minute120.scanAdware);
    EXPECT_EQ(state.tickCount, 0);
    int checks = 0;
    for (int tick = 0; tick < 120 * 200; ++tick) {
        checks += OnTimer51Tick(state, false).startUpdateCheck ? 1 : 0;
    }
    EXPECT_EQ(checks, 1);  // minute 240
    EXPECT_EQ(state.minuteCount, 240);
}
