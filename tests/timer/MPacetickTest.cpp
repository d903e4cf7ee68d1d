// Ticks carried from the worker thread to the owner thread, the per-thread
// registry and the timers' windows. The few tests that wait for real ticks
// use generous bounds and only check where and whether ticks arrive.

#include <atomic>
#include <chrono>
#include <climits>
#include <functional>
#include <thread>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include "timer/CPacetick.h"
#include "timer/MPacetick.h"
#include "timer/MillisecondClock.h"
#include "timer/PacetickError.h"
#include "timer/TimerWindow.h"

namespace tagwell {
namespace {

constexpr int GenerousTimeoutMs = 20'000;
constexpr int32_t NeverOnItsOwn = 100'000;  // ms: no real tick comes during the test

class MPacetickTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_timer";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
    }

    // Runs this thread's event loop until `done` holds; false on timeout.
    static bool runUntil(const std::function<bool()>& done)
    {
        const QDeadlineTimer deadline(GenerousTimeoutMs);
        QTimer wake;
        wake.start(10);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    static std::shared_ptr<CPacetick> makeTimer(int32_t interval, std::function<void()> onTick)
    {
        auto timer = CPacetick::create();
        timer->setInterval(interval);
        timer->setTime1msEnabled(true);
        QObject::connect(timer.get(), &CPacetick::OneMillisecond, std::move(onTick));
        return timer;
    }

    static void postTickMessages(uint32_t handle, int count)
    {
        for (int i = 0; i < count; ++i)
            QCoreApplication::postEvent(MPacetick::WindowOf(handle), new QEvent(TimerWindow::TickMessage));
    }
};

TEST_F(MPacetickTest, TicksArriveOnTheMainThreadWhenItEnabledTheTimer)
{
    int ticks = 0;
    bool allOnOwner = true;
    auto timer = makeTimer(1, [&] {
        allOnOwner = allOnOwner && QThread::currentThread() == QCoreApplication::instance()->thread();
        ++ticks;
    });
    timer->setEnabled(true);
    EXPECT_TRUE(runUntil([&] { return ticks >= 5; }));
    timer->setEnabled(false);
    EXPECT_TRUE(allOnOwner);
}

TEST_F(MPacetickTest, TicksArriveOnAWorkerThreadThatEnabledTheTimer)
{
    QThread owner;
    owner.start();
    QObject context;
    context.moveToThread(&owner);
    std::atomic<int> ticks{0};
    std::atomic<bool> allOnOwner{true};
    std::shared_ptr<CPacetick> timer;
    QMetaObject::invokeMethod(&context, [&] {
        timer = makeTimer(1, [&] {
            if (QThread::currentThread() != &owner)
                allOnOwner = false;
            ++ticks;
        });
        timer->setEnabled(true);
    }, Qt::BlockingQueuedConnection);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(GenerousTimeoutMs);
    while (ticks < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    QMetaObject::invokeMethod(&context, [&] { timer->setEnabled(false); }, Qt::BlockingQueuedConnection);
    EXPECT_FALSE(MPacetick::RegistryExists());  // this thread never had one
    owner.quit();
    owner.wait();
    EXPECT_GE(ticks.load(), 5);
    EXPECT_TRUE(allOnOwner);
}

TEST_F(MPacetickTest, TwoTimersTickIndependentlyAndTheRegistryGoesWithTheLastOne)
{
    int fastTicks = 0;
    int slowTicks = 0;
    auto fast = makeTimer(1, [&] { ++fastTicks; });
    auto slow = makeTimer(4, [&] { ++slowTicks; });
    fast->setEnabled(true);
    slow->setEnabled(true);
    EXPECT_NE(fast->WindowHandle(), slow->WindowHandle());
    EXPECT_EQ(MPacetick::RegisteredCount(), 2u);
    EXPECT_TRUE(runUntil([&] { return fastTicks >= 10 && slowTicks >= 3; }));

    fast->setEnabled(false);
    EXPECT_EQ(MPacetick::RegisteredCount(), 1u);
    const int fastAtDisable = fastTicks;
    const int slowAtDisable = slowTicks;
    EXPECT_TRUE(runUntil([&] { return slowTicks >= slowAtDisable + 5; }));
    EXPECT_EQ(fastTicks, fastAtDisable);

    slow->setEnabled(false);
    EXPECT_FALSE(MPacetick::RegistryExists());
}

TEST_F(MPacetickTest, EachEnableGetsAFreshWindowAndHandle)
{
    auto timer = makeTimer(NeverOnItsOwn, [] {});
    timer->setEnabled(true);
    const uint32_t first = timer->WindowHandle();
    const QPointer<QObject> firstWindow = MPacetick::WindowOf(first);
    ASSERT_FALSE(firstWindow.isNull());
    EXPECT_EQ(firstWindow->thread(), QThread::currentThread());

    timer->setEnabled(false);
    EXPECT_EQ(timer->WindowHandle(), 0u);
    EXPECT_TRUE(firstWindow.isNull());

    timer->setEnabled(true);
    EXPECT_NE(timer->WindowHandle(), first);
    EXPECT_NE(MPacetick::WindowOf(timer->WindowHandle()), nullptr);
    EXPECT_EQ(MPacetick::WindowOf(first), nullptr);
    timer->setEnabled(false);
}

TEST_F(MPacetickTest, AnEnabledTimerLivesAndTicksAfterItsClientLetGoUntilDisabled)
{
    int ticks = 0;
    auto timer = makeTimer(1, [&] { ++ticks; });
    timer->setEnabled(true);
    const std::weak_ptr<CPacetick> weak = timer;
    timer.reset();
    EXPECT_FALSE(weak.expired());
    EXPECT_TRUE(runUntil([&] { return ticks >= 5; }));

    weak.lock()->setEnabled(false);
    EXPECT_TRUE(weak.expired());
}

TEST_F(MPacetickTest, TickMessagesStillQueuedWhenTheTimerIsDisabledHaveNoEffect)
{
    int ticks = 0;
    auto timer = makeTimer(NeverOnItsOwn, [&] { ++ticks; });
    timer->setEnabled(true);
    postTickMessages(timer->WindowHandle(), 1);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(ticks, 1);

    postTickMessages(timer->WindowHandle(), 3);
    timer->setEnabled(false);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ticks, 1);
}

TEST_F(MPacetickTest, ATimerDisabledDuringItsOwnTickIgnoresTheTicksQueuedBehindIt)
{
    int ticks = 0;
    std::shared_ptr<CPacetick> timer;
    timer = makeTimer(NeverOnItsOwn, [&] {
        ++ticks;
        postTickMessages(timer->WindowHandle(), 3);
        timer->setEnabled(false);
    });
    timer->setEnabled(true);
    const QPointer<QObject> window = MPacetick::WindowOf(timer->WindowHandle());
    postTickMessages(timer->WindowHandle(), 1);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(window.isNull());
}

TEST_F(MPacetickTest, EnablingOnAThreadWithoutAnEventLoopRaisesError51)
{
    std::shared_ptr<CPacetick> timer;
    std::optional<PacetickError> error;
    bool registryAfter = true;
    std::thread bare([&] {
        timer = makeTimer(1, [] {});
        try {
            timer->setEnabled(true);
        } catch (const PacetickError& e) {
            error = e;
        }
        registryAfter = MPacetick::RegistryExists();
    });
    bare.join();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), 51);
    EXPECT_EQ(error->source(), "MTimerMM::Register");
    EXPECT_EQ(error->description(), "Unable to create timer control window");
    EXPECT_FALSE(timer->Enabled());
    EXPECT_FALSE(registryAfter);
}

