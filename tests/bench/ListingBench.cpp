// Reading the update server's listing (ReadListing: one search per entry,
// each starting after the previous entry's date). Its cost must grow with
// the listing's length only: 10,000 entries may take at most 12 times as
// long as 1,000, measured in the same run, and under 100 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/core/UpdateCheck.h"
#include "support/AutoindexPages.h"
#include "support/TimesReporter.h"

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

}  // namespace

int main(int argc, char** argv) {
    TimesReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) {
        return 1;
    }
    double large = 0;
    double small = 0;
    if (!reporter.Both("BM_ReadListing/10000", "BM_ReadListing/1000", large, small)) {
        return 0;  // a filter left one of them out
    }
    const double ratio = large / small;
    const bool met = ratio <= kTargetRatio && large < kTargetLargeMs;
    std::printf("ratio 10000/1000 entries = %.2f (target <= %.0f), 10000 entries in %.2f ms (target < %.0f): %s\n",
                ratio, kTargetRatio, large, kTargetLargeMs, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
