#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Keeps the console output and remembers each run's time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                m_times[run.run_name.function_name].push_back(
                    {run.real_accumulated_time / static_cast<double>(run.iterations),
                     run.cpu_accumulated_time / static_cast<double>(run.iterations)});
        }
    }

    // Seconds per iteration, the median of the repetitions: wall clock or
    // the process's processor time.
    double median(const std::string& name, bool cpu = false) const
    {
        const auto found = m_times.find(name);
        if (found == m_times.end() || found->second.empty()) return 0;
        std::vector<double> times;
        for (const auto& [real, processor] : found->second)
            times.push_back(cpu ? processor : real);
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

private:
    std::map<std::string, std::vector<std::pair<double, double>>> m_times;
};

// Runs the registered benchmarks into `reporter`, five repetitions unless the
// command line asks otherwise.
inline void runRepeated(int argc, char** argv, RatioReporter& reporter)
{
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    args.insert(args.begin() + 1, repetitions.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
}