TEST_F(MPacetickTest, OnlyTheOwnerThreadCanDisableATimer)
{
    auto timer = makeTimer(NeverOnItsOwn, [] {});
    timer->setEnabled(true);
    std::optional<int32_t> number;
    std::thread other([&] {
        try {
            timer->setEnabled(false);
        } catch (const PacetickError& e) {
            number = e.number();
        }
    });
    other.join();
    EXPECT_EQ(number, 51);
    EXPECT_TRUE(timer->Enabled());
    timer->setEnabled(false);
    EXPECT_FALSE(MPacetick::RegistryExists());
}

TEST_F(MPacetickTest, AThreadThatEndsWithATimerEnabledStopsIt)
{
    std::shared_ptr<CPacetick> timer;
    int ticks = 0;
    std::thread owner([&] {
        QEventLoop loop;  // gives this thread an event dispatcher
        timer = makeTimer(1, [&] {
            if (++ticks == 3)
                loop.quit();
        });
        timer->setEnabled(true);
        QTimer::singleShot(GenerousTimeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    });
    owner.join();
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->WindowHandle(), 0u);
}

TEST_F(MPacetickTest, ARunningTimerRestartsElapsedWhenTheRealClockWraps)
{
    constexpr int32_t MillisecondsBeforeWrap = 150;
    MillisecondClock::setOffset(0);
    MillisecondClock::setOffset(int64_t(INT32_MAX - MillisecondsBeforeWrap) - MillisecondClock::now());
    std::vector<double> elapsed;
    std::vector<int32_t> clock;
    auto timer = makeTimer(1, [&] {});
    QObject::connect(timer.get(), &CPacetick::OneMillisecond, [&] {
        elapsed.push_back(timer->SecondsElapsed());
        clock.push_back(MillisecondClock::now());
    });
    timer->Reset();
    timer->setEnabled(true);
    const bool wrapped = runUntil([&] { return clock.size() > 10 && clock[clock.size() - 10] < 0; });
    timer->setEnabled(false);
    MillisecondClock::setOffset(0);

    ASSERT_TRUE(wrapped);
    // Before the wrap Elapsed grew to about 0.15 s; after it, it started again
    // from 0 and counts the few milliseconds since.
    EXPECT_GT(*std::max_element(elapsed.begin(), elapsed.end()), 0.1);
    EXPECT_LT(elapsed.back(), 0.1);
    EXPECT_LT(elapsed.back(), *std::max_element(elapsed.begin(), elapsed.end()));
}

}  // namespace
}  // namespace tagwell
