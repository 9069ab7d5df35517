// Reading the update server's listing (ReadListing: one search per entry,
// each starting after the previous entry's date). Its cost must grow with
// the listing's length only: 10,000 entries may take at most 12 times as
// long as 1,000, measured in the same run, and under 100 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/core/UpdateCheck.h"
#include "support/AutoindexPages.h"

namespace {

constexpr double kTargetRatio = 12.0;
constexpr double kTargetLargeMs = 100.0;

void BM_ReadListing(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const std::string page = AutoindexPageOf(entries);
    std::size_t read = 0;
    for (auto _ : state) {
        CRegExp re;
        StringPairList found;
        ReadListing(re, page, found);
        read = found.Count();
        benchmark::DoNotOptimize(read);
    }
    if (read != static_cast<std::size_t>(entries)) {
        state.SkipWithError("the listing did not give every entry");
    }
    state.counters["entries"] = entries;
}
BENCHMARK(BM_ReadListing)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Shows the usual table and keeps the time per iteration by entry count.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                msOf[run.run_name.args] = run.GetAdjustedRealTime();
            }
        }
    }

    std::map<std::string, double> msOf;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto small = reporter.msOf.find("1000");
    const auto large = reporter.msOf.find("10000");
    if (small == reporter.msOf.end() || large == reporter.msOf.end() || small->second <= 0) {
        return 0;  // a filter left one of them out
    }
    const double ratio = large->second / small->second;
    const bool met = ratio <= kTargetRatio && large->second < kTargetLargeMs;
    std::printf("ratio 10000/1000 entries = %.2f (target <= %.0f), 10000 entries in %.2f ms (target < %.0f): %s\n",
                ratio, kTargetRatio, large->second, kTargetLargeMs, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
