#include "DMStyleImpl.h"

#include <cwchar>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMStringHelpers.h"
#include "DMStyleWords.h"
#include "IDMLog.h"

namespace DMAttr {

DMATTR_DEFINE(DUIStyleAttr, STRING_id)
DMATTR_DEFINE(DUIStyleAttr, SKIN_skin)
DMATTR_DEFINE(DUIStyleAttr, SKIN_ncskin)
DMATTR_DEFINE(DUIStyleAttr, RECT_ncmargin)
DMATTR_DEFINE(DUIStyleAttr, STRING_cursor)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrbg)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrbghover)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrbgpush)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrbgdisable)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrbgnoactive)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrnc)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrnchover)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrncpush)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrncdisable)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrncnoactive)
DMATTR_DEFINE(DUIStyleAttr, BYTE_alpha)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrtext)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrtexthover)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrtextpush)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrtextdisable)
DMATTR_DEFINE(DUIStyleAttr, COLOR_clrtextnoactive)
DMATTR_DEFINE(DUIStyleAttr, FONT_font)
DMATTR_DEFINE(DUIStyleAttr, FONT_fonthover)
DMATTR_DEFINE(DUIStyleAttr, FONT_fontpush)
DMATTR_DEFINE(DUIStyleAttr, FONT_fontdisable)
DMATTR_DEFINE(DUIStyleAttr, FONT_fontnoactive)
DMATTR_DEFINE(DUIStyleAttr, INT_textmode)
DMATTR_DEFINE(DUIStyleAttr, OPTION_align)
DMATTR_DEFINE(DUIStyleAttr, OPTION_valign)
DMATTR_DEFINE(DUIStyleAttr, bool_bdot)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIStyleAttr;

const DMColor kUnset = DMColor::FromValue(PBGRA_NONE);

bool IsSet(const DMColor& color) {
    return !(color == kUnset);
}

// A state above 4, or one without its own colour, shows the normal state's colour.
DMColor StateColor(const DMColor (&colors)[DMSTATE_COUNT], int state) {
    return state >= 0 && state < DMSTATE_COUNT && IsSet(colors[state]) ? colors[state] : colors[0];
}

int SetStates(const DMColor (&colors)[DMSTATE_COUNT]) {
    int count = 0;
    for (int state = 1; state < DMSTATE_COUNT; ++state) {
        count += IsSet(colors[state]);
    }
    return count;
}

// The skin a reference names, written without spaces.
IDMSkin* ResolveSkin(const DMStringT& reference) {
    DMStringT compact;
    for (wchar_t c : reference) {
        if (c != L' ') {
            compact += c;
        }
    }
    if (compact.empty()) {
        return nullptr;
    }
    IDMSkin* skin = DMApp::GetObjPtr()->GetSkin(compact);
    if (!skin) {
        LOG_ERR(L"[mid](skin类型)获取失败!:%ls\n", compact.c_str());
    }
    return skin;
}

DMCode HandOut(IDMSkin* skin, IDMSkin** out) {
    if (!out || !skin) {
        return DM_ECODE_FAIL;
    }
    skin->AddRef();
    *out = skin;
    return DM_ECODE_OK;
}

}  // namespace

DMStyleImpl::DMStyleImpl() : m_uAlign(DMALIGN_CENTER), m_uVAlign(DMALIGN_MIDDLE) {
    for (int state = 0; state < DMSTATE_COUNT; ++state) {
        m_crBg[state] = kUnset;
        m_crNc[state] = kUnset;
        m_crText[state] = kUnset;
    }
    m_crText[0] = DMColor();
    m_font[0] = DMSmartPtrT<IDMFont>(DMApp::GetObjPtr()->GetFont(L""));
    MakeCursor(m_strCursor);
}

DMStyleImpl::~DMStyleImpl() {
    DropCursor();
}

void DMStyleImpl::DropCursor() {
    if (m_bOwnCursor && m_hCursor) {
        plat::DestroyCursor(m_hCursor);
    }
    m_hCursor = nullptr;
    m_bOwnCursor = false;
}

bool DMStyleImpl::MakeCursor(const DMStringT& text) {
    if (int system = SystemCursorFromName(text)) {
        DropCursor();
        m_hCursor = plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(system));
        return m_hCursor != nullptr;
    }
    IDMSkin* skin = DMApp::GetObjPtr()->GetSkin(text);
    IDMBitmap* picture = nullptr;
    if (!skin || skin->GetBitmap(&picture) != DM_ECODE_OK) {
        return false;
    }
    auto owned = DMSmartPtrT<IDMBitmap>::Adopt(picture);
    plat::PixelBuffer pixels{reinterpret_cast<const BYTE*>(owned->GetPixelBits()),
                             owned->GetWidth(), owned->GetHeight(), owned->GetRowBytes()};
    plat::HCURSOR cursor =
        plat::CreateCursorFromPicture(pixels, {owned->GetWidth() / 2, owned->GetHeight() / 2});
    if (!cursor) {
        return false;
    }
    DropCursor();
    m_hCursor = cursor;
    m_bOwnCursor = true;
    return true;
}

