#include "ui/core/ReportBars.h"

#include <cstdio>

namespace tarnelix {

namespace {

bool IsBar(int barIndex)
{
    return barIndex >= 0 && barIndex < kReportBarCount;
}

std::uint32_t AsUnsigned(std::int32_t value)
{
    return static_cast<std::uint32_t>(value);
}

// The run bars (1 and 3) are measured against the total just before them.
bool IsRunBar(int barIndex)
{
    return barIndex == 1 || barIndex == 3;
}

int BarHeight(int barIndex, const Counters& counters)
{
    if (!IsRunBar(barIndex)) {
        return kReportBarFullHeight;
    }
    const std::uint64_t run = BarValue(barIndex, counters);
    const std::uint64_t total = BarValue(barIndex - 1, counters);
    if (total == 0 || run >= total) {
        return kReportBarFullHeight;
    }
    return static_cast<int>(run * kReportBarFullHeight / total);
}

// "%d" of the value as the counter holds it, so a total read from an edited
// registry as -4 shows as -4, as the page always printed it.
std::string Caption(std::uint32_t value)
{
    char text[32] = {};
    std::snprintf(text, sizeof text, "   %d", static_cast<int>(static_cast<std::int32_t>(value)));
    return text;
}

}  // namespace

std::uint32_t BarValue(int barIndex, const Counters& counters)
{
    switch (barIndex) {
    case 0:
        return AsUnsigned(counters.popupTotal);
    case 1:
        return AsUnsigned(counters.popupRun);
    case 2:
        return AsUnsigned(counters.adwareTotal);
    case 3:
        return AsUnsigned(counters.adwareRun);
    default:
        return 0;
    }
}

BarGeometry ComputeBar(int barIndex, const Counters& counters)
{
    BarGeometry bar;
    const std::uint32_t value = BarValue(barIndex, counters);
    bar.value = value;
    if (!IsBar(barIndex) || value == 0) {
        return bar;
    }
    bar.visible = true;
    bar.height = BarHeight(barIndex, counters);
    bar.left = kReportBarLefts[static_cast<std::size_t>(barIndex)];
    bar.top = kReportBarBaseLine - bar.height;
    bar.width = kReportBarWidth;
    bar.caption = Caption(value);
    return bar;
}

bool ReportBarsState::NeedsUpdate(int barIndex, std::uint32_t value)
{
    if (!IsBar(barIndex)) {
        return false;
    }
    std::uint32_t& last = lastShown[static_cast<std::size_t>(barIndex)];
    if (value == 0) {
        last = 0;
        return true;
    }
    if (value == last) {
        return false;
    }
    last = value;
    return true;
}

}  // namespace tarnelix
