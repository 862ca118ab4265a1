#pragma once
// TTimerThread — the worker of a threaded TTimerEx. It is created suspended and frees itself when
// it ends: its owner only marks it terminated and lets it run out its current sleep. While it runs
// it sleeps one interval, then has its timer fire — through TApplication::Synchronize on the GUI
// thread unless the timer is thread-safe.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace media {

class TTimerEx;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// How a timer thread waits one interval: true when the full interval passed. The default sleeps on
// the system clock; tests install one driven by their own clock.
using TThreadSleep = std::function<bool(uint32_t ms)>;

class TTimerThread : public std::enable_shared_from_this<TTimerThread> {
public:
    // Starts the thread suspended; it keeps itself alive until it ends.
    static std::shared_ptr<TTimerThread> Create(TTimerEx* timer);

    void Suspend();
    void Resume();
    bool Suspended() const;
    // Ends the thread after its current sleep; from then on it never touches its timer again.
    void Terminate();
    bool Terminated() const;

    // Read by the thread at each round (the timer's published values).
    void SetInterval(uint32_t ms) { interval_ = ms; }
    void SetThreadSafe(bool v) { threadSafe_ = v; }
    void SetPriority(TThreadPriority p) { priority_ = p; }
    TThreadPriority Priority() const { return priority_; }

    static void SetSleep(TThreadSleep sleep);  // nullptr: the system clock
    // Timer threads that have not ended yet (they end on their own after Terminate).
    static int Alive();
    static void WaitUntilNoneAlive();

private:
    explicit TTimerThread(TTimerEx* timer) : timer_(timer) {}
    void Execute(std::shared_ptr<TTimerThread> self);
    bool WaitWhileSuspended();  // false when terminated

    mutable std::recursive_mutex mutex_;
    std::condition_variable_any resumed_;
    TTimerEx* timer_;
    bool suspended_ = true;
    bool terminated_ = false;
    std::atomic<uint32_t> interval_{1000};
    std::atomic<bool> threadSafe_{false};
    std::atomic<TThreadPriority> priority_{tpNormal};
};

}  // namespace media
