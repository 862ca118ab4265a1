#include "gui/HoverWatch.h"

#include "gui/Timer.h"

namespace gui {

THoverWatch::Slot* THoverWatch::Find(const void* group) {
    for (Slot& s : slots_)
        if (s.group == group) return &s;
    return nullptr;
}

const THoverWatch::Slot* THoverWatch::Find(const void* group) const {
    for (const Slot& s : slots_)
        if (s.group == group) return &s;
    return nullptr;
}

TControl* THoverWatch::Watched(const void* group) const {
    const Slot* s = Find(group);
    return s ? s->watched : nullptr;
}

void THoverWatch::EndWatched(const void* group) {
    const Slot* s = Find(group);
    if (s && s->watched && s->end) FireEvent(s->end);
}

void THoverWatch::Watch(const void* group, TControl* c, Tick tick, std::function<void()> end) {
    Slot* s = Find(group);
    if (!s) {
        slots_.push_back(Slot{group, nullptr, nullptr, {}, {}});
        s = &slots_.back();
    }
    if (!s->timer) {
        // Made on first use: a control made before the application runs does not need the loop.
        s->timer = Make<TTimer>();
        s->timer->SetEnabled(false);
        s->timer->SetInterval(kInterval);
        s->timer->SetOnTimer([this, group](TComponent*) {
            Slot* slot = Find(group);
            if (slot && slot->watched && slot->tick) FireEvent(slot->tick, slot->watched);
        });
    }
    s->timer->SetEnabled(false);
    s->watched = c;
    s->tick = std::move(tick);
    s->end = std::move(end);
    s->timer->SetEnabled(true);
}

void THoverWatch::Unwatch(TControl* c) {
    if (!c) return;
    for (Slot& s : slots_) {
        if (s.watched != c) continue;
        s.watched = nullptr;
        if (s.timer) s.timer->SetEnabled(false);
    }
}

bool THoverWatch::Running(const void* group) const {
    const Slot* s = Find(group);
    return s && s->timer && s->timer->Enabled() && s->watched;
}

TTimer* THoverWatch::Timer(const void* group) const {
    const Slot* s = Find(group);
    return s ? s->timer : nullptr;
}

}  // namespace gui
