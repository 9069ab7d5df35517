#include <gtest/gtest.h>

#include "app/core/MainWindowLogic.h"

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
