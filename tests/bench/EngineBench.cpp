#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "platform/TextCompare.h"
#include "support/DiskFileStore.h"

// The two costs of every kill: the allowed test over a full allowed list
// (target at most 200 µs) and recording the title, which rewrites a full
// history on the real disk (target at most 5 ms).

namespace {

constexpr double kIsAllowedTargetUs = 200.0;
constexpr double kAddTitleTargetUs = 5000.0;
constexpr int kEntries = 10000;

const char* const kWords[] = {"Casino", "Free", "Offer", "Win", "Prize", "Click", "Here", "Now",
                              "Special", "Deal", "Microsoft", "Internet", "Explorer", "Popup",
                              "Cheap", "Flights", "Download", "Toolbar", "Search", "Bonus"};

std::string Word(std::mt19937& random)
{
    return kWords[random() % (sizeof kWords / sizeof kWords[0])];
}

// 511 characters of the same words the entries use, so the byte search
// keeps finding first letters and partial matches: no easy misses.
std::string LongTitle(std::mt19937& random)
{
    std::string title;
    while (title.size() < 511) {
        title += Word(random) + ' ';
    }
    title.resize(511);
    return title;
}

// Two title words and a number the title never holds.
std::string AllowedEntry(std::mt19937& random, int i)
{
    return Word(random) + ' ' + Word(random) + " #" + std::to_string(i);
}

std::string HistoryTitle(std::mt19937& random, int i)
{
    std::string title;
    while (title.size() < 50) {
        title += Word(random) + ' ';
    }
    return title + std::to_string(i) + " - Microsoft Internet Explorer";
}

void IsAllowedFullList(benchmark::State& state)
{
    AsciiTextCompare compare;
    DiskFileStore store;
    AllowedBanners allowed(store, compare, "unused-AllowBanners.dat");
    std::mt19937 random(42);
    std::vector<std::string> entries;
    for (int i = 0; i < kEntries; ++i) {
        entries.push_back(AllowedEntry(random, i));
    }
    allowed.List().AddAll(entries);
    const std::string title = LongTitle(random);
    for (auto _ : state) {
        benchmark::DoNotOptimize(allowed.IsAllowed(title));
    }
    if (allowed.IsAllowed(title)) {
        state.SkipWithError("an entry matched; the benchmark wants the full walk");
    }
}
BENCHMARK(IsAllowedFullList)->Unit(benchmark::kMicrosecond);

void AddTitleWithFullHistoryOnDisk(benchmark::State& state)
{
    AsciiTextCompare compare;
    DiskFileStore store;
    const std::string path = (std::filesystem::temp_directory_path() / "tarnelix-bench-EngineHistory.dat").string();
    BlockedHistory history(store, compare, path);
    std::mt19937 random(7);
    std::vector<std::string> titles;
    for (int i = 0; i < kEntries; ++i) {
        titles.push_back(HistoryTitle(random, i));
    }
    history.List().AddAll(titles);
    history.SaveToFile();
    int next = kEntries;
    for (auto _ : state) {
        const bool added = history.AddTitle(HistoryTitle(random, next++));
        state.PauseTiming();
        if (!added) {
            state.SkipWithError("title was not added");
        }
        // Back to 10000 entries for the next round.
        history.List().DeleteAt(history.List().Count() / 2);
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
}
BENCHMARK(AddTitleWithFullHistoryOnDisk)->Unit(benchmark::kMicrosecond);

// Prints the usual table and keeps each benchmark's time per iteration, so
// that the targets can be judged at the end.
class TargetReporter final : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> microseconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            microseconds[run.benchmark_name()] = seconds * 1e6;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

bool Judge(const TargetReporter& reporter, const std::string& name, double targetUs)
{
    const auto found = reporter.microseconds.find(name);
    if (found == reporter.microseconds.end()) {
        return true;  // filtered out
    }
    const bool met = found->second <= targetUs;
    std::printf("%-32s %10.1f us (target <= %.0f us): target %s\n", name.c_str(), found->second, targetUs,
                met ? "met" : "MISSED");
    return met;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const bool allowedMet = Judge(reporter, "IsAllowedFullList", kIsAllowedTargetUs);
    const bool addTitleMet = Judge(reporter, "AddTitleWithFullHistoryOnDisk", kAddTitleTargetUs);
    return allowedMet && addTitleMet ? 0 : 1;
}
