#include "media/TimerThread.h"

#include <chrono>
#include <thread>

#include "gui/Application.h"
#include "media/TimerEx.h"
#include "platform/ThreadPriority.h"

namespace media {

namespace {

std::mutex g_sleepMutex;
TThreadSleep g_sleep;

std::mutex g_aliveMutex;
std::condition_variable g_aliveChanged;
int g_alive = 0;

bool Sleep(uint32_t ms) {
    TThreadSleep sleep;
    {
        std::lock_guard lock(g_sleepMutex);
        sleep = g_sleep;
    }
    if (sleep) return sleep(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return true;
}

}  // namespace

void TTimerThread::SetSleep(TThreadSleep sleep) {
    std::lock_guard lock(g_sleepMutex);
    g_sleep = std::move(sleep);
}

int TTimerThread::Alive() {
    std::lock_guard lock(g_aliveMutex);
    return g_alive;
}

void TTimerThread::WaitUntilNoneAlive() {
    std::unique_lock lock(g_aliveMutex);
    g_aliveChanged.wait(lock, [] { return g_alive == 0; });
}

std::shared_ptr<TTimerThread> TTimerThread::Create(TTimerEx* timer) {
    std::shared_ptr<TTimerThread> thread(new TTimerThread(timer));
    {
        std::lock_guard lock(g_aliveMutex);
        ++g_alive;
    }
    // Detached: the thread holds its own reference and frees itself when it ends.
    std::thread([thread] { thread->Execute(thread); }).detach();
    return thread;
}

void TTimerThread::Suspend() {
    std::lock_guard lock(mutex_);
    suspended_ = true;
}

void TTimerThread::Resume() {
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
    }
    resumed_.notify_all();
}

bool TTimerThread::Suspended() const {
    std::lock_guard lock(mutex_);
    return suspended_;
}

void TTimerThread::Terminate() {
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
        timer_ = nullptr;
    }
    resumed_.notify_all();
}

bool TTimerThread::Terminated() const {
    std::lock_guard lock(mutex_);
    return terminated_;
}

bool TTimerThread::WaitWhileSuspended() {
    std::unique_lock lock(mutex_);
    resumed_.wait(lock, [this] { return !suspended_ || terminated_; });
    return !terminated_;
}

void TTimerThread::Execute(std::shared_ptr<TTimerThread> self) {
    int applied = -1;
    while (WaitWhileSuspended()) {
        // Set when the thread starts and again whenever its timer asked for another one.
        if (priority_ != applied) {
            applied = priority_;
            platform::SetCurrentThreadPriority(applied);
        }
        const bool slept = Sleep(interval_);
        // A thread suspended during its sleep fires once it is resumed, as a suspended sleeper does.
        if (!WaitWhileSuspended()) break;
        if (!slept) continue;
        if (threadSafe_) {
            std::lock_guard lock(mutex_);
            if (terminated_) break;
            timer_->FireTimer();  // may destroy the timer, which terminates this thread
        } else if (gui::Application) {
            gui::Application->Synchronize([this] {
                // On the GUI thread, where the timer is also destroyed: check at the last moment.
                std::lock_guard lock(mutex_);
                if (!terminated_ && timer_) timer_->FireTimer();
            });
        }
    }
    std::lock_guard lock(g_aliveMutex);
    --g_alive;
    g_aliveChanged.notify_all();
    self.reset();  // the last reference may go here: the thread frees itself
}

}  // namespace media
