// The engine behind ITextServices: one plain text with one character and paragraph format,
// edited by the messages a rich edit window receives and shown through its host.
#pragma once

#include "textsvc/pango_headers.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plat/text_services.h"
#include "textsvc/edit_history.h"
#include "textsvc/text_layout.h"

namespace plat::textsvc {

// The text being composed by an input method, shown at `start` until it is committed.
struct Composition {
    bool active = false;
    LONG start = 0;
    std::wstring text;
    LONG cursor = 0;  // the caret within the composition
};

// Characters [start, end) in the default format changed by `change` (its mask says what).
struct FormatRun {
    LONG start;
    LONG end;
    CHARFORMAT2W change;
};

// The character format the text is shown in, as pango and cairo take it.
struct ShownFormat {
    PangoFontDescription* font = nullptr;
    COLORREF color = 0;
    bool underline = false;
};

// The engine is its own drop target: a text dragged over it shows a drop caret where it would
// go, and dropping inserts it there.
class TextServices final : public ITextServices, public IDropTarget {
public:
    explicit TextServices(ITextHost* host);
    ~TextServices();

    // IUnknown
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // ITextServices
    HRESULT TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
    HRESULT TxDraw(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd,
                   HDC hdcDraw, HDC hicTargetDev, const RECT* lprcBounds, const RECT* lprcWBounds,
                   RECT* lprcUpdate, BOOL (*pfnContinue)(DWORD), DWORD dwContinue,
                   LONG lViewId) override;
    HRESULT TxGetHScroll(LONG* plMin, LONG* plMax, LONG* plPos, LONG* plPage,
                         BOOL* pfEnabled) override;
    HRESULT TxGetVScroll(LONG* plMin, LONG* plMax, LONG* plPos, LONG* plPage,
                         BOOL* pfEnabled) override;
    HRESULT OnTxSetCursor(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd,
                          HDC hdcDraw, HDC hicTargetDev, const RECT* lprcClient, int x,
                          int y) override;
    HRESULT TxQueryHitPoint(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd,
                            HDC hdcDraw, HDC hicTargetDev, const RECT* lprcClient, int x, int y,
                            DWORD* pHitResult) override;
    HRESULT OnTxInPlaceActivate(const RECT* prcClient) override;
    HRESULT OnTxInPlaceDeactivate() override;
    HRESULT OnTxUIActivate() override;
    HRESULT OnTxUIDeactivate() override;
    HRESULT TxGetText(std::wstring* text) override;
    HRESULT TxSetText(const wchar_t* text) override;
    HRESULT TxGetCurTargetX(LONG* x) override;
    HRESULT TxGetBaseLinePos(LONG* baseline) override;
    HRESULT TxGetNaturalSize(DWORD dwAspect, HDC hdcDraw, HDC hicTargetDev, DVTARGETDEVICE* ptd,
                             DWORD dwMode, const SIZE* psizelExtent, LONG* pwidth,
                             LONG* pheight) override;
    HRESULT TxGetDropTarget(IDropTarget** ppDropTarget) override;
    HRESULT OnTxPropertyBitsChange(DWORD dwMask, DWORD dwBits) override;
    HRESULT TxGetCachedSize(DWORD* pdwWidth, DWORD* pdwHeight) override;

    // IDropTarget (text_drop.cpp)
    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    // Properties from the host and the messages (text_services.cpp, formats.cpp).
    void ReadProperties();
    void ReadCharFormat();
    void ReadParaFormat();
    CHARFORMAT2W CharFormat() const;
    LRESULT FormatMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    bool SetCharFormat(WPARAM scope, const CHARFORMATW& given);
    void FormatRange(LONG start, LONG end, const CHARFORMAT2W& change);
    void MoveRuns(const Replacement& replacement);
    std::vector<StyledRange> StyledRanges();
    DWORD Options() const;
    LRESULT SetOptions(WPARAM operation, DWORD given);
    bool Has(DWORD bit) const { return (m_bits & bit) != 0; }
    bool IsMultiLine() const { return Has(TXTBIT_MULTILINE); }
    bool IsReadOnly() const { return Has(TXTBIT_READONLY); }
    bool IsPassword() const { return Has(TXTBIT_USEPASSWORD) && m_passwordChar != 0; }
    bool Wraps() const;
    std::optional<LRESULT> HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    std::optional<LRESULT> HandleEditMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    std::optional<LRESULT> HandleFormatMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    std::optional<LRESULT> HandleLineMessage(UINT msg, WPARAM wparam, LPARAM lparam);

    // Text and selection (editing.cpp).
    LONG Length() const { return static_cast<LONG>(m_text.size()); }
    LONG SelectionStart() const { return std::min(m_anchor, m_caret); }
    LONG SelectionEnd() const { return std::max(m_anchor, m_caret); }
    bool HasSelection() const { return m_anchor != m_caret; }
    std::wstring SelectedText() const;
    std::wstring Acceptable(const std::wstring& text) const;
    std::wstring WindowText() const;
    LRESULT CopyWindowText(wchar_t* buffer, WPARAM size) const;
    // Replaces the range (the selection) by `text`, cut to the maximum length; false when
    // nothing changed. `undoable` false keeps it out of the history.
    bool ReplaceRange(LONG start, LONG end, const std::wstring& text, EditKind kind,
                      bool undoable = true);
    bool ReplaceSelection(const std::wstring& text, EditKind kind, bool undoable = true);
    void ApplyReplacement(const Replacement& replacement);
    void SetText(const std::wstring& text);
    void SetSelection(LONG start, LONG end);
    void Select(LONG anchor, LONG caret);
    bool Undo();
    bool Redo();
    void DeleteBackward(bool word);
    void DeleteForward(bool word);
    LONG WordStartBefore(LONG position) const;
    LONG WordStartAfter(LONG position) const;
    void TextChanged();
    void ShownTextChanged();
    void SelectionChanged();
    void Notify(DWORD code, void* data);

