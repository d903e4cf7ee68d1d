#pragma once

// What the data control's benchmarks share: a control of the design size in
// a shown host window, offscreen, connected to the simulation server under a
// manual clock, with `tags` generated ramps "Bulk.Tag1".. on the server and
// a timer whose clock the benchmark owns.

#include <QWidget>

#include <memory>

#include "automation/sim/SimulationBackend.h"
#include "controls/xopc/XOPC.h"
#include "platform/ManualDispatcher.h"
#include "timer/CPacetick.h"

namespace tagwell {

class ControlBenchHost {
public:
    static constexpr int DesignWidthPx = 806;
    static constexpr int DesignHeightPx = 600;

    explicit ControlBenchHost(int tags)
    {
        Dispatcher::install(&clock);
        SimulationBackend::shared()->reset();
        SimulationBackend::shared()->server(SimulationBackend::DemoProgId)
            .addGeneratedTags("Bulk", tags, SimSignal::Ramp);
        XOPC::setTimerFactory([this] { return CPacetick::create([this] { return timerNow; }); });
        host = std::make_unique<QWidget>();
        host->resize(DesignWidthPx, DesignHeightPx);
        control = new XOPC(host.get());
        control->setGeometry(0, 0, DesignWidthPx, DesignHeightPx);
    }

    ~ControlBenchHost()
    {
        host.reset();
        XOPC::setTimerFactory({});
        Dispatcher::install(nullptr);
    }

    ControlBenchHost(const ControlBenchHost&) = delete;
    ControlBenchHost& operator=(const ControlBenchHost&) = delete;

    ManualDispatcher clock;
    int32_t timerNow = 0;
    std::unique_ptr<QWidget> host;
    XOPC* control = nullptr;
};

}  // namespace tagwell
