// Base of the framework's reference-counted objects. The count starts at 1, the reference of
// whoever created the object; the release that brings it to 0 calls OnFinalRelease, which
// deletes the object. Counts change atomically, since default objects may be shared with
// worker threads.
#pragma once

#include <atomic>

namespace DM {

class DMRefNum {
public:
    DMRefNum() = default;
    DMRefNum(const DMRefNum&) = delete;
    DMRefNum& operator=(const DMRefNum&) = delete;

    long AddRef() { return ++m_refCount; }
    long Release() {
        long count = --m_refCount;
        if (count == 0) {
            OnFinalRelease();
        }
        return count;
    }
    long GetRefCount() const { return m_refCount; }

    virtual void OnFinalRelease() { delete this; }
    virtual ~DMRefNum() = default;

private:
    std::atomic<long> m_refCount{1};
};

}  // namespace DM
