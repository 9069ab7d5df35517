#include <gtest/gtest.h>

#include <cstdint>

#include "common/Counters.h"
#include "ui/core/ReportBars.h"

using namespace tarnelix;

namespace {

Counters Popups(std::int32_t total, std::int32_t run)
{
    Counters counters;
    counters.popupTotal = total;
    counters.popupRun = run;
    return counters;
}

}  // namespace

TEST(ReportsBarGeometry, RunBarsAreProportionalAndTruncatedTotalBarsFull)
{
    Counters adware;
    adware.adwareTotal = 4;
    adware.adwareRun = 1;
    const struct {
        const char* what;
        int bar;
        Counters counters;
        bool visible;
        int height, left;
        const char* caption;
    } cases[] = {
        {"1 × 122 / 4 = 30.5", 3, adware, true, 30, 302, "   1"},
        {"zero total", 0, Popups(0, 0), false, 0, 44, ""},
        {"run without a total", 1, Popups(0, 5), true, 122, 130, "   5"},  // no division by zero
        // 40,000,000 × 122 exceeds 2^32; in 64 bits it is half of 80,000,000.
        {"large counts", 1, Popups(80000000, 40000000), true, 61, 130, "   40000000"},
        {"negative total from the registry", 0, Popups(-4, 0), true, 122, 44, "   -4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BarGeometry bar = ComputeBar(c.bar, c.counters);
        EXPECT_EQ(bar.visible, c.visible);
        if (c.visible) {
            EXPECT_EQ(bar.height, c.height);
            EXPECT_EQ(bar.top, 200 - c.height);
            EXPECT_EQ(bar.left, c.left);
            EXPECT_EQ(bar.width, 39);
            EXPECT_EQ(bar.caption, c.caption);
        }
    }
    EXPECT_FALSE(ComputeBar(4, Popups(10, 3)).visible);
}
