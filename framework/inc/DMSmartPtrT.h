// An intrusive smart pointer over DMRefNum objects. Copies add a reference; Attach takes over
// the reference that a creating or getting operation handed out.
#pragma once

#include <utility>

namespace DM {

template <class T>
class DMSmartPtrT {
public:
    DMSmartPtrT() = default;
    // Adds a reference of its own: the caller keeps its reference.
    explicit DMSmartPtrT(T* object) : m_ptr(object) {
        if (m_ptr) {
            m_ptr->AddRef();
        }
    }
    DMSmartPtrT(const DMSmartPtrT& other) : DMSmartPtrT(other.m_ptr) {}
    DMSmartPtrT(DMSmartPtrT&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ~DMSmartPtrT() { Release(); }

    DMSmartPtrT& operator=(DMSmartPtrT other) noexcept {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }

    // A pointer that takes over the reference a new object starts with.
    static DMSmartPtrT Adopt(T* object) {
        DMSmartPtrT owner;
        owner.m_ptr = object;
        return owner;
    }
    // Takes over one reference the caller holds.
    void Attach(T* object) {
        Release();
        m_ptr = object;
    }
    // Hands the held reference to the caller.
    T* Detach() { return std::exchange(m_ptr, nullptr); }
    void Release() {
        if (T* object = std::exchange(m_ptr, nullptr)) {
            object->Release();
        }
    }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T& operator*() const { return *m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

private:
    T* m_ptr = nullptr;
};

}  // namespace DM