    // Keyboard (keyboard_input.cpp).
    std::optional<LRESULT> OnKeyDown(UINT key);
    bool OnCommandKey(UINT key, bool control, bool shift);
    void OnCharacter(wchar_t character);
    void MoveCaret(LONG to, bool extend);
    void MoveByLines(int lines, bool extend);
    void MoveByPage(int direction, bool extend);

    // Mouse (mouse_input.cpp).
    void OnButtonDown(POINT point, bool extend);
    void OnDoubleClick(POINT point);
    void OnMouseMove(POINT point);
    void OnButtonUp();
    void EndSelecting();
    std::optional<LRESULT> OnTimer(UINT id);
    void OnWheel(int delta);

    // Input-method composition (composition.cpp).
    void OnCompositionStart();
    void OnComposition(LPARAM changes);
    void OnCompositionEnd();
    void ShowComposition(const std::wstring& text, LONG cursor);
    void PlaceCompositionWindow();

    // Dropping dragged text (text_drop.cpp).
    DWORD DropEffect(DWORD keys, DWORD allowed) const;
    LONG PositionAtScreenPoint(POINTL point);
    void EndDropCaret();
    void InsertDropped(LONG position, const std::wstring& text);

    // Clipboard (clipboard_commands.cpp).
    void Copy();
    void Cut();
    void Paste();

    // Layout, caret and scrolling (view.cpp).
    RECT ClientRect() const;
    RECT ViewRect(const RECT& client) const;
    const TextLayout& Layout();
    void InvalidateLayout() { m_layoutValid = false; }
    std::wstring ShownText() const;
    LONG ShownIndex(LONG position) const;
    LONG PositionOfShown(LONG index) const;
    LONG ShownCaret() const;
    POINT LayoutOrigin(const RECT& client) const;
    LONG PositionAt(POINT point);
    LONG LineHeight();
    RECT CaretRectInClient();
    void ScrollCaretIntoView();
    POINT ScrollLimit();
    void ScrollTo(LONG x, LONG y);
    void OnScrollMessage(bool vertical, WORD code, int thumb);
    void UpdateScrollBars();
    void UpdateBar(int bar, bool allowed, LONG content, LONG page, LONG position);
    void UpdateCaret();
    void OnFocus(bool focused);
    void ViewChanged();
    void RequestResize();
    void Repaint();

    // Drawing (drawing.cpp).
    void DrawBackground(cairo_t* cr, const RECT& client);
    void DrawContent(cairo_t* cr, const RECT& client);
    void DrawDropCaret(cairo_t* cr, POINT origin);
    static constexpr LONG kDropCaretWidth = 2;

    ITextHost* m_host;
    ULONG m_references = 1;

    std::wstring m_text;
    LONG m_anchor = 0;
    LONG m_caret = 0;
    EditHistory m_history;
    Composition m_composition;
    bool m_modified = false;
    CHARRANGE m_notifiedSelection{0, 0};

    DWORD m_bits = 0;
    DWORD m_scrollBars = 0;
    DWORD m_maxLength = 32767;
    wchar_t m_passwordChar = L'*';
    DWORD m_eventMask = 0;
    DWORD m_languageOptions = 0;
    ShownFormat m_format;
    std::optional<CHARFORMAT2W> m_charFormatChange;
    std::vector<FormatRun> m_runs;
    std::vector<std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)>> m_runFonts;
    WORD m_alignment = PFA_LEFT;
    std::optional<WORD> m_alignmentChange;
    std::optional<COLORREF> m_background;

    std::optional<std::wstring> m_draggedText;  // the text of a drag over the engine
    std::optional<LONG> m_dropCaret;            // where the dragged text would go

    bool m_inPlaceActive = false;
    bool m_focused = false;
    bool m_caretShown = false;
    LONG m_caretHeight = 0;
    std::optional<RECT> m_givenClient;

    TextLayout m_layout;
    bool m_layoutValid = false;
    LONG m_layoutViewWidth = 0;
    POINT m_scroll{0, 0};
    LONG m_preferredX = -1;
    int m_wheelRemainder = 0;

    static constexpr UINT kDragScrollTimer = 1;
    bool m_selecting = false;
    bool m_dragTimer = false;
    POINT m_dragPoint{0, 0};
    bool m_selectingWords = false;
    LONG m_wordStart = 0;
    LONG m_wordEnd = 0;

    struct BarState {
        bool shown = false;
        bool enabled = true;
        LONG max = -1;
        LONG position = -1;
    };
    BarState m_bars[2];
};

}  // namespace plat::textsvc
