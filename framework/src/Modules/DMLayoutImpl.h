// The layout object of every widget: its "pos" as up to four position items, its "possize",
// and how width and height are found.
#pragma once

#include "DMRegType.h"
#include "IDMLayout.h"

namespace DMAttr {

class DMLayoutImplAttr {
public:
    static const wchar_t* POS_pos;
    static const wchar_t* SIZE_possize;
};

}  // namespace DMAttr

namespace DM {

// Size modes.
constexpr DWORD DMSIZE_FIXED_WIDTH = 0x01;
constexpr DWORD DMSIZE_DESIRED_WIDTH = 0x02;
constexpr DWORD DMSIZE_PARENT_WIDTH = 0x04;
constexpr DWORD DMSIZE_FIXED_HEIGHT = 0x10;
constexpr DWORD DMSIZE_DESIRED_HEIGHT = 0x20;
constexpr DWORD DMSIZE_PARENT_HEIGHT = 0x40;

struct DMPosItem {
    enum Kind {
        Edge = 0,
        Centre = 1,
        Percent = 2,
        PrevFar = 3,
        NextNear = 4,
        PrevNear = 5,
        NextFar = 6,
        Size = 7,
    };
    int kind = Edge;
    bool negative = false;
    float value = 0;
};

class DMLayoutImpl : public IDMLayout {
    DMDECLARE_CLASS_NAME(DMLayoutImpl, IDMLayout, L"DMLayoutImpl", L"IDMLayout", DMREG_Layout)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode SetOwner(DUIWindow* owner) override;
    DMCode UpdateLayout(const RECT* parent, RECT& rect) override;
    DMCode UpdateChildLayout() override;

private:
    bool ParsePosition();
    void ApplyPosSize();
    // `parent` is the parent's child layout rectangle, which also stands in for a missing
    // sibling.
    LONG Resolve(const DMPosItem& item, const RECT& parent, bool horizontal) const;
    SIZE SizeFromMode(const RECT& parent) const;
    void Stack(const RECT& parent, RECT& rect) const;

    DMStringT m_strPos;
    DUIWindow* m_pOwner = nullptr;
    int m_nCount = 0;
    DMPosItem m_items[4];
    DWORD m_uSizeMode = 0;
    SIZE m_size{0, 0};
    bool m_bSizeKnown = false;
    int m_nSepSpace = 2;
};

}  // namespace DM
