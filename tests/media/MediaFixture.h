#pragma once
// A headless application with one frameless form for the media tests, and a clock for timer
// threads: a sleeping worker waits until the test lets its interval pass.
#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>

#include "media/TimerThread.h"
#include "tests/support/FormFixture.h"

namespace media::testing {

class ThreadClock {
public:
    // Installs itself as the timer threads' way of sleeping.
    static std::shared_ptr<ThreadClock> Install() {
        auto clock = std::make_shared<ThreadClock>();
        media::TTimerThread::SetSleep([clock](uint32_t ms) { return clock->Sleep(ms); });
        return clock;
    }

    bool Sleep(uint32_t ms) {
        std::unique_lock lock(mutex_);
        ++sleepers_;
        requested_ = ms;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_ > 0 || closed_; });
        --sleepers_;
        if (closed_) return false;
        --released_;
        return true;
    }
    // Waits until a worker sleeps and returns the interval it asked for.
    uint32_t WaitForSleeper() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return sleepers_ > released_; });
        return requested_;
    }
    // Lets one sleeping worker's interval pass.
    void Elapse() {
        std::lock_guard lock(mutex_);
        ++released_;
        changed_.notify_all();
    }
    // Every sleep ends early from now on; the workers can run out.
    void Close() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
            changed_.notify_all();
        }
        media::TTimerThread::SetSleep(nullptr);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int sleepers_ = 0;
    int released_ = 0;
    uint32_t requested_ = 0;
    bool closed_ = false;
};

class MediaFixture : public FormFixture {
protected:
    void SetUp() override { OpenForm(gfx::RGB(10, 20, 30), false); }
    void TearDown() override {
        app.reset();
        if (clock) clock->Close();
        media::TTimerThread::WaitUntilNoneAlive();
    }

    std::shared_ptr<ThreadClock> clock;
};

}  // namespace media::testing
