#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Shows the usual table and keeps each benchmark's CPU time per iteration
// under the name the table shows ("BM_MatchGlobal", "BM_ReadListing/1000"),
// so that a program can print ratios of times measured in the same run. CPU
// time, because on a machine shared with other builds the wall clock also
// counts the time the benchmark waits for a core, and that swings ratios of
// short runs against long ones.
class TimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                timeOf[run.benchmark_name()] = run.GetAdjustedCPUTime();
                wallOf[run.benchmark_name()] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                const auto ratio = run.counters.find("ratio");
                if (ratio != run.counters.end()) {
                    ratioOf[run.run_name.function_name] = ratio->second;
                }
            }
        }
    }

    // The time of both benchmarks, false when a filter left one out.
    bool Both(const std::string& first, const std::string& second, double& firstTime, double& secondTime) const
    {
        const auto a = timeOf.find(first);
        const auto b = timeOf.find(second);
        if (a == timeOf.end() || b == timeOf.end() || b->second <= 0) {
            return false;
        }
        firstTime = a->second;
        secondTime = b->second;
        return true;
    }

    std::map<std::string, double> timeOf;
    // Wall-clock seconds per iteration, for targets in absolute time.
    std::map<std::string, double> wallOf;
    // The counter "ratio" of the benchmarks that set one, by function name.
    std::map<std::string, double> ratioOf;
};

// Runs the program's benchmarks through `reporter`; false for arguments
// Google Benchmark does not know.
inline bool RunBenchmarks(int argc, char** argv, TimesReporter& reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return false;
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}
