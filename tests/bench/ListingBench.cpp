// Reading the update server's listing (ReadListing: one search per entry,
// each starting after the previous entry's date). Its cost must grow with
// the listing's length only: 10,000 entries may take at most 12 times as
// long as 1,000, measured in the same run, and under 100 ms (CPU time).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/core/UpdateCheck.h"
#include "support/AutoindexPages.h"
#include "support/TimesReporter.h"

namespace {

constexpr double kTargetRatio = 12.0;
constexpr double kTargetLargeMs = 100.0;

std::size_t Read(const std::string& page)
{
    CRegExp re;
    StringPairList found;
    ReadListing(re, page, found);
    return found.Count();
}

void BM_ReadListing(benchmark::State& state)
{
    const std::size_t entries = static_cast<std::size_t>(state.range(0));
    const std::string page = AutoindexPageOf(static_cast<int>(entries));
    for (auto _ : state) {
        if (Read(page) != entries) {
            state.SkipWithError("the listing did not give every entry");
            break;
        }
    }
}
BENCHMARK(BM_ReadListing)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The two sizes read in turn, so that a change of load on the shared
// machine falls on both alike: "ratio" is the median, over the rounds, of
// the CPU time of the large listing over that of the small one.
void BM_ReadListingInTurn(benchmark::State& state)
{
    const std::string small = AutoindexPageOf(1000);
    const std::string large = AutoindexPageOf(10000);
    std::vector<double> ratios;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        benchmark::DoNotOptimize(Read(small));
        const std::clock_t middle = std::clock();
        benchmark::DoNotOptimize(Read(large));
        const std::clock_t end = std::clock();
        ratios.push_back(static_cast<double>(end - middle) / static_cast<double>(std::max<std::clock_t>(middle - start, 1)));
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    state.counters["ratio"] = ratios[ratios.size() / 2];
}
// Enough rounds for a steady median whatever --benchmark_min_time says.
BENCHMARK(BM_ReadListingInTurn)->MinTime(0.5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TimesReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) {
        return 1;
    }
    const auto large = reporter.timeOf.find("BM_ReadListing/10000");
    const auto ratio = reporter.ratioOf.find("BM_ReadListingInTurn");
    if (large == reporter.timeOf.end() || ratio == reporter.ratioOf.end()) {
        return 0;  // a filter left one of them out
    }
    const bool met = ratio->second <= kTargetRatio && large->second < kTargetLargeMs;
    std::printf("ratio 10000/1000 entries = %.2f (target <= %.0f), 10000 entries in %.2f ms (target < %.0f): %s\n",
                ratio->second, kTargetRatio, large->second, kTargetLargeMs, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
