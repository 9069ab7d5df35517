#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "pages/ListFiles.h"
#include "platform/TextCompare.h"
#include "support/DiskFileStore.h"

// Reading and rewriting a full "BlockedHistory.dat" (10000 titles of about 60
// characters) on the real disk; the target is at most 5 ms each.

namespace {

std::string Title(std::mt19937& random)
{
    static const char* const kWords[] = {"Casino", "Free", "Offer", "Win", "Prize", "Click", "Here", "Now",
                                         "Special", "Deal", "Microsoft", "Internet", "Explorer", "Popup",
                                         "Cheap", "Flights", "Download", "Toolbar", "Search", "Bonus"};
    std::string title;
    while (title.size() < 50) {
        title += kWords[random() % (sizeof kWords / sizeof kWords[0])];
        title += ' ';
    }
    return title + "- Microsoft Internet Explorer";
}

struct HistoryFixture {
    AsciiTextCompare compare;
    DiskFileStore store;
    SortedTextList list{compare};
    std::string path;

    explicit HistoryFixture(bool shuffled)
    {
        path = (std::filesystem::temp_directory_path() / "tarnelix-bench-BlockedHistory.dat").string();
        std::mt19937 random(42);
        std::vector<std::string> titles;
        for (int i = 0; i < 10000; ++i) {
            titles.push_back(Title(random));
        }
        list.AddAll(titles);
        if (shuffled) {
            // A file written by other means, in any order: the worst case for
            // sorted inserts.
            std::string content;
            for (const std::string& t : titles) {
                content += "BLK:" + t + "\r\n";
            }
            auto file = store.CreateForWrite(path);
            file->Write(content.data(), content.size());
            file->Close();
        } else {
            WriteBlockedHistoryFile(store, path, list);
        }
    }
    ~HistoryFixture() { std::filesystem::remove(path); }
};

void ReadHistory(benchmark::State& state)
{
    HistoryFixture fixture(state.range(0) != 0);
    for (auto _ : state) {
        ReadBlockedHistoryFile(fixture.store, fixture.path, fixture.list);
        benchmark::DoNotOptimize(fixture.list.Count());
    }
    if (fixture.list.Count() != 10000) {
        state.SkipWithError("expected 10000 entries");
    }
}
BENCHMARK(ReadHistory)->Arg(0)->Arg(1)->ArgNames({"shuffled"})->Unit(benchmark::kMillisecond);

void WriteHistory(benchmark::State& state)
{
    HistoryFixture fixture(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteBlockedHistoryFile(fixture.store, fixture.path, fixture.list));
    }
}
BENCHMARK(WriteHistory)->Unit(benchmark::kMillisecond);

void AddOneByOne(benchmark::State& state)
{
    // The engine adds one killed title at a time to a full history.
    HistoryFixture fixture(false);
    std::mt19937 random(7);
    for (auto _ : state) {
        fixture.list.Add(Title(random));
        state.PauseTiming();
        fixture.list.DeleteAt(fixture.list.Count() / 2);
        state.ResumeTiming();
    }
}
BENCHMARK(AddOneByOne)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
