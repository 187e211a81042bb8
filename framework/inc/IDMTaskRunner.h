// The task runner: a process-wide bus of named events that may cross threads, and tasks run on
// the UI thread or on one shared worker thread. Subscribers connect delegates to an event name
// in one of three modes: called in the firing thread, queued to the UI thread or queued to the
// worker.
#pragma once

#include <map>

#include "DMBase.h"
#include "DMRefNum.h"

namespace DM {

// A small record that travels with an event; the runner's own fires use 8 and 0.
struct DMEventSender {
    int m_nType = 8;
    int m_nValue = 0;
};

// A reference-counted map of texts that travels with an event; queued events carry a copy.
class DMBundle : public DMRefNum {
public:
    using DMBundleData = DMStringT;

    void Put(const DMStringT& key, DMBundleData value) { m_values[key] = std::move(value); }
    const DMBundleData* Get(const DMStringT& key) const {
        auto found = m_values.find(key);
        return found == m_values.end() ? nullptr : &found->second;
    }
    // A new bundle with the same values, one reference for the caller.
    DMBundle* Copy() const;

private:
    std::map<DMStringT, DMBundleData> m_values;
};

// A callable made of a target and a function; equal when both parts are equal.
struct DMDelegate {
    using Function = bool (*)(void* target, const DMEventSender& sender, DMBundle* bundle);

    void* target = nullptr;
    Function function = nullptr;

    bool IsEmpty() const { return function == nullptr; }
    bool operator==(const DMDelegate& other) const {
        return target == other.target && function == other.function;
    }
    bool operator()(const DMEventSender& sender, DMBundle* bundle) const {
        return function(target, sender, bundle);
    }
};

// A delegate calling `Method` of `object`.
template <auto Method, class T>
DMDelegate MakeDelegate(T* object) {
    return {object, [](void* target, const DMEventSender& sender, DMBundle* bundle) {
                return (static_cast<T*>(target)->*Method)(sender, bundle);
            }};
}

// A unit of work for PostTask.
class IDMTask : public DMRefNum {
public:
    virtual void Run() = 0;
};

enum DMTaskMode {
    DMTASK_SYNC = 0,
    DMTASK_UI = 1,
    DMTASK_WORK = 2,
};

class IDMTaskRunner : public DMBase {
public:
    virtual DMCode InitEvent(DWORD uiThreadId) = 0;
    virtual DMCode UnInitEvent() = 0;
    virtual bool IsEventExists(const wchar_t* name) = 0;
    virtual DMCode RemoveEvent(const wchar_t* name) = 0;
    virtual DMCode DisconnectAll(void* target) = 0;
    virtual DMCode RemoveAllEvent() = 0;
    virtual DMCode ConnectEvent(int mode, const wchar_t* name, const DMDelegate& delegate,
                                int group = 0) = 0;
    virtual DMCode FireEvent(const wchar_t* name, DMBundle* bundle) = 0;
    virtual DMCode FireEvent(const wchar_t* name) = 0;
    // The runner keeps its own reference to the task until it has run.
    virtual DMCode PostTask(int mode, IDMTask* task) = 0;
};

}  // namespace DM
