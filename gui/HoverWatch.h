#pragma once
// THoverWatch: the application's watch over the control the pointer last rested on, for controls
// that show a hover look and must notice when the pointer has gone (also to another window, where
// they hear no leave). Each group (one class of controls) watches one control at a time with its
// own 100 ms timer. The watch is a component of the application (made first, so destroyed last)
// and owns the timers, so none outlives the application.
#include <functional>
#include <vector>

#include "gui/Component.h"

namespace gui {

class TControl;
class TTimer;

class THoverWatch : public TComponent {
public:
    static constexpr int kInterval = 100;
    using Tick = std::function<void(TControl*)>;

    explicit THoverWatch(TComponent* owner) : TComponent(owner) {}

    // The control group watches, or nullptr.
    TControl* Watched(const void* group) const;
    // Restarts group's timer pointed at c; tick runs for c on every tick until it is unwatched,
    // end when another control of the group takes its place (EndWatched).
    void Watch(const void* group, TControl* c, Tick tick, std::function<void()> end);
    // The hover of the control group watches ends at once (its end callback runs).
    void EndWatched(const void* group);
    // Stops watching c, if some group watches it.
    void Unwatch(TControl* c);
    bool Running(const void* group) const;
    // The timer of group (nullptr before its first watch), for tests.
    TTimer* Timer(const void* group) const;

private:
    struct Slot {
        const void* group;
        TControl* watched = nullptr;
        TTimer* timer = nullptr;
        Tick tick;
        std::function<void()> end;
    };
    Slot* Find(const void* group);
    const Slot* Find(const void* group) const;

    std::vector<Slot> slots_;
};

}  // namespace gui
