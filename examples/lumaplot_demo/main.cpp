// Shows the strip chart with a live sine (channel 1) and a slower cosine
// (channel 2), fed every 40 ms.
//
//   lumaplot_demo                         live window
//   lumaplot_demo --png chart.png [N]     feeds N samples (default 400), saves
//                                         a picture of the chart and exits;
//                                         works with QT_QPA_PLATFORM=offscreen

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cmath>
#include <numbers>

#include "graph/Lumaplot.h"
#include "platform/qt/MemoryPropertyBag.h"

namespace {

constexpr int FeedIntervalMs = 40;
constexpr int DefaultPictureSamples = 400;
constexpr double SamplesPerSinePeriod = 60;
constexpr double SamplesPerCosinePeriod = 170;
constexpr float RangeMin = -50.0f;
constexpr float RangeMax = 50.0f;
constexpr double Amplitude = 50.0;

struct Feed {
    tagwell::Lumaplot* chart;
    qint32 sample = 0;

    void next()
    {
        ++sample;
        const double turn = 2 * std::numbers::pi * sample;
        chart->UpdateGraph(1, sample, Amplitude * std::sin(turn / SamplesPerSinePeriod));
        chart->UpdateGraph(2, sample, Amplitude / 2 * std::cos(turn / SamplesPerCosinePeriod));
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Lumaplot demo"));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption pngOption(QStringLiteral("png"), QStringLiteral("Save a picture and exit."),
                                 QStringLiteral("file"));
    parser.addOption(pngOption);
    parser.addPositionalArgument(QStringLiteral("samples"), QStringLiteral("Samples before the picture."));
    parser.process(app);

    // The chart as the real-time plot dialog keeps it.
    tagwell::MemoryPropertyBag properties;
    tagwell::Lumaplot::writePlotDialogProperties(properties);
    tagwell::Lumaplot chart;
    chart.ReadProperties(properties);
    chart.setWindowTitle(QStringLiteral("Lumaplot"));
    chart.setMin(RangeMin);
    chart.setMax(RangeMax);
    chart.show();

    Feed feed{&chart};
    if (parser.isSet(pngOption)) {
        bool ok = false;
        int samples = parser.positionalArguments().value(0).toInt(&ok);
        if (!ok || samples < 0)
            samples = DefaultPictureSamples;
        for (int i = 0; i < samples; ++i)
            feed.next();
        return chart.grab().save(parser.value(pngOption)) ? 0 : 1;
    }

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&feed] { feed.next(); });
    timer.start(FeedIntervalMs);
    return app.exec();
}
