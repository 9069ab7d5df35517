// CRegExp::Match in global mode against the same work done with PCRE
// directly: one compile, up to 50 executions, group 1 kept, one release.
// The wrapper may cost at most 20% more (ratio printed at the end).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <pcre.h>

#include "regex/RegExp.h"
#include "support/AutoindexPages.h"
#include "support/TimesReporter.h"

namespace {

constexpr int kEntries = 1000;
constexpr double kTargetRatio = 1.2;
const char* const kHrefPattern = "<a href=\"([^\"/]+)\">";

const std::string& Listing() {
    static const std::string listing = AutoindexPageOf(kEntries);
    return listing;
}

void BM_MatchGlobal(benchmark::State& state) {
    const std::string& listing = Listing();
    CRegExp re;
    for (auto _ : state) {
        const int count = re.Match(listing, kHrefPattern, "g");
        benchmark::DoNotOptimize(count);
    }
    if (re.Match(listing, kHrefPattern, "g") != 50 || re.GetMatch(50) != "Update49.dll") {
        state.SkipWithError("Match did not find the 50 expected names");
    }
}
BENCHMARK(BM_MatchGlobal);

// The passes Match makes in global mode, without the wrapper.
int RawGlobalPasses(const std::string& subject, int* spans) {
    const char* error = nullptr;
    int errorOffset = 0;
    pcre* compiled = pcre_compile(kHrefPattern, 0, &error, &errorOffset, nullptr);
    if (compiled == nullptr) {
        return 0;
    }
    const int length = static_cast<int>(subject.size());
    int start = 0;
    int found = 0;
    while (found < 50) {
        int pass[150];
        const int rc = pcre_exec(compiled, nullptr, subject.data(), length, start, 0, pass, 150);
        if (rc <= 0) {
            break;
        }
        ++found;
        spans[2 * found] = pass[2];
        spans[2 * found + 1] = pass[3];
        start = pass[1];
    }
    pcre_free(compiled);
    return found;
}

void BM_RawPcreExec(benchmark::State& state) {
    const std::string& listing = Listing();
    int spans[150] = {};
    for (auto _ : state) {
        const int count = RawGlobalPasses(listing, spans);
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(spans);
    }
    if (RawGlobalPasses(listing, spans) != 50) {
        state.SkipWithError("raw passes did not find 50 names");
    }
}
BENCHMARK(BM_RawPcreExec);

}  // namespace

int main(int argc, char** argv) {
    TimesReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) {
        return 1;
    }
    double match = 0;
    double raw = 0;
    if (!reporter.Both("BM_MatchGlobal", "BM_RawPcreExec", match, raw)) {
        return 0;  // a filter left one of them out
    }
    const double ratio = match / raw;
    std::printf("ratio Match/pcre_exec = %.2f (target <= %.1f): %s\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "MISSED");
    return ratio <= kTargetRatio ? 0 : 1;
}
