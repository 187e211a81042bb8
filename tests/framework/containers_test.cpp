// The shared containers: the hash map's growth and shrinking, the array's hooks, and the
// reference counts behind the smart pointer.
#include <gtest/gtest.h>

#include "DMArrayT.h"
#include "DMMapT.h"
#include "DMRefNum.h"
#include "DMSmartPtrT.h"

using namespace DM;

namespace {

double Load(const DMMapT<std::wstring, int>& map) {
    return static_cast<double>(map.GetCount()) / static_cast<double>(map.GetBinCount());
}

TEST(DMMapT, GrowsAndShrinksWithinTheLoadBounds) {
    DMMapT<std::wstring, int> map;
    EXPECT_EQ(map.GetBinCount(), 17u);
    constexpr int kKeys = 100000;
    for (int i = 0; i < kKeys; ++i) {
        map.SetAt(L"key" + std::to_wstring(i), i);
        ASSERT_LE(Load(map), 2.25) << i;
    }
    EXPECT_EQ(map.GetCount(), static_cast<std::size_t>(kKeys));
    EXPECT_LE(Load(map), 2.25);
    for (int i = 0; i < kKeys; ++i) {
        int value = -1;
        ASSERT_TRUE(map.Lookup(L"key" + std::to_wstring(i), value)) << i;
        ASSERT_EQ(value, i);
    }
    for (int i = kKeys - 1; i >= 10; --i) {
        ASSERT_TRUE(map.RemoveKey(L"key" + std::to_wstring(i)));
        ASSERT_TRUE(map.GetBinCount() == 17u || Load(map) >= 0.25) << i;
    }
    EXPECT_LT(map.GetBinCount(), 50u) << "shrunk back to a small table";
    int found = 0;
    map.ForEach([&](const std::wstring& key, int value) {
        EXPECT_EQ(key, L"key" + std::to_wstring(value));
        ++found;
    });
    EXPECT_EQ(found, 10);
    EXPECT_FALSE(map.RemoveKey(L"key10"));
}

TEST(DMMapT, ReplacesValuesAndHashesTextAsDocumented) {
    EXPECT_EQ(DMHashTraits<std::wstring>::Hash(L"ab"), (0u * 33 + 'a') * 33 + 'b');
    DMMapT<std::wstring, int> map;
    map.SetAt(L"a", 1);
    map.SetAt(L"a", 2);
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(*map.Find(L"a"), 2);
    EXPECT_EQ(map.Find(L"A"), nullptr);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
}

// Elements equal when they have the same length; removed ones are recorded.
class LengthArray : public DMArrayT<std::string> {
public:
    ~LengthArray() override { RemoveAll(); }
    std::vector<std::string>* removed = nullptr;

protected:
    bool EqualArrayObj(const std::string& present, const std::string& other) const override {
        return present.size() == other.size();
    }
    void PreArrayObjRemove(const std::string& object) override { removed->push_back(object); }
};

TEST(DMArrayT, EqualityRefusesAndRemovalHookRuns) {
    std::vector<std::string> removed;
    {
        LengthArray array;
        array.removed = &removed;
        EXPECT_TRUE(array.AddObj("one"));
        EXPECT_FALSE(array.AddObj("two"));
        EXPECT_TRUE(array.AddObj("three"));
        EXPECT_EQ(array.FindObj("xyz"), 0u);
        EXPECT_EQ(array.FindObj("four"), DM_INVALID_INDEX);
        EXPECT_TRUE(array.RemoveObj(0));
        EXPECT_FALSE(array.RemoveObj(5));
        EXPECT_EQ(array.GetObj(0), "three");
    }
    EXPECT_EQ(removed, (std::vector<std::string>{"one", "three"}));
}

class Counted : public DMRefNum {
public:
    explicit Counted(bool* deleted) : m_deleted(deleted) {}
    ~Counted() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

TEST(DMSmartPtrT, TheLastReleaseDeletes) {
    bool deleted = false;
    auto* object = new Counted(&deleted);
    {
        DMSmartPtrT<Counted> owner;
        owner.Attach(object);
        DMSmartPtrT<Counted> copy = owner;
        EXPECT_EQ(object->GetRefCount(), 2);
    }
    EXPECT_TRUE(deleted);
}

}  // namespace
