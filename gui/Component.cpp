#include "gui/Component.h"

#include <algorithm>
#include <atomic>

#include "base/StrUtils.h"

namespace gui {

namespace {

// Per thread: a worker's handlers defer among themselves, never into the GUI thread's list.
thread_local int dispatchDepth = 0;
thread_local bool draining = false;
thread_local std::vector<TComponent*> freeLater;
// Components marked freeing or destroying whose destructor has not ended yet. Hit tests ask
// Freeing() of every control under the pointer; while nothing is going, that costs one load.
std::atomic<int> going{0};

void DrainFreeLater() {
    // A destructor may fire handlers (and so close scopes) again: the loop below finishes the list.
    if (draining) return;
    draining = true;
    while (!freeLater.empty()) {
        TComponent* c = freeLater.front();
        freeLater.erase(freeLater.begin());
        delete c;
    }
    draining = false;
}

}  // namespace

TDispatchScope::TDispatchScope() {
    ++dispatchDepth;
}

TDispatchScope::~TDispatchScope() {
    if (--dispatchDepth == 0) DrainFreeLater();
}

bool TDispatchScope::Active() {
    return dispatchDepth > 0;
}

void TComponent::Free() {
    if (state_ & (csFreeing | csDestroying)) return;
    if (!TDispatchScope::Active()) {
        delete this;
        return;
    }
    state_ |= csFreeing;
    going.fetch_add(1, std::memory_order_relaxed);
    freeLater.push_back(this);
}

bool TComponent::Freeing() const {
    if (going.load(std::memory_order_relaxed) == 0) return false;
    for (const TComponent* c = this; c; c = c->owner_)
        if (c->state_ & (csFreeing | csDestroying)) return true;
    return false;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    MarkDestroying();
    // Owned components go last-made first, like a stack of things built on each other.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        delete c;  // its destructor removes it from components_
        if (!components_.empty() && components_.back() == c) components_.pop_back();
    }
    for (TComponent* other : freeNotifies_) {
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
    }
    freeNotifies_.clear();
    if (owner_) owner_->RemoveComponent(this);
    going.fetch_sub(1, std::memory_order_relaxed);
}

void TComponent::MarkDestroying() {
    if (state_ & csDestroying) return;
    if (state_ & csFreeing)
        freeLater.erase(std::remove(freeLater.begin(), freeLater.end(), this), freeLater.end());
    else
        going.fetch_add(1, std::memory_order_relaxed);
    state_ |= csDestroying;
    if (alive_) *alive_ = nullptr;
    // Everybody who asked hears it first; then the owner passes it to all it owns.
    std::vector<TComponent*> notifies = freeNotifies_;
    for (TComponent* other : notifies) {
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
    auto& mine = freeNotifies_;
    mine.clear();
    if (owner_ && !owner_->Destroying()) owner_->Notification(this, opRemove);
}

std::shared_ptr<TComponent*> TComponent::AliveToken() {
    if (!alive_) alive_ = std::make_shared<TComponent*>(Destroying() ? nullptr : this);
    return alive_;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (base::SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->owner_ == this) return;
    if (c->owner_) c->owner_->RemoveComponent(c);
    components_.push_back(c);
    c->owner_ = this;
    if (Loading()) c->SetLoadingState(true);
    Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    if (!c || c->owner_ != this) return;
    if (!Destroying() && !c->Destroying()) Notification(c, opRemove);
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    c->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
        other->freeNotifies_.push_back(this);  // so that whichever goes first unhooks the other
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
}

void TComponent::Notification(TComponent* c, TOperation op) {
    if (op == opRemove) RemoveFreeNotification(c);
    // Copy: a handler may make or destroy components.
    std::vector<TComponent*> owned = components_;
    for (TComponent* o : owned) {
        if (o == c) continue;
        if (std::find(components_.begin(), components_.end(), o) == components_.end()) continue;
        o->Notification(c, op);
    }
}

void TComponent::SetLoadingState(bool loading) {
    if (loading) {
        state_ |= csLoading;
        for (TComponent* c : components_) c->SetLoadingState(true);
    } else {
        state_ &= ~csLoading;
    }
}

void TComponent::BeginLoading() {
    SetLoadingState(true);
}

void TComponent::Loaded() {
    state_ &= ~csLoading;
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (c->Loading()) c->Loaded();
}

}  // namespace gui
