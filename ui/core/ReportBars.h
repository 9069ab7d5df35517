#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/Counters.h"

namespace tarnelix {

// The reports page (CReports, template 138): four bars on a common base
// line, the totals at full height and the counts of this run in proportion
// to their totals.

inline constexpr int kReportBarCount = 4;
// Bars 1 to 4: popup total, popups of this run, adware total, adware of
// this run.
inline constexpr std::array<int, kReportBarCount> kReportBarControlIds{1041, 1042, 1014, 1025};
inline constexpr std::array<int, kReportBarCount> kReportBarLefts{44, 130, 216, 302};
inline constexpr int kReportBarWidth = 39;
inline constexpr int kReportBarFullHeight = 122;
inline constexpr int kReportBarBaseLine = 200;
inline constexpr int kReportsTemplateId = 138;
inline constexpr int kReportsResetButtonId = 1053;
inline constexpr unsigned kReportsRefreshMilliseconds = 3000;

// The page reads the counters as unsigned 32-bit values.
std::uint32_t BarValue(int barIndex, const Counters& counters);

struct BarGeometry {
    std::uint32_t value = 0;  // the counter the bar shows, for ReportBarsState
    bool visible = false;     // a bar with the value 0 is hidden
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string caption;  // "   %d"
};

// Bar 0..3. The bar of a run is run × 122 / total, truncated (3 of 10:
// 3 × 122 / 10 = 36, top 200 - 36 = 164). The product is taken in 64 bits
// so that a count above 35 million cannot wrap, and the height never
// exceeds the full bar (a run above its total, or a total of 0, stands at
// full height). An index outside 0..3 is an invisible bar.
BarGeometry ComputeBar(int barIndex, const Counters& counters);

// What each bar last showed, so that a refresh touches only the bars whose
// value changed.
class ReportBarsState {
public:
    // True when the bar must be hidden (value 0, remembered as 0) or set up
    // again from ComputeBar (a new value, remembered); false when it shows
    // this value already and is left as it is.
    bool NeedsUpdate(int barIndex, std::uint32_t value);

private:
    std::array<std::uint32_t, kReportBarCount> lastShown{};
};

}  // namespace tarnelix
