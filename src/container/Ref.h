// Intrusive reference counting for steps (and, later, values). The count
// lives in the object; Ref<T> is the only thing that touches it, so no call
// site ever adds or releases a reference by hand. Counts are not atomic:
// steps and values never leave the playback thread.
#pragma once

#include <cstdint>
#include <utility>

namespace ovrix {

class VObj {
public:
    VObj() = default;
    // A copy is a new object: it starts unshared.
    VObj(const VObj&) : count_(0) {}
    VObj& operator=(const VObj&) { return *this; }
    virtual ~VObj() = default;

    int32_t RefCount() const { return count_; }

private:
    template <class T>
    friend class Ref;
    void AddRef() const { ++count_; }
    void Release() const {
        if (--count_ < 1) delete this;
    }
    mutable int32_t count_ = 0;
};

template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& o) : Ref(o.Get()) {}
    template <class U>
    Ref(Ref<U>&& o) noexcept : p_(o.Detach()) {}
    ~Ref() {
        if (p_) p_->Release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Hands the reference over to a new Ref of another type (used by the converting move).
    T* Detach() { return std::exchange(p_, nullptr); }

private:
    T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace ovrix
