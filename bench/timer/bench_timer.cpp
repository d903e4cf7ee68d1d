// Lateness of timer ticks against their ideal schedule, measured where the
// handler runs. Sources, interleaved in rounds so that they share the same
// machine conditions:
//
//   timerfd thread   a bare thread sleeping on absolute timerfd deadlines,
//                    timestamping where it wakes: the limit of this machine
//   post only        that thread posting each wake-up to the main thread's
//                    event loop: the cost of one cross-thread post
//   Pacetick         OneMillisecond (one call per tick) and Time1 at 10 ms,
//                    timestamped in the handler on the owner (main) thread
//   QTimer           Qt::PreciseTimer on the main thread
//
// Per-tick sources are indexed by count: the k-th call is due at origin + k
// periods, so a lost tick shows as every later call being a period late. A
// QTimer skips instead of queuing, so its calls are matched to the schedule
// slot they fall in and skipped slots are counted as missed. Time1's schedule
// is the library's own: due when Elapsed reaches its due time, next due 10 ms
// after the Elapsed of the tick that fired it.
//
// Usage: bench_timer [--ticks N]   N ticks per 1 ms source (default 20000);
// 5 ms sources get N/5, so every source runs for about N ms.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include "timer/CPacetick.h"
#include "timer/MillisecondClock.h"

using namespace tagwell;

namespace {

constexpr int Rounds = 10;
constexpr long DefaultTicks = 20'000;
constexpr int64_t NsPerMs = 1'000'000;
constexpr int64_t Time1PeriodMs = 10;

int64_t nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

struct Stats {
    std::vector<int64_t> latenessNs;
    long missed = 0;
    long lateByPeriod = 0;
    long ticks = 0;
};

// Lateness of calls indexed by count: call i (from 1) is due at origin + i·P.
void addCounted(Stats& stats, const std::vector<int64_t>& times, int64_t originNs, int64_t periodNs)
{
    for (std::size_t i = 0; i < times.size(); ++i) {
        const int64_t lateness = times[i] - (originNs + int64_t(i + 1) * periodNs);
        stats.latenessNs.push_back(lateness);
        stats.lateByPeriod += lateness >= periodNs;
    }
    stats.ticks += long(times.size());
}

// Lateness of calls matched to the slot they fall in; skipped slots are missed.
void addSlotted(Stats& stats, const std::vector<int64_t>& times, int64_t originNs, int64_t periodNs)
{
    int64_t lastSlot = 0;
    for (const int64_t t : times) {
        const int64_t slot = std::max(lastSlot + 1, (t - originNs) / periodNs);
        const int64_t lateness = t - (originNs + slot * periodNs);
        stats.latenessNs.push_back(lateness);
        stats.lateByPeriod += lateness >= periodNs;
        stats.missed += long(slot - lastSlot - 1);
        lastSlot = slot;
    }
    stats.ticks += long(times.size());
}

void tuneForTimeliness()
{
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters);
}

// A bare thread on an absolute-deadline timerfd: calls onWake(wake time) for
// every expiry until `ticks` expiries. The schedule is armed by the thread
// itself, once it runs, so that thread start-up is not counted. Returns the
// origin of the schedule.
int64_t runTimerfdThread(int64_t periodNs, long ticks, const std::function<void(int64_t)>& onWake)
{
    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    int64_t origin = 0;
    std::thread worker([&] {
        tuneForTimeliness();
        origin = nowNs();
        itimerspec schedule{};
        const int64_t first = origin + periodNs;
        schedule.it_value = {time_t(first / 1'000'000'000), long(first % 1'000'000'000)};
        schedule.it_interval = {time_t(periodNs / 1'000'000'000), long(periodNs % 1'000'000'000)};
        timerfd_settime(fd, TFD_TIMER_ABSTIME, &schedule, nullptr);
        long index = 0;
        while (index < ticks) {
            uint64_t expirations = 0;
            if (read(fd, &expirations, sizeof expirations) != sizeof expirations)
                continue;
            const int64_t woke = nowNs();
            for (uint64_t j = 0; j < expirations && index < ticks; ++j, ++index)
                onWake(woke);
        }
    });
    worker.join();
    close(fd);
    return origin;
}

void runBare(Stats& stats, int64_t periodNs, long ticks)
{
    std::vector<int64_t> times;
    times.reserve(size_t(ticks));
    const int64_t origin = runTimerfdThread(periodNs, ticks, [&](int64_t woke) { times.push_back(woke); });
    addCounted(stats, times, origin, periodNs);
}

// An event carrying the time it was posted.
struct StampedEvent : QEvent {
    static constexpr QEvent::Type Kind = static_cast<QEvent::Type>(QEvent::User + 77);
    explicit StampedEvent(int64_t posted) : QEvent(Kind), postedNs(posted) {}
    int64_t postedNs;
};

class PostReceiver : public QObject {
public:
    std::vector<int64_t> delaysNs;
    long expected = 0;
    QEventLoop* loop = nullptr;

    bool event(QEvent* e) override
    {
        if (e->type() != StampedEvent::Kind)
            return QObject::event(e);
        delaysNs.push_back(nowNs() - static_cast<StampedEvent*>(e)->postedNs);
        if (long(delaysNs.size()) == expected)
            loop->quit();
        return true;
    }
};

void runPostOnly(Stats& stats, int64_t periodNs, long ticks)
{
    PostReceiver receiver;
    QEventLoop loop;
    receiver.expected = ticks;
    receiver.loop = &loop;
    std::thread poster([&] {
        runTimerfdThread(periodNs, ticks, [&](int64_t) {
            QCoreApplication::postEvent(&receiver, new StampedEvent(nowNs()));
        });
    });
    loop.exec();
    poster.join();
    for (const int64_t d : receiver.delaysNs)
        stats.latenessNs.push_back(d);
    stats.ticks += long(receiver.delaysNs.size());
}

