// Cost of Lumaplot::UpdateGraph on a shown chart of the plot dialog's size,
// offscreen, with 1 and with 10 channels fed in turn, after 100 and after
// 100,000 earlier calls; once for the drawing alone and once with the screen
// repaint that follows each call. Prints, side by side, the cost after
// 100,000 calls over the cost after 100 (it should stay within 1.2).

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bench/MedianReporter.h"
#include "bench/OffscreenBenchmarkMain.h"
#include "graph/Lumaplot.h"

namespace {

constexpr QSize ChartSize{553, 185};
constexpr double SamplesPerPeriod = 60;
constexpr double Amplitude = 45;
constexpr double Centre = 50;
constexpr double AllowedGrowth = 1.2;

struct Feeder {
    tagwell::Lumaplot& chart;
    int channels;
    qint32 sample = 0;

    void next()
    {
        ++sample;
        const auto channel = static_cast<qint16>(1 + sample % channels);
        const double value = Centre + Amplitude * std::sin(sample / SamplesPerPeriod + channel);
        benchmark::DoNotOptimize(chart.UpdateGraph(channel, sample, value));
    }
};

void BM_UpdateGraph(benchmark::State& state)
{
    const int channels = static_cast<int>(state.range(0));
    const int earlierCalls = static_cast<int>(state.range(1));
    const bool repaint = state.range(2) != 0;

    auto chart = std::make_unique<tagwell::Lumaplot>();
    chart->resize(ChartSize);
    chart->show();
    Feeder feeder{*chart, channels};
    for (int i = 0; i < earlierCalls; ++i)
        feeder.next();
    QCoreApplication::processEvents();

    for (auto _ : state) {
        feeder.next();
        if (repaint)
            QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_UpdateGraph)
    ->ArgNames({"channels", "earlier", "repaint"})
    ->ArgsProduct({{1, 10}, {100, 100000}, {0, 1}})
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Keeps the median CPU cost per call of every run for the summary.
class SummaryReporter : public MedianReporter {
public:
    SummaryReporter() : MedianReporter(Clock::Cpu) {}

    // The growth of the cost from 100 to 100,000 earlier calls, per case.
    bool printGrowth() const
    {
        bool within = true;
        std::printf("\nCost per call after 100,000 earlier calls over after 100 (limit %.1f):\n", AllowedGrowth);
        for (int repaint : {0, 1}) {
            for (int channels : {1, 10}) {
                const auto early = time(name(channels, 100, repaint));
                const auto late = time(name(channels, 100000, repaint));
                if (!early || !late)
                    continue;
                const double ratio = *late / *early;
                within = within && ratio <= AllowedGrowth;
                std::printf("  %2d channel(s), %-18s %8.0f ns -> %8.0f ns  ratio %.2f  %s\n", channels,
                            repaint ? "draw and repaint:" : "draw only:", *early, *late, ratio,
                            ratio <= AllowedGrowth ? "ok" : "TOO SLOW LATER");
            }
        }
        return within;
    }

private:
    static std::string name(int channels, int earlier, int repaint)
    {
        return "BM_UpdateGraph/channels:" + std::to_string(channels) + "/earlier:" + std::to_string(earlier) +
               "/repaint:" + std::to_string(repaint);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksOffscreen<SummaryReporter>(
        argc, argv, [](SummaryReporter& reporter) { return reporter.printGrowth(); });
}
