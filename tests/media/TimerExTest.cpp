#include "media/TimerEx.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/media/MediaFixture.h"

using media::TTimerEx;
using media::testing::MediaFixture;
using media::testing::ThreadClock;

namespace {
using TimerEx = MediaFixture;
}

TEST_F(TimerEx, WindowModeTicksOnlyWhenArmed) {
    auto* timer = form->Make<TTimerEx>();
    int ticks = 0;
    timer->SetInterval(100);
    hb->Advance(500);
    EXPECT_FALSE(timer->Running());  // no handler yet
    timer->SetOnTimer([&](gui::TComponent* sender) {
        EXPECT_EQ(sender, timer);
        ++ticks;
    });
    EXPECT_TRUE(timer->Running());
    hb->Advance(99);
    EXPECT_EQ(ticks, 0);
    hb->Advance(1);
    EXPECT_EQ(ticks, 1);
    hb->Advance(250);
    EXPECT_EQ(ticks, 3);

    hb->Advance(50);
    EXPECT_EQ(ticks, 4);
    // The same interval again leaves the period alone; another one restarts it from zero.
    hb->Advance(60);
    timer->SetInterval(100);
    hb->Advance(40);
    EXPECT_EQ(ticks, 5);
    hb->Advance(60);
    timer->SetInterval(120);
    hb->Advance(119);
    EXPECT_EQ(ticks, 5);
    hb->Advance(1);
    EXPECT_EQ(ticks, 6);

    timer->SetEnabled(false);
    hb->Advance(1000);
    EXPECT_EQ(ticks, 6);
    timer->SetEnabled(true);
    timer->SetInterval(0);
    hb->Advance(1000);
    EXPECT_EQ(ticks, 6);
    EXPECT_FALSE(timer->Running());
}

TEST_F(TimerEx, WindowModeSurvivesItsHandler) {
    // Destroyed from inside its own tick: no further call, nothing touched afterwards.
    auto* timer = form->Make<TTimerEx>();
    int calls = 0;
    timer->SetInterval(50);
    timer->SetOnTimer([&](gui::TComponent*) {
        ++calls;
        delete timer;
    });
    hb->Advance(500);
    EXPECT_EQ(calls, 1);

    // An exception goes to the application's handler and the ticks go on.
    std::vector<std::string> errors;
    app->OnException = [&](gui::TComponent*, const std::exception& e) { errors.push_back(e.what()); };
    auto* failing = form->Make<TTimerEx>();
    failing->SetInterval(10);
    failing->SetOnTimer([&](gui::TComponent*) { throw base::Exception("kaputt"); });
    hb->Advance(30);
    EXPECT_EQ(errors, (std::vector<std::string>{"kaputt", "kaputt", "kaputt"}));
}

TEST(TimerExNoApplication, NoMoreTimersAvailable) {
    ASSERT_EQ(gui::Application, nullptr);
    TTimerEx timer(nullptr);
    try {
        timer.SetOnTimer([](gui::TComponent*) {});
        FAIL() << "armed without a loop";
    } catch (const media::EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "No More Timers Available");
    }
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerEx, ThreadTicksArriveOnTheGuiThread) {
    clock = ThreadClock::Install();
    const auto gui = std::this_thread::get_id();
    auto* timer = form->Make<TTimerEx>();
    std::atomic<int> ticks{0};
    std::thread::id where;
    timer->SetInterval(40);
    timer->SetOnTimer([&](gui::TComponent*) {
        where = std::this_thread::get_id();
        ++ticks;
    });
    hb->Advance(100);
    ASSERT_EQ(ticks, 2);  // window mode first

    // Switching to the thread stops the window timer; the worker sleeps one full interval.
    timer->SetThreaded(true);
    EXPECT_EQ(clock->WaitForSleeper(), 40u);
    hb->Advance(1000);
    EXPECT_EQ(ticks, 2);
    clock->Elapse();
    // The worker now waits in Synchronize until the GUI thread runs the tick.
    while (ticks == 2) app->ProcessMessages();
    EXPECT_EQ(where, gui);
    EXPECT_EQ(clock->WaitForSleeper(), 40u);

    // A new interval applies from the next round.
    timer->SetInterval(70);
    clock->Elapse();
    while (ticks == 3) app->ProcessMessages();
    EXPECT_EQ(clock->WaitForSleeper(), 70u);

    // Thread-safe: the worker raises the tick itself.
    std::mutex m;
    std::condition_variable cv;
    std::thread::id worker;
    timer->SetThreadSafe(true);
    timer->SetOnTimer([&](gui::TComponent*) {
        std::lock_guard lock(m);
        worker = std::this_thread::get_id();
        cv.notify_all();
    });
    EXPECT_EQ(clock->WaitForSleeper(), 70u);
    clock->Elapse();
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return worker != std::thread::id(); });
    }
    EXPECT_NE(worker, gui);

    // Back to window mode: the worker ends on its own once its sleep is over.
    timer->SetThreadSafe(false);
    timer->SetThreaded(false);
    clock->Close();
    media::TTimerThread::WaitUntilNoneAlive();
    EXPECT_EQ(media::TTimerThread::Alive(), 0);
}

TEST_F(TimerEx, ThreadTimerDestroyedInItsTick) {
    clock = ThreadClock::Install();
    auto* timer = form->Make<TTimerEx>();
    timer->SetThreadPriority(media::tpLower);
    timer->SetThreaded(true);
    timer->SetInterval(30);
    int calls = 0;
    timer->SetOnTimer([&](gui::TComponent*) {
        ++calls;
        delete timer;
    });
    EXPECT_EQ(clock->WaitForSleeper(), 30u);
    clock->Elapse();
    while (calls == 0) app->ProcessMessages();
    // The worker never touches the timer again and frees itself.
    media::TTimerThread::WaitUntilNoneAlive();
    app->ProcessMessages();
    EXPECT_EQ(calls, 1);

    // Disabled or without a handler the worker stays suspended: nothing sleeps.
    auto* idle = form->Make<TTimerEx>();
    idle->SetThreaded(true);
    idle->SetInterval(10);
    EXPECT_FALSE(idle->Running());
    EXPECT_EQ(media::TTimerThread::Alive(), 1);
    delete idle;
    media::TTimerThread::WaitUntilNoneAlive();
}
