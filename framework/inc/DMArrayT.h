// A growable array with two hooks: the equality test that AddObj and FindObj use (adding
// refuses an element equal to one present) and the hook called before an element is removed,
// which releases or deletes it. A derived class that overrides the removal hook calls
// RemoveAll in its own destructor, since the base destructor can no longer reach the hook.
#pragma once

#include <cstddef>
#include <vector>

namespace DM {

constexpr std::size_t DM_INVALID_INDEX = static_cast<std::size_t>(-1);

template <class T>
class DMArrayT {
public:
    virtual ~DMArrayT() = default;

    // False when an equal element is present already.
    bool AddObj(const T& object) {
        if (FindObj(object) != DM_INVALID_INDEX) {
            return false;
        }
        m_objects.push_back(object);
        return true;
    }
    std::size_t FindObj(const T& object) const {
        for (std::size_t i = 0; i < m_objects.size(); ++i) {
            if (EqualArrayObj(m_objects[i], object)) {
                return i;
            }
        }
        return DM_INVALID_INDEX;
    }
    bool RemoveObj(std::size_t index) {
        if (index >= m_objects.size()) {
            return false;
        }
        PreArrayObjRemove(m_objects[index]);
        m_objects.erase(m_objects.begin() + static_cast<std::ptrdiff_t>(index));
        return true;
    }
    void RemoveAll() {
        for (const T& object : m_objects) {
            PreArrayObjRemove(object);
        }
        m_objects.clear();
    }

    std::size_t GetCount() const { return m_objects.size(); }
    const T& GetObj(std::size_t index) const { return m_objects[index]; }

protected:
    virtual bool EqualArrayObj(const T& present, const T& other) const { return present == other; }
    virtual void PreArrayObjRemove(const T&) {}

private:
    std::vector<T> m_objects;
};

}  // namespace DM
