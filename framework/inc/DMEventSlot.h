// Slots: the callables subscribed to an event id. A member-function slot binds an object and
// one of its member functions that takes the event and answers 0 when it handled it.
#pragma once

#include "DMDef.h"
#include "DMEvents.h"

namespace DM {

class DMSlotFunctorBase {
public:
    virtual ~DMSlotFunctorBase() = default;
    // True when the event counts as handled.
    virtual bool Invoke(DMEventArgs* event) = 0;
    virtual bool Equal(const DMSlotFunctorBase& other) const = 0;
    virtual DMSlotFunctorBase* Clone() const = 0;
    virtual int GetSlotType() const = 0;
};

constexpr int DMSLOT_MEMBER_FUNCTION = 1;

template <class T>
class DMMemberFunctionSlot : public DMSlotFunctorBase {
public:
    using Function = DMCode (T::*)(DMEventArgs*);

    DMMemberFunctionSlot(Function function, T* object) : m_pFunction(function), m_pObject(object) {}

    bool Invoke(DMEventArgs* event) override {
        return (m_pObject->*m_pFunction)(event) == DM_ECODE_OK;
    }
    bool Equal(const DMSlotFunctorBase& other) const override {
        if (other.GetSlotType() != DMSLOT_MEMBER_FUNCTION) {
            return false;
        }
        const auto* same = dynamic_cast<const DMMemberFunctionSlot<T>*>(&other);
        return same && same->m_pFunction == m_pFunction && same->m_pObject == m_pObject;
    }
    DMSlotFunctorBase* Clone() const override { return new DMMemberFunctionSlot<T>(*this); }
    int GetSlotType() const override { return DMSLOT_MEMBER_FUNCTION; }

private:
    Function m_pFunction;
    T* m_pObject;
};

template <class T>
DMMemberFunctionSlot<T> Subscriber(DMCode (T::*function)(DMEventArgs*), T* object) {
    return DMMemberFunctionSlot<T>(function, object);
}

}  // namespace DM