template <DMColor (DMStyleImpl::*Colors)[DMSTATE_COUNT], int State>
DMCode DMStyleImpl::OnColor(DMStyleImpl& style, const DMStringT& value, bool) {
    ParseColor(value, (style.*Colors)[State]);
    return DMATTR_PAINT;
}

template <int State>
DMCode DMStyleImpl::OnFont(DMStyleImpl& style, const DMStringT& value, bool) {
    if (IDMFont* font = DMApp::GetObjPtr()->GetFont(value)) {
        style.m_font[State] = DMSmartPtrT<IDMFont>(font);
    }
    return DMATTR_PAINT;
}

template <DMStringT DMStyleImpl::*Reference>
DMCode DMStyleImpl::OnSkin(DMStyleImpl& style, const DMStringT& value, bool loading) {
    style.*Reference = value;
    return loading ? DMATTR_OK : DMATTR_PAINT;
}

DMCode DMStyleImpl::OnNcMargin(DMStyleImpl& style, const DMStringT& value, bool loading) {
    ParseRect(value, style.m_rcNcMargin);
    return loading ? DMATTR_OK : DMATTR_PAINT;
}

DMCode DMStyleImpl::OnCursor(DMStyleImpl& style, const DMStringT& value, bool) {
    style.m_strCursor = value;
    return style.MakeCursor(value) ? DMATTR_OK : DMATTR_FAIL;
}

DMCode DMStyleImpl::OnAlign(DMStyleImpl& style, const DMStringT& value, bool) {
    ParseAlignWord(value, style.m_uAlign);
    return DMATTR_PAINT;
}

DMCode DMStyleImpl::OnVAlign(DMStyleImpl& style, const DMStringT& value, bool) {
    ParseVAlignWord(value, style.m_uVAlign);
    return DMATTR_PAINT;
}

DMCode DMStyleImpl::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using S = DMStyleImpl;
    static const DMAttributeEntry<DMStyleImpl> kTable[] = {
        {&DUIStyleAttr::STRING_id, &StringAttribute<&S::m_strID, DMATTR_OK>},
        {&DUIStyleAttr::SKIN_skin, &S::OnSkin<&S::m_strSkin>},
        {&DUIStyleAttr::SKIN_ncskin, &S::OnSkin<&S::m_strNcSkin>},
        {&DUIStyleAttr::RECT_ncmargin, &S::OnNcMargin},
        {&DUIStyleAttr::STRING_cursor, &S::OnCursor},
        {&DUIStyleAttr::COLOR_clrbg, &S::OnColor<&S::m_crBg, 0>},
        {&DUIStyleAttr::COLOR_clrbghover, &S::OnColor<&S::m_crBg, 1>},
        {&DUIStyleAttr::COLOR_clrbgpush, &S::OnColor<&S::m_crBg, 2>},
        {&DUIStyleAttr::COLOR_clrbgdisable, &S::OnColor<&S::m_crBg, 3>},
        {&DUIStyleAttr::COLOR_clrbgnoactive, &S::OnColor<&S::m_crBg, 4>},
        {&DUIStyleAttr::COLOR_clrnc, &S::OnColor<&S::m_crNc, 0>},
        {&DUIStyleAttr::COLOR_clrnchover, &S::OnColor<&S::m_crNc, 1>},
        {&DUIStyleAttr::COLOR_clrncpush, &S::OnColor<&S::m_crNc, 2>},
        {&DUIStyleAttr::COLOR_clrncdisable, &S::OnColor<&S::m_crNc, 3>},
        {&DUIStyleAttr::COLOR_clrncnoactive, &S::OnColor<&S::m_crNc, 4>},
        {&DUIStyleAttr::BYTE_alpha, &ByteAttribute<&S::m_byAlpha, DMATTR_PAINT>},
        {&DUIStyleAttr::COLOR_clrtext, &S::OnColor<&S::m_crText, 0>},
        {&DUIStyleAttr::COLOR_clrtexthover, &S::OnColor<&S::m_crText, 1>},
        {&DUIStyleAttr::COLOR_clrtextpush, &S::OnColor<&S::m_crText, 2>},
        {&DUIStyleAttr::COLOR_clrtextdisable, &S::OnColor<&S::m_crText, 3>},
        {&DUIStyleAttr::COLOR_clrtextnoactive, &S::OnColor<&S::m_crText, 4>},
        {&DUIStyleAttr::FONT_font, &S::OnFont<0>},
        {&DUIStyleAttr::FONT_fonthover, &S::OnFont<1>},
        {&DUIStyleAttr::FONT_fontpush, &S::OnFont<2>},
        {&DUIStyleAttr::FONT_fontdisable, &S::OnFont<3>},
        {&DUIStyleAttr::FONT_fontnoactive, &S::OnFont<4>},
        {&DUIStyleAttr::INT_textmode, &IntAttribute<&S::m_nTextMode, DMATTR_PAINT>},
        {&DUIStyleAttr::OPTION_align, &S::OnAlign},
        {&DUIStyleAttr::OPTION_valign, &S::OnVAlign},
        {&DUIStyleAttr::bool_bdot, &BoolAttribute<&S::m_bDot, DMATTR_PAINT>},
    };
    DMCode code = DMATTR_FAIL;
    if (!DispatchAttribute(*this, kTable, name, value, loading, code)) {
        code = DMBase::SetAttribute(name, value, loading);
    }
    return OnAttributeFinished(name, value, loading, code);
}

