// The single instance of a class, published through a static pointer that the instance's
// constructor sets and its destructor clears.
#pragma once

namespace DM {

template <class T>
class DMSingletonT {
public:
    DMSingletonT() { ms_Singleton = static_cast<T*>(this); }
    ~DMSingletonT() { ms_Singleton = nullptr; }
    DMSingletonT(const DMSingletonT&) = delete;
    DMSingletonT& operator=(const DMSingletonT&) = delete;

    static T* GetObjPtr() { return ms_Singleton; }

private:
    static inline T* ms_Singleton = nullptr;
};

}  // namespace DM
