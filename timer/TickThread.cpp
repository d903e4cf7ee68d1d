#include "timer/TickThread.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace tagwell {

namespace {
constexpr unsigned long FinestTimerSlackNs = 1;  // 0 would mean "back to the default"
constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

timespec toTimespec(std::chrono::nanoseconds duration)
{
    const int64_t ns = duration.count();
    return timespec{static_cast<time_t>(ns / NanosecondsPerSecond), static_cast<long>(ns % NanosecondsPerSecond)};
}

// Wake-ups as close to the deadline as the kernel allows, and ahead of
// ordinary threads when the system lets us; refusals are fine.
void tuneThisThreadForTimeliness()
{
    prctl(PR_SET_TIMERSLACK, FinestTimerSlackNs, 0, 0, 0);
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters);
}
}  // namespace

TickThread::TickThread(std::chrono::milliseconds period, bool periodic, std::function<void()> onTick)
    : m_period(period), m_periodic(periodic), m_onTick(std::move(onTick))
{
}

TickThread::~TickThread()
{
    stop();
    if (m_timerFd >= 0)
        close(m_timerFd);
    if (m_stopFd >= 0)
        close(m_stopFd);
}

bool TickThread::start()
{
    m_timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    m_stopFd = eventfd(0, EFD_CLOEXEC);
    if (m_timerFd < 0 || m_stopFd < 0 || !armSchedule())
        return false;
    try {
        m_thread = std::thread(&TickThread::run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool TickThread::armSchedule()
{
    timespec origin{};
    clock_gettime(CLOCK_MONOTONIC, &origin);
    const auto firstDeadline = std::chrono::seconds(origin.tv_sec) + std::chrono::nanoseconds(origin.tv_nsec) + m_period;
    itimerspec schedule{};
    schedule.it_value = toTimespec(firstDeadline);
    if (m_periodic)
        schedule.it_interval = toTimespec(m_period);
    return timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME, &schedule, nullptr) == 0;
}

void TickThread::run()
{
    tuneThisThreadForTimeliness();
    pollfd watched[2] = {{m_timerFd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
    for (;;) {
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (watched[1].revents != 0)
            return;
        uint64_t expirations = 0;
        if ((watched[0].revents & POLLIN) && read(m_timerFd, &expirations, sizeof expirations) == sizeof expirations) {
            for (uint64_t i = 0; i < expirations; ++i)
                m_onTick();
        }
    }
}

void TickThread::stop()
{
    if (!m_thread.joinable())
        return;
    const uint64_t wake = 1;
    [[maybe_unused]] const ssize_t written = write(m_stopFd, &wake, sizeof wake);
    m_thread.join();
}

}  // namespace tagwell