DMCode DMStyleImpl::GetID(wchar_t* buffer, int size) {
    return CopyIdText(m_strID, buffer, size);
}

DMCode DMStyleImpl::CopyData(IDMStyle* targetStyle) {
    auto* target = static_cast<DMStyleImpl*>(targetStyle);
    if (!target) {
        return DM_ECODE_FAIL;
    }
    IDMFont* defaultFont = DMApp::GetObjPtr()->GetFont(L"");
    for (int state = 0; state < DMSTATE_COUNT; ++state) {
        for (auto colors : {&DMStyleImpl::m_crBg, &DMStyleImpl::m_crNc, &DMStyleImpl::m_crText}) {
            if (!IsSet((target->*colors)[state])) {
                (target->*colors)[state] = (this->*colors)[state];
            }
        }
        bool unsetFont =
            !target->m_font[state] || (state == 0 && target->m_font[0].get() == defaultFont);
        if (unsetFont) {
            target->m_font[state] = m_font[state];
        }
    }
    const RECT& margin = target->m_rcNcMargin;
    if (margin.left == 0 && margin.top == 0 && margin.right == 0 && margin.bottom == 0) {
        target->m_rcNcMargin = m_rcNcMargin;
    }
    if (target->m_strSkin.empty()) {
        target->m_strSkin = m_strSkin;
    }
    if (target->m_strNcSkin.empty()) {
        target->m_strNcSkin = m_strNcSkin;
    }
    if (target->m_strCursor == L"arrow") {
        target->m_strCursor = m_strCursor;
        target->MakeCursor(m_strCursor);
    }
    if (target->m_byAlpha == 0xFF) {
        target->m_byAlpha = m_byAlpha;
    }
    if (target->m_nTextMode == 0) {
        target->m_nTextMode = m_nTextMode;
    }
    if (target->m_uAlign == DMALIGN_CENTER) {
        target->m_uAlign = m_uAlign;
    }
    if (target->m_uVAlign == DMALIGN_MIDDLE) {
        target->m_uVAlign = m_uVAlign;
    }
    if (!target->m_bDot) {
        target->m_bDot = m_bDot;
    }
    return DM_ECODE_OK;
}

// Text-drawing flags: centred 1, right 2; vertically centred 0x24, bottom 0x28 (both single
// line); "bdot" adds the end ellipsis 0x8000. An explicit text mode wins.
DMCode DMStyleImpl::GetTextAlign(UINT& format) {
    if (m_nTextMode != 0) {
        format = static_cast<UINT>(m_nTextMode);
        return DM_ECODE_OK;
    }
    format = m_uAlign == DMALIGN_CENTER ? 1 : (m_uAlign == DMALIGN_RIGHT ? 2 : 0);
    if (m_uVAlign == DMALIGN_MIDDLE) {
        format += 0x24;
    } else if (m_uVAlign == DMALIGN_BOTTOM) {
        format += 0x28;
    }
    if (m_bDot) {
        format += 0x8000;
    }
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetTextColor(int state, DMColor& color) {
    color = StateColor(m_crText, state);
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetTextFont(int state, IDMFont** font) {
    if (!font) {
        return DM_ECODE_FAIL;
    }
    const DMSmartPtrT<IDMFont>& chosen =
        state >= 0 && state < DMSTATE_COUNT && m_font[state] ? m_font[state] : m_font[0];
    if (!chosen) {
        return DM_ECODE_FAIL;
    }
    chosen->AddRef();
    *font = chosen.get();
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetTextStates(int& states) {
    int fonts = 0;
    for (int state = 1; state < DMSTATE_COUNT; ++state) {
        fonts += static_cast<bool>(m_font[state]);
    }
    states = 1 + std::max(SetStates(m_crText), fonts);
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetCursor(plat::HCURSOR& cursor) {
    if (!m_hCursor) {
        return DM_ECODE_FAIL;
    }
    cursor = m_hCursor;
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetBgSkin(IDMSkin** skin) {
    return HandOut(ResolveSkin(m_strSkin), skin);
}

DMCode DMStyleImpl::GetBgColor(int state, DMColor& color) {
    color = StateColor(m_crBg, state);
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetBgStates(int& states) {
    states = 1 + std::max(SetStates(m_crBg), SetStates(m_crNc));
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetNcMargin(RECT& margin) {
    margin = m_rcNcMargin;
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetNcColor(int state, DMColor& color) {
    color = StateColor(m_crNc, state);
    return DM_ECODE_OK;
}

DMCode DMStyleImpl::GetNcSkin(IDMSkin** skin) {
    return HandOut(ResolveSkin(m_strNcSkin), skin);
}

DMCode DMStyleImpl::GetAlpha(BYTE& alpha) {
    alpha = m_byAlpha;
    return DM_ECODE_OK;
}

}  // namespace DM