void runPacetick(Stats& perTick, Stats& time1, int32_t intervalMs, long ticks)
{
    auto timer = CPacetick::create();
    std::vector<int64_t> tickTimes;
    tickTimes.reserve(size_t(ticks));
    std::vector<std::pair<int64_t, double>> time1Fires;  // time, Elapsed in ms
    QEventLoop loop;
    QObject::connect(timer.get(), &CPacetick::OneMillisecond, [&] {
        tickTimes.push_back(nowNs());
        if (long(tickTimes.size()) == ticks)
            loop.quit();
    });
    QObject::connect(timer.get(), &CPacetick::Time1, [&] {
        time1Fires.emplace_back(nowNs(), timer->SecondsElapsed() * 1000.0);
    });
    timer->setInterval(intervalMs);
    timer->setTime1msEnabled(true);
    timer->setTime1Interval(float(Time1PeriodMs) / 1000.0f);
    timer->setTime1Enabled(true);

    // The clock counts whole milliseconds of CLOCK_MONOTONIC, so Start (the
    // clock at Reset) began at Start ms exactly.
    int32_t startMs = 0;
    do {
        startMs = MillisecondClock::now();
        timer->Reset();
    } while (MillisecondClock::now() != startMs);
    const int64_t origin = nowNs();
    timer->setEnabled(true);
    loop.exec();
    timer->setEnabled(false);
    addCounted(perTick, tickTimes, origin, int64_t(intervalMs) * NsPerMs);

    double dueMs = double(Time1PeriodMs);
    for (const auto& [firedNs, elapsedMs] : time1Fires) {
        const int64_t idealNs = (int64_t(startMs) + int64_t(std::llround(dueMs * 1e4)) / 10'000) * NsPerMs +
                                (int64_t(std::llround(dueMs * 1e4)) % 10'000) * 100;
        const int64_t lateness = firedNs - idealNs;
        time1.latenessNs.push_back(lateness);
        time1.lateByPeriod += lateness >= Time1PeriodMs * NsPerMs;
        dueMs = elapsedMs + double(Time1PeriodMs);
    }
    time1.ticks += long(time1Fires.size());
}

void runQTimer(Stats& stats, int32_t intervalMs, long ticks)
{
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(intervalMs);
    std::vector<int64_t> times;
    times.reserve(size_t(ticks));
    QEventLoop loop;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        times.push_back(nowNs());
        if (long(times.size()) == ticks)
            loop.quit();
    });
    const int64_t origin = nowNs();
    timer.start();
    loop.exec();
    timer.stop();
    addSlotted(stats, times, origin, int64_t(intervalMs) * NsPerMs);
}

double percentileUs(std::vector<int64_t>& sorted, double q)
{
    if (sorted.empty())
        return 0;
    const std::size_t rank = std::size_t(std::ceil(q * double(sorted.size())));
    return double(sorted[std::min(sorted.size() - 1, rank == 0 ? 0 : rank - 1)]) / 1000.0;
}

void printRow(const char* name, Stats& stats)
{
    std::sort(stats.latenessNs.begin(), stats.latenessNs.end());
    std::printf("%-38s %8ld %9.1f %9.1f %9.1f %9.1f %8ld %8ld\n", name, stats.ticks,
                percentileUs(stats.latenessNs, 0.5), percentileUs(stats.latenessNs, 0.99),
                percentileUs(stats.latenessNs, 0.999), percentileUs(stats.latenessNs, 1.0), stats.missed,
                stats.lateByPeriod);
}

long ticksFromArguments(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--ticks") == 0)
            return std::max(long(Rounds * 5), std::atol(argv[i + 1]));
    }
    return DefaultTicks;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long ticks = ticksFromArguments(argc, argv);
    const long chunk1 = ticks / Rounds;
    const long chunk5 = ticks / 5 / Rounds;

    Stats bare1, post1, pace1, time1At1, qt1, bare5, pace5, time1At5, qt5;
    constexpr int Sources = 7;  // each runs for about `ticks` ms
    std::fprintf(stderr, "running %d rounds, about %ld s in all\n", Rounds, Sources * ticks / 1000);
    for (int round = 0; round < Rounds; ++round) {
        runBare(bare1, NsPerMs, chunk1);
        runPostOnly(post1, NsPerMs, chunk1);
        runPacetick(pace1, time1At1, 1, chunk1);
        runQTimer(qt1, 1, chunk1);
        runBare(bare5, 5 * NsPerMs, chunk5);
        runPacetick(pace5, time1At5, 5, chunk5);
        runQTimer(qt5, 5, chunk5);
        std::fprintf(stderr, "round %d of %d done\n", round + 1, Rounds);
    }

    std::printf("lateness in microseconds; missed = ticks lost or merged; late = late by a whole period\n");
    std::printf("%-38s %8s %9s %9s %9s %9s %8s %8s\n", "source", "ticks", "median", "p99", "p99.9", "max",
                "missed", "late");
    printRow("timerfd thread, 1 ms", bare1);
    printRow("post only (thread -> owner), 1 ms", post1);
    printRow("Pacetick OneMillisecond, Interval 1", pace1);
    printRow("QTimer PreciseTimer, 1 ms", qt1);
    printRow("Pacetick Time1 10 ms, Interval 1", time1At1);
    printRow("timerfd thread, 5 ms", bare5);
    printRow("Pacetick OneMillisecond, Interval 5", pace5);
    printRow("QTimer PreciseTimer, 5 ms", qt5);
    printRow("Pacetick Time1 10 ms, Interval 5", time1At5);
    return 0;
}
