// How windows and controls report to their owners: an owned, clonable binding of an object to
// one of its member functions. The argument is pointer-sized, so a message callback can carry
// the address of the message's MessageArgs.
#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

// The two parameters of a message, on the caller's stack for the length of one call.
struct MessageArgs {
    WPARAM wParam;
    LPARAM lParam;
};

// A message callback's argument back as the record it points to.
inline const MessageArgs& ArgsAt(LPARAM address) {
    return *reinterpret_cast<const MessageArgs*>(address);
}

class Callback {
public:
    virtual ~Callback() = default;
    virtual std::unique_ptr<Callback> Clone() const = 0;
    virtual INT_PTR Invoke(LPARAM argument) const = 0;
};

template <class Target>
class MemberCallback final : public Callback {
public:
    using Member = INT_PTR (Target::*)(LPARAM);

    MemberCallback(Target* target, Member member) : target_(target), member_(member) {}

    std::unique_ptr<Callback> Clone() const override {
        return std::make_unique<MemberCallback>(*this);
    }
    INT_PTR Invoke(LPARAM argument) const override { return (target_->*member_)(argument); }

private:
    Target* target_;
    Member member_;
};

// Bind(this, &Owner::OnSomething): the member decides the target's type.
template <class Target>
MemberCallback<Target> Bind(std::type_identity_t<Target>* target, INT_PTR (Target::*member)(LPARAM)) {
    return MemberCallback<Target>(target, member);
}

// One callback slot of a window or control: holds its own copy of the binding it was given.
class CallbackSlot {
public:
    // The clone is made before the old binding goes, so a slot may be set from itself.
    void Set(const Callback& binding) { held_ = binding.Clone(); }
    void Clear() { held_.reset(); }
    explicit operator bool() const { return held_ != nullptr; }
    INT_PTR Invoke(LPARAM argument) const { return held_->Invoke(argument); }

private:
    std::unique_ptr<Callback> held_;
};
