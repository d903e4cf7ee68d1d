#pragma once

// The main function of a widget benchmark: runs every benchmark offscreen
// (unless a platform is chosen), reports through the benchmark's own
// reporter, and lets it print its summary of ratios at the end.

#include <QApplication>
#include <benchmark/benchmark.h>

// Runs the benchmarks with a Reporter, then summarise(reporter); the exit
// code is 0 when the summary says every goal was met.
template <class Reporter, class Summarise>
int RunBenchmarksOffscreen(int argc, char** argv, Summarise summarise)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return summarise(reporter) ? 0 : 1;
}
