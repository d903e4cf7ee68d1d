#pragma once

// A console reporter that also keeps the median of every benchmark run with
// repetitions, under the run's name ("BM_Name/items:100"), so that a
// benchmark can print the ratios it was written to check after its tables.

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { Real, Cpu };

    explicit MedianReporter(Clock clock = Clock::Real) : m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            m_time[name] = m_clock == Clock::Real ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            for (const auto& [counter, value] : run.counters)
                m_counters[{name, counter}] = value;
        }
    }

    // The median time of a run, in the run's own unit.
    std::optional<double> time(const std::string& name) const
    {
        auto it = m_time.find(name);
        return it == m_time.end() ? std::nullopt : std::optional<double>(it->second);
    }

    std::optional<double> counter(const std::string& name, const std::string& counter) const
    {
        auto it = m_counters.find({name, counter});
        return it == m_counters.end() ? std::nullopt : std::optional<double>(double(it->second));
    }

private:
    Clock m_clock;
    std::map<std::string, double> m_time;
    std::map<std::pair<std::string, std::string>, benchmark::Counter> m_counters;
};
