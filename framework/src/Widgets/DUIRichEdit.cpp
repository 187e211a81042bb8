#include "DUIRichEdit.h"

#include <algorithm>
#include <cstdlib>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMRectHelpers.h"
#include "DUICaret.h"
#include "DUIRicheditDropTarget.h"
#include "DUITextHost.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/messages.h"
#include "plat/paint.h"

namespace DMAttr {

DMATTR_DEFINE(DUIRichEditAttr, INT_editstyle)
DMATTR_DEFINE(DUIRichEditAttr, INT_maxbuf)
DMATTR_DEFINE(DUIRichEditAttr, bool_brichtext)
DMATTR_DEFINE(DUIRichEditAttr, bool_bwordwrap)
DMATTR_DEFINE(DUIRichEditAttr, bool_ballowbeep)
DMATTR_DEFINE(DUIRichEditAttr, bool_bautowordsel)
DMATTR_DEFINE(DUIRichEditAttr, bool_bmultilines)
DMATTR_DEFINE(DUIRichEditAttr, RECT_rcinsertmargin)
DMATTR_DEFINE(DUIRichEditAttr, COLOR_clrtext)
DMATTR_DEFINE(DUIRichEditAttr, FONT_font)
DMATTR_DEFINE(DUIRichEditAttr, OPTION_align)
DMATTR_DEFINE(DUIRichEditAttr, STRING_text)
DMATTR_DEFINE(DUIRichEditAttr, bool_bhscroll)
DMATTR_DEFINE(DUIRichEditAttr, bool_bvscroll)
DMATTR_DEFINE(DUIRichEditAttr, bool_bautohscroll)
DMATTR_DEFINE(DUIRichEditAttr, bool_bautovscroll)
DMATTR_DEFINE(DUIRichEditAttr, bool_breadonly)
DMATTR_DEFINE(DUIRichEditAttr, bool_bwantreturn)
DMATTR_DEFINE(DUIRichEditAttr, bool_bpassword)
DMATTR_DEFINE(DUIRichEditAttr, CHAR_passwordchar)
DMATTR_DEFINE(DUIRichEditAttr, bool_bnumber)
DMATTR_DEFINE(DUIRichEditAttr, bool_benabledrag)
DMATTR_DEFINE(DUIRichEditAttr, COLOR_clrcaret)
DMATTR_DEFINE(DUIRichEditAttr, INT_caretanimatecount)
DMATTR_DEFINE(DUIRichEditAttr, bool_bautosel)
DMATTR_DEFINE(DUIRichEditAttr, bool_bsinglevcenter)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIRichEditAttr;

// The widget timer message, and the screen's logical resolution that twips and HIMETRIC
// convert with.
constexpr UINT kWidgetThreadTimer = 2338;
constexpr int kPixelsPerInch = 96;
constexpr DWORD kCharFormatMask = 0xF8000007;
constexpr DWORD kParaFormatMask = 0x8001003F;
constexpr LONG kDefaultTabStop = 720;
constexpr int kDefaultMaxLength = 0x7FFF;
// Arrows, every key and the selection; without Enter: arrows and the selection.
constexpr UINT kDlgCodeWithReturn = 13;
constexpr UINT kDlgCodeWithoutReturn = 9;

LONG ToHimetric(LONG pixels) {
    return 2540 * pixels / kPixelsPerInch;
}

bool CtrlHeld() {
    return plat::GetKeyState(plat::VK_CONTROL) < 0;
}

}  // namespace

DUIRichEdit::DUIRichEdit() {
    m_iAutoBars = 0;
    XmlInfo().m_bFocusable = true;
}

DUIRichEdit::~DUIRichEdit() {
    if (m_pTxtHost) {
        m_pTxtHost->Release();
    }
}

plat::ITextServices* DUIRichEdit::GetTextServices() const {
    return m_pTxtHost ? m_pTxtHost->GetTextService() : nullptr;
}

bool DUIRichEdit::IsPlainSingleLine() const {
    return !m_fRich && !IsEditStyle(plat::ES_MULTILINE);
}

bool DUIRichEdit::ToEngine(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    plat::ITextServices* services = GetTextServices();
    LRESULT answer = 0;
    bool handled =
        services && services->TxSendMessage(message, wParam, lParam, &answer) == plat::S_OK;
    if (result) {
        *result = answer;
    }
    return handled;
}

void DUIRichEdit::PropertyChanged(DWORD mask, DWORD bits) {
    if (plat::ITextServices* services = GetTextServices()) {
        services->OnTxPropertyBitsChange(mask, bits);
    }
}

// Operations code uses.

