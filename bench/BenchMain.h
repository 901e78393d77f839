// Shared main for the benchmark programs: runs the registered cases with
// repetitions and prints one "BENCH <case> <median-ms> ratio=<x>" line per case
// that names a floor, the floor being another case measured in the same run.
#pragma once
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace benchutil {

struct MedianCollector : benchmark::ConsoleReporter {
    MedianCollector() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> medianMs;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                double ms = r.GetAdjustedRealTime();
                switch (r.time_unit) {
                case benchmark::kNanosecond: ms /= 1e6; break;
                case benchmark::kMicrosecond: ms /= 1e3; break;
                case benchmark::kMillisecond: break;
                case benchmark::kSecond: ms *= 1e3; break;
                }
                medianMs[r.run_name.function_name] = ms;
            }
        }
    }
};

// pairs: {case, floor}: both are benchmark function names (as registered).
inline int Main(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<char*> args(argv, argv + argc);
    // Repetitions of a case and of its floor are interleaved, so that both
    // see the same load of the machine.
    std::string reps = "--benchmark_repetitions=9";
    std::string aggr = "--benchmark_report_aggregates_only=true";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool hasReps = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0) hasReps = true;
    if (!hasReps) args.push_back(reps.data());
    args.push_back(aggr.data());
    args.push_back(interleave.data());
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    MedianCollector rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    benchmark::Shutdown();
    for (const auto& [c, f] : pairs) {
        auto ic = rep.medianMs.find(c), jf = rep.medianMs.find(f);
        if (ic == rep.medianMs.end() || jf == rep.medianMs.end()) continue;
        std::printf("BENCH %s %.3f ratio=%.2f\n", c.c_str(), ic->second,
                    jf->second > 0 ? ic->second / jf->second : 0.0);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace benchutil
