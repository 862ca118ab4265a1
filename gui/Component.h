#pragma once
// TComponent: the root of everything the framework builds. A component may have an owner that
// destroys it; other components hold plain pointers to it and hear of its removal through
// Notification(c, opRemove), so that such pointers are cleared before they dangle.
//
// Creating: owner->Make<TButton>() constructs an owned component (T's constructor takes the owner
// as its first argument). Destroying: Free() it (or delete it outside any event); it tells everybody
// who asked, and everything owned by its owner, that it is going, then destroys what it owns (last
// first).
//
// Delete-later: while an event is being dispatched (a TDispatchScope is open: the loop's dispatch,
// a timer, a modal loop, every handler FireEvent calls), Free() only marks the component and its
// destruction waits until the outermost scope closes. So a handler may free its own sender or form
// and the code that called it still runs on live objects; it asks Freeing() to skip what is going.
//
// Loading: a form is built between BeginLoading() and Loaded(); components made by a loading
// owner start in the loading state, and Loaded() ends it for the owner and all it owns
// (the owned ones first).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gui {

enum TOperation { opInsert, opRemove };

using TComponentState = std::uint32_t;
enum : TComponentState {
    csLoading = 1u << 0,
    csDestroying = 1u << 1,
    csFreeing = 1u << 2,  // Free() was called during a dispatch: destroyed when it unwinds
};

// Marks the code it spans as dispatching an event: components freed meanwhile are destroyed when
// the outermost scope on this thread closes.
class TDispatchScope {
public:
    TDispatchScope();
    ~TDispatchScope();
    TDispatchScope(const TDispatchScope&) = delete;
    TDispatchScope& operator=(const TDispatchScope&) = delete;
    static bool Active();
};

// The one way to fire an event handler. The call is a dispatch scope, so the handler may free the
// component that holds it; it runs through a copy, so it may also replace or clear itself. False
// when no handler is set.
template <class Handler, class... Args>
bool FireEvent(const Handler& handler, Args&&... args) {
    if (!handler) return false;
    TDispatchScope scope;
    Handler copy = handler;
    copy(std::forward<Args>(args)...);
    return true;
}

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Creates a component owned by this one.
    template <class T, class... Args>
    T* Make(Args&&... args) {
        return new T(this, std::forward<Args>(args)...);
    }
    // Destroys the component: at once outside a dispatch, otherwise when the outermost dispatch
    // unwinds (freeing again meanwhile does nothing).
    void Free();
    // Going: it or an owner is freed and waits for the dispatch to unwind, or is being destroyed.
    bool Freeing() const;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(size_t(index)); }
    // Owned component by name (ASCII case-insensitive), nullptr if none.
    TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* c);  // takes ownership (removing it from its old owner)
    void RemoveComponent(TComponent* c);  // gives up ownership without destroying

    // other->Notification(this, opRemove) will run when this component is destroyed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    TComponentState ComponentState() const { return state_; }
    bool Loading() const { return (state_ & csLoading) != 0; }
    bool Destroying() const { return (state_ & csDestroying) != 0; }
    void BeginLoading();  // this and everything it owns (and will make) are loading
    // Ends loading: the owned components' Loaded() first, then this one's. Overrides call the
    // base first.
    virtual void Loaded();

    // A weak reference, for pointers kept beyond one dispatch: tells whether the component still
    // exists.
    class Weak {
    public:
        Weak() = default;
        explicit Weak(TComponent* c) : alive_(c ? c->AliveToken() : nullptr) {}
        TComponent* Get() const { return alive_ ? *alive_ : nullptr; }
        explicit operator bool() const { return Get() != nullptr; }

    private:
        std::shared_ptr<TComponent*> alive_;
    };
    template <class T>
    class WeakOf {
    public:
        WeakOf() = default;
        explicit WeakOf(T* c) : weak_(c) {}
        T* Get() const { return static_cast<T*>(weak_.Get()); }
        T* operator->() const { return Get(); }
        explicit operator bool() const { return Get() != nullptr; }

    private:
        Weak weak_;
    };

protected:
    // c is being inserted into / removed from the component tree (removal: it is being destroyed
    // or disowned). Overrides clear their pointers to c and call the base, which passes the news
    // on to everything this component owns.
    virtual void Notification(TComponent* c, TOperation op);
    // Marks destroying and notifies; runs once, at the start of destruction.
    void MarkDestroying();
    void SetLoadingState(bool loading);

private:
    std::shared_ptr<TComponent*> AliveToken();

    TComponent* owner_ = nullptr;
    std::string name_;
    int tag_ = 0;
    TComponentState state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::shared_ptr<TComponent*> alive_;
};

}  // namespace gui