bool DUIRichEdit::SetWindowText(const wchar_t* text) {
    return SendMessage(plat::WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int DUIRichEdit::GetWindowTextLength() {
    return static_cast<int>(SendMessage(plat::WM_GETTEXTLENGTH));
}

DMStringT DUIRichEdit::GetWindowText() {
    int length = GetWindowTextLength();
    DMStringT text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessage(plat::WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return DMStringT(text.c_str());
}

void DUIRichEdit::SetSel(DWORD selection, bool noScroll) {
    SendMessage(plat::EM_SETSEL, selection & 0xFFFF, (selection >> 16) & 0xFFFF);
    if (!noScroll) {
        SendMessage(plat::EM_SCROLLCARET);
    }
}

bool DUIRichEdit::SetLimitText(int limit) {
    return SendMessage(plat::EM_EXLIMITTEXT, static_cast<WPARAM>(limit)) != 0;
}

DWORD DUIRichEdit::GetEventMask() {
    return static_cast<DWORD>(SendMessage(plat::EM_GETEVENTMASK));
}

DWORD DUIRichEdit::SetEventMask(DWORD mask) {
    return static_cast<DWORD>(SendMessage(plat::EM_SETEVENTMASK, 0, mask));
}

// Formats.

void DUIRichEdit::BuildCharFormat(IDMFont* font, bool creating) {
    DMSmartPtrT<IDMCanvas> canvas = NewCanvas(0, 0);
    if (!canvas) {
        return;
    }
    DUIDrawEnvironStack environs;
    environs.Push(this, canvas.get());
    if (font) {
        canvas->SelectObject(font, nullptr);
    }
    SIZE letter{};
    canvas->MeasureText(L"A", 1, letter);
    m_nLineHeight = letter.cy;
    IDMMetaFile* selected = nullptr;
    canvas->GetObject(&selected, DMF_FONT);
    DMSmartPtrT<IDMFont> current(static_cast<IDMFont*>(selected));
    environs.Pop(canvas.get());
    m_cfDef = {};
    m_cfDef.cbSize = sizeof(plat::CHARFORMAT2W);
    m_cfDef.dwMask = kCharFormatMask;
    DMColor color;
    GetStyle()->GetTextColor(0, color);
    m_cfDef.crTextColor = color.ToCOLORREF();
    if (current) {
        const plat::LOGFONTW* logFont = current->GetLogFont();
        m_cfDef.yHeight = std::abs(logFont->lfHeight) * 1440 / kPixelsPerInch;
        m_cfDef.dwEffects |= logFont->lfWeight >= 700 ? plat::CFE_BOLD : 0;
        m_cfDef.dwEffects |= logFont->lfItalic ? plat::CFE_ITALIC : 0;
        m_cfDef.dwEffects |= logFont->lfUnderline ? plat::CFE_UNDERLINE : 0;
        m_cfDef.bCharSet = logFont->lfCharSet;
        m_cfDef.bPitchAndFamily = logFont->lfPitchAndFamily;
        for (int i = 0; i < plat::LF_FACESIZE - 1 && logFont->lfFaceName[i]; ++i) {
            m_cfDef.szFaceName[i] = static_cast<char16_t>(logFont->lfFaceName[i]);
        }
    }
    if (!creating) {
        PropertyChanged(plat::TXTBIT_CHARFORMATCHANGE, plat::TXTBIT_CHARFORMATCHANGE);
    }
}

void DUIRichEdit::ApplyParagraphAlignment() {
    m_pfDef.wAlignment = IsEditStyle(plat::ES_CENTER)  ? plat::PFA_CENTER
                         : IsEditStyle(plat::ES_RIGHT) ? plat::PFA_RIGHT
                                                       : plat::PFA_LEFT;
}

// Attributes.

template <DWORD Bit, DWORD Property>
DMCode DUIRichEdit::StyleBit(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    bool on = (edit.m_dwStyle & Bit) != 0;
    ParseBool(value, on);
    edit.m_dwStyle = on ? (edit.m_dwStyle | Bit) : (edit.m_dwStyle & ~Bit);
    if (!loading && Property) {
        edit.PropertyChanged(Property, on ? Property : 0);
    }
    return DMATTR_OK;
}

// Every bit of the style the engine keeps a property for is told, set or cleared.
DMCode DUIRichEdit::OnEditStyle(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    int style = static_cast<int>(edit.m_dwStyle);
    ParseInt(value, style);
    edit.m_dwStyle = static_cast<DWORD>(style);
    if (!loading) {
        DWORD mask = plat::TXTBIT_MULTILINE | plat::TXTBIT_SCROLLBARCHANGE | plat::TXTBIT_READONLY |
                     plat::TXTBIT_USEPASSWORD;
        DWORD bits = plat::TXTBIT_SCROLLBARCHANGE;
        bits |= edit.IsEditStyle(plat::ES_MULTILINE) ? plat::TXTBIT_MULTILINE : 0;
        bits |= edit.IsEditStyle(plat::ES_READONLY) ? plat::TXTBIT_READONLY : 0;
        bits |= edit.IsEditStyle(plat::ES_PASSWORD) ? plat::TXTBIT_USEPASSWORD : 0;
        edit.PropertyChanged(mask, bits);
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnMaxBuf(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    if (ParseInt(value, edit.m_cchTextMost) != DM_ECODE_OK) {
        edit.m_cchTextMost = kDefaultMaxLength;
    }
    if (!loading) {
        edit.PropertyChanged(plat::TXTBIT_MAXLENGTHCHANGE, plat::TXTBIT_MAXLENGTHCHANGE);
    }
    return DMATTR_OK;
}

#define DM_RICHEDIT_FLAG(Handler, Member, Property)                                        \
    DMCode DUIRichEdit::Handler(DUIRichEdit& edit, const DMStringT& value, bool loading) { \
        ParseBool(value, edit.Member);                                                     \
        if (!loading) {                                                                    \
            edit.PropertyChanged(Property, edit.Member ? Property : 0);                    \
        }                                                                                  \
        return DMATTR_OK;                                                                  \
    }
DM_RICHEDIT_FLAG(OnRichText, m_fRich, plat::TXTBIT_RICHTEXT)
DM_RICHEDIT_FLAG(OnWordWrap, m_fWordWrap, plat::TXTBIT_WORDWRAP)
DM_RICHEDIT_FLAG(OnAllowBeep, m_fAllowBeep, plat::TXTBIT_ALLOWBEEP)
DM_RICHEDIT_FLAG(OnAutoWordSel, m_fEnableAutoWordSel, plat::TXTBIT_AUTOWORDSEL)
#undef DM_RICHEDIT_FLAG

DMCode DUIRichEdit::OnMultiLines(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    StyleBit<plat::ES_MULTILINE, 0>(edit, value, loading);
    if (!loading) {
        edit.SendMessage(plat::WM_NCCALCSIZE);
        bool on = edit.IsEditStyle(plat::ES_MULTILINE);
        edit.PropertyChanged(plat::TXTBIT_MULTILINE, on ? plat::TXTBIT_MULTILINE : 0);
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnClrText(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    DMColor color = DMColor::FromValue(PBGRA_NONE);
    ParseColor(value, color);
    if (color == DMColor::FromValue(PBGRA_NONE)) {
        return DMATTR_OK;
    }
    edit.GetStyle()->SetAttribute(L"clrtext", value, loading);
    if (!loading) {
        edit.m_cfDef.crTextColor = color.ToCOLORREF();
        edit.PropertyChanged(plat::TXTBIT_CHARFORMATCHANGE, plat::TXTBIT_CHARFORMATCHANGE);
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnFont(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    edit.GetStyle()->SetAttribute(L"font", value, loading);
    if (!loading) {
        IDMFont* font = nullptr;
        edit.GetStyle()->GetTextFont(0, &font);
        auto held = DMSmartPtrT<IDMFont>::Adopt(font);
        edit.BuildCharFormat(held.get(), false);
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnAlign(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    if (value.empty()) {
        return DMATTR_FAIL;
    }
    edit.m_dwStyle &= ~(plat::ES_CENTER | plat::ES_RIGHT);
    if (EqualNoCase(value, L"center")) {
        edit.m_dwStyle |= plat::ES_CENTER;
    } else if (EqualNoCase(value, L"right")) {
        edit.m_dwStyle |= plat::ES_RIGHT;
    }
    if (!loading) {
        edit.ApplyParagraphAlignment();
        edit.PropertyChanged(plat::TXTBIT_PARAFORMATCHANGE, plat::TXTBIT_PARAFORMATCHANGE);
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnText(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    if (loading) {
        edit.XmlInfo().m_strText = value;
    } else {
        edit.SetWindowText(value.c_str());
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnPasswordChar(DUIRichEdit& edit, const DMStringT& value, bool) {
    if (!value.empty()) {
        edit.m_chPasswordChar = value[0];
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnEnableDrag(DUIRichEdit& edit, const DMStringT& value, bool loading) {
    ParseBool(value, edit.m_bEnableDragDrop);
    if (!loading) {
        edit.UpdateDragDrop();
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnClrCaret(DUIRichEdit& edit, const DMStringT& value, bool) {
    ParseColor(value, edit.m_crCaret);
    if (edit.m_pCaret) {
        edit.m_pCaret->m_crCaret = edit.m_crCaret;
    }
    return DMATTR_OK;
}

DMCode DUIRichEdit::OnCaretAnimateCount(DUIRichEdit& edit, const DMStringT& value, bool) {
    ParseInt(value, edit.m_nCaretAnimateCount);
    if (edit.m_pCaret) {
        edit.m_pCaret->SetAnimateCount(edit.m_nCaretAnimateCount);
    }
    return DMATTR_OK;
}

// "editstyle" to "bmultilines" and "bhscroll" to "benabledrag" repaint after a change.
bool DUIRichEdit::RepaintsOnChange(const DMStringT& name) const {
    static const wchar_t* const* kRepainting[] = {
        &DUIRichEditAttr::INT_editstyle,     &DUIRichEditAttr::INT_maxbuf,
        &DUIRichEditAttr::bool_brichtext,    &DUIRichEditAttr::bool_bwordwrap,
        &DUIRichEditAttr::bool_ballowbeep,   &DUIRichEditAttr::bool_bautowordsel,
        &DUIRichEditAttr::bool_bmultilines,  &DUIRichEditAttr::bool_bhscroll,
        &DUIRichEditAttr::bool_bvscroll,     &DUIRichEditAttr::bool_bautohscroll,
        &DUIRichEditAttr::bool_bautovscroll, &DUIRichEditAttr::bool_breadonly,
        &DUIRichEditAttr::bool_bwantreturn,  &DUIRichEditAttr::bool_bpassword,
        &DUIRichEditAttr::CHAR_passwordchar, &DUIRichEditAttr::bool_bnumber,
        &DUIRichEditAttr::bool_benabledrag,
    };
    return std::ranges::any_of(
        kRepainting, [&](const wchar_t* const* entry) { return EqualNoCase(name, *entry); });
}

DMCode DUIRichEdit::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using R = DUIRichEdit;
    static const DMAttributeEntry<DUIRichEdit> kTable[] = {
        {&DUIRichEditAttr::INT_editstyle, &R::OnEditStyle},
        {&DUIRichEditAttr::INT_maxbuf, &R::OnMaxBuf},
        {&DUIRichEditAttr::bool_brichtext, &R::OnRichText},
        {&DUIRichEditAttr::bool_bwordwrap, &R::OnWordWrap},
        {&DUIRichEditAttr::bool_ballowbeep, &R::OnAllowBeep},
        {&DUIRichEditAttr::bool_bautowordsel, &R::OnAutoWordSel},
        {&DUIRichEditAttr::bool_bmultilines, &R::OnMultiLines},
        {&DUIRichEditAttr::RECT_rcinsertmargin,
         &RectAttribute<&R::m_rcInsetMargin, DMATTR_PARENTLAYOUT>},
        {&DUIRichEditAttr::COLOR_clrtext, &R::OnClrText},
        {&DUIRichEditAttr::FONT_font, &R::OnFont},
        {&DUIRichEditAttr::OPTION_align, &R::OnAlign},
        {&DUIRichEditAttr::STRING_text, &R::OnText},
        {&DUIRichEditAttr::bool_bhscroll, &R::StyleBit<DMES_HSCROLL, plat::TXTBIT_SCROLLBARCHANGE>},
        {&DUIRichEditAttr::bool_bvscroll, &R::StyleBit<DMES_VSCROLL, plat::TXTBIT_SCROLLBARCHANGE>},
        {&DUIRichEditAttr::bool_bautohscroll,
         &R::StyleBit<plat::ES_AUTOHSCROLL, plat::TXTBIT_SCROLLBARCHANGE>},
        {&DUIRichEditAttr::bool_bautovscroll,
         &R::StyleBit<plat::ES_AUTOVSCROLL, plat::TXTBIT_SCROLLBARCHANGE>},
        {&DUIRichEditAttr::bool_breadonly, &R::StyleBit<plat::ES_READONLY, plat::TXTBIT_READONLY>},
        {&DUIRichEditAttr::bool_bwantreturn, &R::StyleBit<plat::ES_WANTRETURN, 0>},
        {&DUIRichEditAttr::bool_bpassword,
         &R::StyleBit<plat::ES_PASSWORD, plat::TXTBIT_USEPASSWORD>},
        {&DUIRichEditAttr::CHAR_passwordchar, &R::OnPasswordChar},
        {&DUIRichEditAttr::bool_bnumber, &R::StyleBit<plat::ES_NUMBER, 0>},
        {&DUIRichEditAttr::bool_benabledrag, &R::OnEnableDrag},
        {&DUIRichEditAttr::COLOR_clrcaret, &R::OnClrCaret},
        {&DUIRichEditAttr::INT_caretanimatecount, &R::OnCaretAnimateCount},
        {&DUIRichEditAttr::bool_bautosel, &BoolAttribute<&R::m_bAutoSel, DMATTR_OK>},
        {&DUIRichEditAttr::bool_bsinglevcenter,
         &BoolAttribute<&R::m_bSingleLineVCenter, DMATTR_PARENTLAYOUT>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        if (!loading && code == DMATTR_OK && RepaintsOnChange(name)) {
            InvalidateRect(m_rcWindow);
        }
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIScrollBase::SetAttribute(name, value, loading);
}

// The caret is made once, after the element's children.
DMCode DUIRichEdit::CreateChildren(DMXmlNode& node) {
    DUIScrollBase::CreateChildren(node);
    if (m_pCaret) {
        return DM_ECODE_OK;
    }
    m_pCaret = new DUICaret;
    m_pCaret->m_crCaret = m_crCaret;
    m_pCaret->SetAnimateCount(m_nCaretAnimateCount);
    m_pCaret->XmlInfo().m_bNoMsgHandle = true;
    InsertChild(m_pCaret);
    m_pCaret->SetAttribute(L"pos", L"0,0,@0,@0", true);
    m_pCaret->SetVisible(false);
    return DM_ECODE_OK;
}

DMCode DUIRichEdit::OnSetCursor(const POINT& point) {
    plat::ITextServices* services = GetTextServices();
    RECT client{};
    GetClientRect(client);
    if (!services || !PointInRect(client, point)) {
        return DM_ECODE_FAIL;
    }
    services->OnTxSetCursor(plat::DVASPECT_CONTENT, 0, nullptr, nullptr, nullptr, nullptr, &client,
                            point.x, point.y);
    return DM_ECODE_OK;
}

UINT DUIRichEdit::OnGetDlgCode() {
    return IsEditStyle(plat::ES_WANTRETURN) ? kDlgCodeWithReturn : kDlgCodeWithoutReturn;
}

// Messages.

bool DUIRichEdit::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    using Handler = LRESULT (DUIRichEdit::*)(WPARAM, LPARAM);
    Handler handler = nullptr;
    switch (message) {
        case plat::WM_CREATE:
            handler = &DUIRichEdit::OnCreate;
            break;
        case plat::WM_DESTROY:
            handler = &DUIRichEdit::OnDestroy;
            break;
        case plat::WM_SETFOCUS:
            handler = &DUIRichEdit::OnSetFocus;
            break;
        case plat::WM_KILLFOCUS:
            handler = &DUIRichEdit::OnKillFocus;
            break;
        case plat::WM_SETTEXT:
            handler = &DUIRichEdit::OnSetText;
            break;
        case plat::WM_PAINT:
            handler = &DUIRichEdit::OnPaint;
            break;
        case plat::WM_SETFONT:
            handler = &DUIRichEdit::OnSetFont;
            break;
        case plat::WM_NCCALCSIZE:
            handler = &DUIRichEdit::OnNcCalcSize;
            break;
        case plat::EM_SETREADONLY:
            handler = &DUIRichEdit::OnSetReadOnly;
            break;
        case plat::WM_KEYDOWN:
            handler = &DUIRichEdit::OnKeyDown;
            break;
        case plat::WM_CHAR:
            handler = &DUIRichEdit::OnChar;
            break;
        case plat::WM_IME_COMPOSITION:
            handler = &DUIRichEdit::OnImeComposition;
            break;
        case plat::WM_MOUSEMOVE:
        case plat::WM_LBUTTONUP:
        case plat::WM_LBUTTONDBLCLK:
            ToEngine(message, wParam, lParam, &result);
            return true;
        case plat::WM_LBUTTONDOWN:
            handler = &DUIRichEdit::OnButtonDown;
            break;
        case plat::WM_RBUTTONDOWN:
            handler = &DUIRichEdit::OnRButtonDown;
            break;
        case plat::EM_EXLIMITTEXT:
            handler = &DUIRichEdit::OnExLimitText;
            break;
        case plat::EM_SETCHARFORMAT:
            handler = &DUIRichEdit::OnSetCharFormat;
            break;
        case plat::EM_SETPARAFORMAT:
            handler = &DUIRichEdit::OnSetParaFormat;
            break;
        case kWidgetThreadTimer:
            handler = &DUIRichEdit::OnEngineTimer;
            break;
        default:
            return DUIScrollBase::ProcessWindowMessage(message, wParam, lParam, result);
    }
    SetMsgHandled(true);
    result = (this->*handler)(wParam, lParam);
    if (IsMsgHandled()) {
        return true;
    }
    return DUIScrollBase::ProcessWindowMessage(message, wParam, lParam, result);
}

// Enter without the want-return bit and without Ctrl stays with the widget base; every other
// message the maps left goes to the engine.
LRESULT DUIRichEdit::DefDUIProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!GetTextServices() || (message == plat::WM_KEYDOWN && wParam == plat::VK_RETURN &&
                               !IsEditStyle(plat::ES_WANTRETURN) && !CtrlHeld())) {
        return DUIScrollBase::DefDUIProc(message, wParam, lParam);
    }
    if (message == plat::EM_GETRECT && lParam) {
        GetClientRect(*reinterpret_cast<RECT*>(lParam));
    }
    LRESULT result = 0;
    if (ToEngine(message, wParam, lParam, &result)) {
        return result;
    }
    return DUIScrollBase::DefDUIProc(message, wParam, lParam);
}

LRESULT DUIRichEdit::OnCreate(WPARAM wParam, LPARAM lParam) {
    OnSbCreate(wParam, lParam);
    BuildCharFormat(nullptr, true);
    m_pfDef = {};
    m_pfDef.cbSize = sizeof(plat::PARAFORMAT2);
    m_pfDef.dwMask = kParaFormatMask;
    ApplyParagraphAlignment();
    m_pfDef.cTabCount = 1;
    m_pfDef.rgxTabs[0] = kDefaultTabStop;
    m_pTxtHost = new DUITextHost(this);
    m_pTxtHost->AddRef();
    if (!m_pTxtHost->Init()) {
        m_pTxtHost->Release();
        m_pTxtHost = nullptr;
        return 1;
    }
    plat::ITextServices* services = GetTextServices();
    services->OnTxInPlaceActivate(nullptr);
    m_pTxtHost->SetActive(false);
    services->OnTxUIDeactivate();
    ToEngine(plat::WM_KILLFOCUS, 0, 0);
    LRESULT options = 0;
    ToEngine(plat::EM_GETLANGOPTIONS, 0, 0, &options);
    options = (options & ~static_cast<LRESULT>(plat::IMF_AUTOFONT)) | plat::IMF_AUTOKEYBOARD |
              plat::IMF_DUALFONT;
    ToEngine(plat::EM_SETLANGOPTIONS, 0, options);
    ToEngine(plat::WM_SETTEXT, 0, reinterpret_cast<LPARAM>(GetText().c_str()));
    UpdateDragDrop();
    return 0;
}

LRESULT DUIRichEdit::OnDestroy(WPARAM wParam, LPARAM lParam) {
    KillFocus();
    if (GetContainer()) {
        GetContainer()->OnUnRegisterDragDrop(GetDUIWnd());
    }
    DUIWindow::OnDestroy(wParam, lParam);
    m_pCaret = nullptr;
    if (plat::ITextServices* services = GetTextServices()) {
        services->OnTxInPlaceDeactivate();
    }
    if (m_pTxtHost) {
        m_pTxtHost->Release();
        m_pTxtHost = nullptr;
    }
    return 0;
}

void DUIRichEdit::UpdateDragDrop() {
    IDMContainer* container = GetContainer();
    if (!container) {
        return;
    }
    container->OnUnRegisterDragDrop(GetDUIWnd());
    if (m_bEnableDragDrop && !IsEditStyle(plat::ES_READONLY) && GetTextServices()) {
        auto* target = new DUIRicheditDropTarget(GetTextServices());
        container->OnRegisterDragDrop(GetDUIWnd(), target);
        target->Release();
    }
}

void DUIRichEdit::ActivateEngine() {
    m_pTxtHost->SetActive(true);
    GetTextServices()->OnTxUIActivate();
    ToEngine(plat::WM_SETFOCUS, 0, 0);
}

void DUIRichEdit::DeactivateEngine() {
    m_pTxtHost->SetActive(false);
    GetTextServices()->OnTxUIDeactivate();
    ToEngine(plat::WM_KILLFOCUS, 0, 0);
    m_pTxtHost->TxShowCaret(0);
}

LRESULT DUIRichEdit::OnSetFocus(WPARAM wParam, LPARAM lParam) {
    if (!IsFocusable()) {
        return 0;
    }
    DUIWindow::OnSetFocus(wParam, lParam);
    if (!GetTextServices()) {
        return 0;
    }
    ActivateEngine();
    if (m_bAutoSel) {
        ToEngine(plat::EM_SETSEL, 0, 0xFFFF);
    }
    if (IsEditStyle(plat::ES_PASSWORD) || IsEditStyle(plat::ES_NUMBER)) {
        DetachInputMethod();
    }
    return 0;
}

// The context goes back whenever it was detached, also when the style changed meanwhile, so
// that the window never stays without its input method.
LRESULT DUIRichEdit::OnKillFocus(WPARAM wParam, LPARAM lParam) {
    DUIWindow::OnKillFocus(wParam, lParam);
    if (GetTextServices()) {
        DeactivateEngine();
    }
    AttachInputMethod();
    return 0;
}

void DUIRichEdit::DetachInputMethod() {
    plat::HWND window = GetContainer() ? GetContainer()->OnGetHWnd() : nullptr;
    if (!window || m_bImcDetached) {
        return;
    }
    m_hSavedImc = plat::ImmAssociateContext(window, nullptr);
    m_bImcDetached = true;
}

void DUIRichEdit::AttachInputMethod() {
    plat::HWND window = GetContainer() ? GetContainer()->OnGetHWnd() : nullptr;
    if (!m_bImcDetached) {
        return;
    }
    m_bImcDetached = false;
    if (window) {
        plat::ImmAssociateContext(window, m_hSavedImc);
    }
    m_hSavedImc = nullptr;
}

// The limit is raised before the text goes in, so that a longer text is kept whole.
LRESULT DUIRichEdit::OnSetText(WPARAM, LPARAM text) {
    const auto* chars = reinterpret_cast<const wchar_t*>(text);
    int length = chars ? static_cast<int>(std::wcslen(chars)) : 0;
    int limit = m_cchTextMost;
    if (length > m_cchTextMost) {
        m_cchTextMost = length;
        PropertyChanged(plat::TXTBIT_MAXLENGTHCHANGE, plat::TXTBIT_MAXLENGTHCHANGE);
    }
    LRESULT result = 0;
    if (!ToEngine(plat::WM_SETTEXT, 0, text, &result) || !result) {
        m_cchTextMost = limit;
        return 0;
    }
    return 1;
}

LRESULT DUIRichEdit::OnPaint(WPARAM canvasParam, LPARAM) {
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    plat::ITextServices* services = GetTextServices();
    if (!canvas || !services) {
        return 0;
    }
    RECT client{};
    GetClientRect(client);
    RECT clip{};
    canvas->GetClipBox(clip);
    RECT update = IntersectRects(client, clip);
    canvas->PushClip(update);
    IDMMetaFile* bitmap = nullptr;
    canvas->GetObject(&bitmap, DMF_BITMAP);
    auto* picture = static_cast<IDMBitmap*>(bitmap);
    POINT origin{};
    canvas->GetViewportOrg(origin);
    plat::TextCanvas target{picture ? picture->GetBitmap() : nullptr, origin};
    services->TxDraw(plat::DVASPECT_CONTENT, 0, nullptr, nullptr, plat::CanvasContext(&target),
                     nullptr, &client, nullptr, &update, nullptr, 0, plat::TXTVIEW_ACTIVE);
    if (GetContainer() && !GetContainer()->OnIsTranslucent()) {
        RECT text{client.left + m_rcInsetMargin.left, client.top + m_rcInsetMargin.top,
                  client.right - m_rcInsetMargin.right, client.bottom - m_rcInsetMargin.bottom};
        canvas->AdjustAlpha(0xFF, &text);
    }
    canvas->PopClip();
    return 0;
}

LRESULT DUIRichEdit::OnSetFont(WPARAM font, LPARAM) {
    BuildCharFormat(reinterpret_cast<IDMFont*>(font), false);
    return 0;
}

// One plain line is centred vertically by equal top and bottom margins.
LRESULT DUIRichEdit::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    OnSbNcCalcSize(wParam, lParam);
    RECT margins = m_rcInsetMargin;
    int width = m_rcClient.right - m_rcClient.left;
    int height = m_rcClient.bottom - m_rcClient.top;
    if (IsPlainSingleLine() && m_bSingleLineVCenter) {
        margins.top = margins.bottom = (height - m_nLineHeight) / 2;
    }
    m_siHoz.nPage = width - margins.left - margins.right;
    m_siVer.nPage = height - margins.top - margins.bottom;
    m_sizeExtent = {ToHimetric(width), ToHimetric(height)};
    m_rcInset = {ToHimetric(margins.left), ToHimetric(margins.top), ToHimetric(margins.right),
                 ToHimetric(margins.bottom)};
    if (!GetTextServices()) {
        return 0;
    }
    bool focused = IsFocused();
    if (focused) {
        DeactivateEngine();
    }
    PropertyChanged(plat::TXTBIT_EXTENTCHANGE | plat::TXTBIT_CLIENTRECTCHANGE,
                    plat::TXTBIT_EXTENTCHANGE | plat::TXTBIT_CLIENTRECTCHANGE);
    if (focused) {
        ActivateEngine();
        m_pTxtHost->TxSetFocus();
    }
    return 0;
}

LRESULT DUIRichEdit::OnSetReadOnly(WPARAM readOnly, LPARAM) {
    SetAttribute(L"breadonly", readOnly ? L"1" : L"0", false);
    return 1;
}

LRESULT DUIRichEdit::OnKeyDown(WPARAM key, LPARAM lParam) {
    if (key == plat::VK_RETURN) {
        bool ctrl = CtrlHeld();
        if (IsEditStyle(plat::ES_WANTRETURN)) {
            if (!ctrl && !IsEditStyle(plat::ES_MULTILINE)) {
                DMEventREWantReturnArgs event(this);
                FireEvent(event);
            }
        } else if (!ctrl) {
            SetMsgHandled(false);
            return 0;
        }
    }
    LRESULT result = 0;
    ToEngine(plat::WM_KEYDOWN, key, lParam, &result);
    return result;
}

LRESULT DUIRichEdit::OnChar(WPARAM character, LPARAM lParam) {
    bool ctrl = CtrlHeld();
    bool passes = true;
    if (character == L'\t') {
        passes = ctrl;
    } else if (character == L'\n' || character == L'\r') {
        passes = ctrl || IsEditStyle(plat::ES_WANTRETURN);
    } else if (IsEditStyle(plat::ES_NUMBER)) {
        passes = (character >= L'0' && character <= L'9') || character == L',' ||
                 character == L'-' || character == L'.';
    }
    LRESULT result = 0;
    if (passes) {
        ToEngine(plat::WM_CHAR, character, lParam, &result);
    }
    return result;
}

// A digits-only edit takes no composition.
LRESULT DUIRichEdit::OnImeComposition(WPARAM, LPARAM) {
    if (!IsEditStyle(plat::ES_NUMBER)) {
        SetMsgHandled(false);
    }
    return 0;
}

// The focusing press of a select-all-on-focus edit keeps the selection the focus made.
LRESULT DUIRichEdit::OnButtonDown(WPARAM wParam, LPARAM lParam) {
    if (!IsFocused()) {
        SetFocus();
        if (m_bAutoSel) {
            return 0;
        }
    }
    LRESULT result = 0;
    ToEngine(plat::WM_LBUTTONDOWN, wParam, lParam, &result);
    return result;
}

LRESULT DUIRichEdit::OnRButtonDown(WPARAM, LPARAM point) {
    DMEventRButtonMenuCmdArgs event(this);
    event.m_pt = PointFromLParam(point);
    FireEvent(event);
    return 0;
}

LRESULT DUIRichEdit::OnExLimitText(WPARAM limit, LPARAM) {
    m_cchTextMost = limit ? static_cast<int>(limit) : kDefaultMaxLength;
    PropertyChanged(plat::TXTBIT_MAXLENGTHCHANGE, plat::TXTBIT_MAXLENGTHCHANGE);
    return 1;
}

LRESULT DUIRichEdit::OnSetCharFormat(WPARAM target, LPARAM format) {
    const auto* record = reinterpret_cast<const plat::CHARFORMAT2W*>(format);
    if (!record || record->cbSize != sizeof(plat::CHARFORMAT2W)) {
        return 0;
    }
    if (target & plat::SCF_SELECTION) {
        ToEngine(plat::EM_SETCHARFORMAT, target, format);
    } else {
        m_cfDef = *record;
        PropertyChanged(plat::TXTBIT_CHARFORMATCHANGE, plat::TXTBIT_CHARFORMATCHANGE);
    }
    return 1;
}

LRESULT DUIRichEdit::OnSetParaFormat(WPARAM wParam, LPARAM format) {
    const auto* record = reinterpret_cast<const plat::PARAFORMAT2*>(format);
    if (!record || record->cbSize != sizeof(plat::PARAFORMAT2)) {
        return 0;
    }
    ToEngine(plat::WM_GETTEXTLENGTH, 0, 0);
    ToEngine(plat::EM_SETPARAFORMAT, wParam, format);
    return 1;
}

LRESULT DUIRichEdit::OnEngineTimer(WPARAM id, LPARAM) {
    ToEngine(plat::WM_TIMER, id, 0);
    return 0;
}

// A scroll of the widget's bars goes to the engine; the bar then takes the position the
// engine settled on.
bool DUIRichEdit::OnScroll(bool vertical, int code, int position) {
    plat::ITextServices* services = GetTextServices();
    if (!services || m_bScrollPending) {
        return false;
    }
    m_bScrollPending = true;
    DUIScrollBase::OnScroll(vertical, code, position);
    LRESULT result = 0;
    ToEngine(vertical ? plat::WM_VSCROLL : plat::WM_HSCROLL,
             (static_cast<WPARAM>(position) << 16) | static_cast<plat::WORD>(code), 0, &result);
    LONG engine = 0;
    if (vertical) {
        services->TxGetVScroll(nullptr, nullptr, &engine, nullptr, nullptr);
    } else {
        services->TxGetHScroll(nullptr, nullptr, &engine, nullptr, nullptr);
    }
    if (engine != GetScrollPos(vertical)) {
        SetScrollPos(vertical, engine, false);
    }
    m_bScrollPending = false;
    if (code == SB_CODE_TRACK) {
        ScrollUpdateWindow();
    }
    return result == 0;
}

}  // namespace DM
