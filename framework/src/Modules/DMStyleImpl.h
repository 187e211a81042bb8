// "style": one widget's colours, fonts, skins, alignment and cursor, per state (0 normal,
// 1 hover, 2 pushed, 3 disabled, 4 not active). A colour of value 0x00FFFFFF is unset.
#pragma once

#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMStyle.h"

namespace DMAttr {

class DUIStyleAttr {
public:
    static const wchar_t* STRING_id;
    static const wchar_t* SKIN_skin;
    static const wchar_t* SKIN_ncskin;
    static const wchar_t* RECT_ncmargin;
    static const wchar_t* STRING_cursor;
    static const wchar_t* COLOR_clrbg;
    static const wchar_t* COLOR_clrbghover;
    static const wchar_t* COLOR_clrbgpush;
    static const wchar_t* COLOR_clrbgdisable;
    static const wchar_t* COLOR_clrbgnoactive;
    static const wchar_t* COLOR_clrnc;
    static const wchar_t* COLOR_clrnchover;
    static const wchar_t* COLOR_clrncpush;
    static const wchar_t* COLOR_clrncdisable;
    static const wchar_t* COLOR_clrncnoactive;
    static const wchar_t* BYTE_alpha;
    static const wchar_t* COLOR_clrtext;
    static const wchar_t* COLOR_clrtexthover;
    static const wchar_t* COLOR_clrtextpush;
    static const wchar_t* COLOR_clrtextdisable;
    static const wchar_t* COLOR_clrtextnoactive;
    static const wchar_t* FONT_font;
    static const wchar_t* FONT_fonthover;
    static const wchar_t* FONT_fontpush;
    static const wchar_t* FONT_fontdisable;
    static const wchar_t* FONT_fontnoactive;
    static const wchar_t* INT_textmode;
    static const wchar_t* OPTION_align;
    static const wchar_t* OPTION_valign;
    static const wchar_t* bool_bdot;
};

}  // namespace DMAttr

namespace DM {

constexpr int DMSTATE_COUNT = 5;

class DMStyleImpl : public IDMStyle {
    DMDECLARE_CLASS_NAME(DMStyleImpl, IDMStyle, L"style", L"IDMStyle", DMREG_Style)
public:
    DMStyleImpl();
    ~DMStyleImpl() override;

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode GetID(wchar_t* buffer, int size) override;
    DMCode CopyData(IDMStyle* target) override;
    DMCode GetTextAlign(UINT& format) override;
    DMCode GetTextColor(int state, DMColor& color) override;
    DMCode GetTextFont(int state, IDMFont** font) override;
    DMCode GetTextStates(int& states) override;
    DMCode GetCursor(plat::HCURSOR& cursor) override;
    DMCode GetBgSkin(IDMSkin** skin) override;
    DMCode GetBgColor(int state, DMColor& color) override;
    DMCode GetBgStates(int& states) override;
    DMCode GetNcMargin(RECT& margin) override;
    DMCode GetNcColor(int state, DMColor& color) override;
    DMCode GetNcSkin(IDMSkin** skin) override;
    DMCode GetAlpha(BYTE& alpha) override;

private:
    template <DMColor (DMStyleImpl::*Colors)[DMSTATE_COUNT], int State>
    static DMCode OnColor(DMStyleImpl& style, const DMStringT& value, bool loading);
    template <int State>
    static DMCode OnFont(DMStyleImpl& style, const DMStringT& value, bool loading);
    template <DMStringT DMStyleImpl::*Reference>
    static DMCode OnSkin(DMStyleImpl& style, const DMStringT& value, bool loading);
    static DMCode OnNcMargin(DMStyleImpl& style, const DMStringT& value, bool loading);
    static DMCode OnCursor(DMStyleImpl& style, const DMStringT& value, bool loading);
    static DMCode OnAlign(DMStyleImpl& style, const DMStringT& value, bool loading);
    static DMCode OnVAlign(DMStyleImpl& style, const DMStringT& value, bool loading);
    // A system cursor, or one made from a skin's picture with its hot spot in the middle.
    bool MakeCursor(const DMStringT& text);
    void DropCursor();

    DMStringT m_strID;
    DMColor m_crBg[DMSTATE_COUNT];
    DMColor m_crNc[DMSTATE_COUNT];
    DMColor m_crText[DMSTATE_COUNT];
    DMSmartPtrT<IDMFont> m_font[DMSTATE_COUNT];
    DMStringT m_strSkin;
    DMStringT m_strNcSkin;
    RECT m_rcNcMargin{0, 0, 0, 0};
    DMStringT m_strCursor = L"arrow";
    plat::HCURSOR m_hCursor = nullptr;
    bool m_bOwnCursor = false;  // made from a picture, so destroyed with the style
    BYTE m_byAlpha = 0xFF;
    int m_nTextMode = 0;
    UINT m_uAlign;
    UINT m_uVAlign;
    bool m_bDot = false;
};

}  // namespace DM
