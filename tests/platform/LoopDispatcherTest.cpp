#include <gtest/gtest.h>

#include <thread>

#include "platform/LoopDispatcher.h"

using namespace tagwell;
using namespace std::chrono_literals;

// Real time, so the bounds are generous: this checks that timers and posts
// run on the looping thread, not how punctually.
TEST(LoopDispatcher, RunsTimersAndPostsFromOtherThreadsOnTheLoopingThread)
{
    LoopDispatcher loop;
    const auto owner = std::this_thread::get_id();
    int ticks = 0;
    bool tickOffThread = false;
    const auto id = loop.startTimer(10ms, [&] {
        ++ticks;
        tickOffThread |= std::this_thread::get_id() != owner;
    });
    bool posted = false;
    bool postOffThread = true;
    std::thread other([&] {
        loop.post([&] {
            posted = true;
            postOffThread = std::this_thread::get_id() != owner;
        });
    });
    loop.runFor(200ms);
    other.join();
    loop.runPending();
    EXPECT_TRUE(posted);
    EXPECT_FALSE(postOffThread);
    EXPECT_FALSE(tickOffThread);
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 20);

    loop.stopTimer(id);
    const int before = ticks;
    loop.runFor(30ms);
    EXPECT_EQ(ticks, before);
}
