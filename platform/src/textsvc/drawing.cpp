// Drawing into the host's canvas: the background when opaque, the selection, the text in its
// colour, with the selected part in the highlight text colour, and the caret of a drag. Text is
// drawn over what is there, so on a transparent canvas its pixels carry the glyphs' coverage as
// alpha.
#include <algorithm>

#include "plat/system_colors.h"
#include "plat/window.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

void SetColor(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

void AddRect(cairo_t* cr, const RECT& rect) {
    cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (both.right <= both.left || both.bottom <= both.top) {
        return {0, 0, 0, 0};
    }
    return both;
}

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

HRESULT TextServices::TxDraw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC hdcDraw, HDC,
                             const RECT* lprcBounds, const RECT*, RECT* lprcUpdate, BOOL (*)(DWORD),
                             DWORD, LONG) {
    auto* canvas = reinterpret_cast<TextCanvas*>(hdcDraw);
    if (!canvas || !canvas->surface) {
        return E_INVALIDARG;
    }
    RECT client = lprcBounds ? *lprcBounds : ClientRect();
    RECT area = lprcUpdate ? Intersect(client, *lprcUpdate) : client;
    if (IsEmpty(area)) {
        return S_OK;
    }
    cairo_t* cr = cairo_create(static_cast<cairo_surface_t*>(canvas->surface));
    cairo_translate(cr, canvas->origin.x, canvas->origin.y);
    AddRect(cr, area);
    cairo_clip(cr);
    DrawBackground(cr, client);
    RECT view = Intersect(ViewRect(client), area);
    if (!IsEmpty(view)) {
        AddRect(cr, view);
        cairo_clip(cr);
        DrawContent(cr, client);
    }
    cairo_destroy(cr);
    return S_OK;
}

void TextServices::DrawBackground(cairo_t* cr, const RECT& client) {
    TXTBACKSTYLE style = TXTBACK_TRANSPARENT;
    m_host->TxGetBackStyle(&style);
    if (style != TXTBACK_OPAQUE) {
        return;
    }
    SetColor(cr, m_background.value_or(m_host->TxGetSysColor(COLOR_WINDOW)));
    AddRect(cr, client);
    cairo_fill(cr);
}

void TextServices::DrawContent(cairo_t* cr, const RECT& client) {
    const TextLayout& layout = Layout();
    POINT origin = LayoutOrigin(client);
    std::vector<RECT> selected;
    if (HasSelection() && (m_focused || !Has(TXTBIT_HIDESELECTION))) {
        selected = layout.RangeRects(ShownIndex(SelectionStart()), ShownIndex(SelectionEnd()));
    }
    cairo_save(cr);
    cairo_translate(cr, origin.x, origin.y);
    SetColor(cr, m_host->TxGetSysColor(COLOR_HIGHLIGHT));
    for (const RECT& rect : selected) {
        AddRect(cr, rect);
    }
    cairo_fill(cr);
    // Outside the selection in the text colour, inside it in the highlight text colour.
    cairo_save(cr);
    if (!selected.empty()) {
        double x1 = 0;
        double y1 = 0;
        double x2 = 0;
        double y2 = 0;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
        for (const RECT& rect : selected) {
            AddRect(cr, rect);
        }
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
    }
    SetColor(cr, m_format.color);
    layout.Show(cr, true);
    cairo_restore(cr);
    if (!selected.empty()) {
        for (const RECT& rect : selected) {
            AddRect(cr, rect);
        }
        cairo_clip(cr);
        SetColor(cr, m_host->TxGetSysColor(COLOR_HIGHLIGHTTEXT));
        layout.Show(cr, false);
    }
    cairo_restore(cr);
    DrawDropCaret(cr, origin);
}

// The host's caret shows only in a focused field, and a drag may pass over any: the engine
// draws the insertion point of a drag itself, a two-pixel bar in the text colour.
void TextServices::DrawDropCaret(cairo_t* cr, POINT origin) {
    if (!m_dropCaret) {
        return;
    }
    RECT caret = Layout().CaretRect(ShownIndex(*m_dropCaret));
    SetColor(cr, m_format.color);
    cairo_rectangle(cr, origin.x + caret.left, origin.y + caret.top, kDropCaretWidth,
                    caret.bottom - caret.top);
    cairo_fill(cr);
}

}  // namespace plat::textsvc
