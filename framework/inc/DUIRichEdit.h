// "RichEdit": the editable text field. It owns no platform window: the platform's windowless
// text engine edits the text, the widget is its host (DUITextHost), feeds it the messages it
// receives, lets it draw into the widget's canvas, moves its own blinking caret where the
// engine asks and lends the engine the scroll bars of the scroll base.
#pragma once

#include "DUIScrollBase.h"
#include "plat/input_method.h"
#include "plat/rich_edit.h"
#include "plat/text_services.h"

namespace DMAttr {

class DUIRichEditAttr {
public:
    static const wchar_t* INT_editstyle;
    static const wchar_t* INT_maxbuf;
    static const wchar_t* bool_brichtext;
    static const wchar_t* bool_bwordwrap;
    static const wchar_t* bool_ballowbeep;
    static const wchar_t* bool_bautowordsel;
    static const wchar_t* bool_bmultilines;
    static const wchar_t* RECT_rcinsertmargin;
    static const wchar_t* COLOR_clrtext;
    static const wchar_t* FONT_font;
    static const wchar_t* OPTION_align;
    static const wchar_t* STRING_text;
    static const wchar_t* bool_bhscroll;
    static const wchar_t* bool_bvscroll;
    static const wchar_t* bool_bautohscroll;
    static const wchar_t* bool_bautovscroll;
    static const wchar_t* bool_breadonly;
    static const wchar_t* bool_bwantreturn;
    static const wchar_t* bool_bpassword;
    static const wchar_t* CHAR_passwordchar;
    static const wchar_t* bool_bnumber;
    static const wchar_t* bool_benabledrag;
    static const wchar_t* COLOR_clrcaret;
    static const wchar_t* INT_caretanimatecount;
    static const wchar_t* bool_bautosel;
    static const wchar_t* bool_bsinglevcenter;
};

}  // namespace DMAttr

namespace DM {

class DUITextHost;
class DUICaret;

// The edit style bits the scroll bars and the engine share (WS_HSCROLL, WS_VSCROLL).
constexpr DWORD DMES_HSCROLL = 0x100000;
constexpr DWORD DMES_VSCROLL = 0x200000;

class DUIRichEdit : public DUIScrollBase {
    DMDECLARE_CLASS_NAME(DUIRichEdit, DUIScrollBase, L"RichEdit", L"ScrollBase", DMREG_Window)
public:
    DUIRichEdit();
    ~DUIRichEdit() override;

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode CreateChildren(DMXmlNode& node) override;
    DMCode OnSetCursor(const POINT& point) override;
    UINT OnGetDlgCode() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT DefDUIProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnScroll(bool vertical, int code, int position) override;
    int GetScrollLineSize(bool) override { return m_nLineHeight; }

    // What code uses; each goes to the engine as a message.
    bool SetWindowText(const wchar_t* text);
    int GetWindowTextLength();
    DMStringT GetWindowText();
    // Start and end in the low and high 16 bits; unless `noScroll`, the caret is scrolled into
    // view.
    void SetSel(DWORD selection, bool noScroll = false);
    bool SetLimitText(int limit);
    DWORD GetEventMask();
    DWORD SetEventMask(DWORD mask);

    // The engine, or null when it could not be made.
    plat::ITextServices* GetTextServices() const;
    DUICaret* GetCaret() const { return m_pCaret; }
    bool IsEditStyle(DWORD bit) const { return (m_dwStyle & bit) != 0; }

    plat::CHARFORMAT2W m_cfDef{};
    plat::PARAFORMAT2 m_pfDef{};
    int m_cchTextMost = 0x7FFF;
    wchar_t m_chPasswordChar = L'*';
    RECT m_rcInsetMargin{0, 0, 0, 0};
    SIZE m_sizeExtent{0, 0};
    RECT m_rcInset{0, 0, 0, 0};
    LONG m_lAccelPos = -1;
    int m_nLineHeight = 0;
    DWORD m_dwStyle = plat::ES_AUTOVSCROLL | plat::ES_AUTOHSCROLL;
    bool m_fEnableAutoWordSel = true;
    bool m_fWordWrap = false;
    bool m_fRich = true;
    bool m_fSaveSelection = true;
    bool m_fAllowBeep = false;
    bool m_bSingleLineVCenter = true;
    bool m_bScrollPending = false;
    bool m_bEnableDragDrop = false;
    bool m_bAutoSel = false;
    // The host window's input-method context, kept while a password or digits-only edit has
    // the focus and the window's input method is detached.
    plat::HIMC m_hSavedImc = nullptr;
    bool m_bImcDetached = false;
    DUITextHost* m_pTxtHost = nullptr;
    DUICaret* m_pCaret = nullptr;
    DMColor m_crCaret = DMColor(0, 0, 0, 0xFF);
    int m_nCaretAnimateCount = 6;

protected:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM text);
    LRESULT OnPaint(WPARAM canvas, LPARAM);
    LRESULT OnSetFont(WPARAM font, LPARAM);
    LRESULT OnNcCalcSize(WPARAM, LPARAM);
    LRESULT OnSetReadOnly(WPARAM readOnly, LPARAM);
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    LRESULT OnChar(WPARAM character, LPARAM);
    LRESULT OnImeComposition(WPARAM, LPARAM);
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnRButtonDown(WPARAM, LPARAM point);
    LRESULT OnExLimitText(WPARAM limit, LPARAM);
    LRESULT OnSetCharFormat(WPARAM target, LPARAM format);
    LRESULT OnSetParaFormat(WPARAM, LPARAM format);
    LRESULT OnEngineTimer(WPARAM id, LPARAM);
    // The message being handled, as it came, to the engine; true when the engine handled it.
    bool ToEngine(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    // Tells the engine which property bits changed and their new values.
    void PropertyChanged(DWORD mask, DWORD bits);
    // Rebuilds the default character format from `font`, or from the widget's effective font.
    void BuildCharFormat(IDMFont* font, bool creating);
    void ApplyParagraphAlignment();
    // Registers or removes the drop target, as "benabledrag" and read-only say.
    void UpdateDragDrop();
    bool IsPlainSingleLine() const;
    // Turns the engine's UI off and on around a change of the client area.
    void DeactivateEngine();
    void ActivateEngine();
    // A password or digits-only edit takes no input-method composition while it has the focus.
    void DetachInputMethod();
    void AttachInputMethod();

private:
    static DMCode OnEditStyle(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnMaxBuf(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnRichText(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnWordWrap(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnAllowBeep(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnAutoWordSel(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnMultiLines(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnClrText(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnFont(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnAlign(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnText(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnPasswordChar(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnEnableDrag(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnClrCaret(DUIRichEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnCaretAnimateCount(DUIRichEdit& edit, const DMStringT& value, bool loading);
    template <DWORD Bit, DWORD Property>
    static DMCode StyleBit(DUIRichEdit& edit, const DMStringT& value, bool loading);
    bool RepaintsOnChange(const DMStringT& name) const;
};

}  // namespace DM
