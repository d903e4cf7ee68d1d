#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/ManualDispatcher.h"

using namespace tagwell;
using namespace std::chrono_literals;

TEST(ManualDispatcher, RunsTimersInDeadlineOrderWithTheClockAtEachDeadline)
{
    ManualDispatcher d;
    std::string log;
    d.startTimer(30ms, [&] { log += "A" + std::to_string(d.now().count()) + " "; });
    d.startTimer(20ms, [&] { log += "B" + std::to_string(d.now().count()) + " "; });
    d.advance(60ms);
    EXPECT_EQ(log, "B20 A30 B40 A60 B60 ");
    EXPECT_EQ(d.now(), 60ms);
}

TEST(ManualDispatcher, PostedTasksRunBeforeTheNextTimerAndStoppedTimersStayQuiet)
{
    ManualDispatcher d;
    std::string log;
    Dispatcher::TimerId id = 0;
    id = d.startTimer(10ms, [&] {
        log += "T";
        d.post([&] { log += "p"; });
        if (d.now() >= 20ms)
            d.stopTimer(id);
    });
    d.advance(100ms);
    EXPECT_EQ(log, "TpTp");
    EXPECT_EQ(d.activeTimerCount(), 0u);
}

TEST(ManualDispatcher, AcceptsPostsFromOtherThreads)
{
    ManualDispatcher d;
    int count = 0;
    std::thread worker([&] {
        for (int i = 0; i < 1000; ++i)
            d.post([&] { ++count; });
    });
    worker.join();
    d.runPending();
    EXPECT_EQ(count, 1000);
}

TEST(ManualDispatcher, WallClockMovesWithVirtualTime)
{
    ManualDispatcher d(100.0);
    d.advance(std::chrono::milliseconds(86'400'000 / 2));
    EXPECT_DOUBLE_EQ(d.currentDate(), 100.5);
}
