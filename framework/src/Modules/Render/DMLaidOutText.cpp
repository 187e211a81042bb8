#include "DMLaidOutText.h"

#include <unordered_map>

#include "DMFontImpl.h"
#include "DMRectHelpers.h"
#include "plat/text.h"

// After the platform's types: glib defines TRUE and FALSE as macros.
#include <pango/pangocairo.h>

namespace DM {
namespace {

constexpr UINT kLayoutFormat =
    DT_WORDBREAK | DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT;
// Beyond these the store starts again empty.
constexpr std::size_t kMaxTexts = 512;
constexpr std::size_t kMaxCoverageBytes = 16 << 20;
// Boxes kept per text; a text drawn in more boxes keeps only the latest ones.
constexpr std::size_t kMaxCoveragesPerText = 4;

bool Wraps(UINT format) {
    return (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
}

// The width the layout is given; 0 when lines are neither wrapped nor cut.
int LayoutWidth(UINT format, int width) {
    return (Wraps(format) || (format & DT_END_ELLIPSIS)) && width > 0 ? width : 0;
}

// A context as every image surface gives it: the same font options, no transformation.
PangoContext* NewContext() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    PangoContext* context = pango_cairo_create_context(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return context;
}

struct Store {
    Store() : context(NewContext()) {}
    ~Store() {
        texts.clear();
        g_object_unref(context);
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    std::size_t CoverageBytes() const {
        std::size_t bytes = 0;
        for (const auto& [key, text] : texts) {
            bytes += text->CoverageBytes();
        }
        return bytes;
    }

    PangoContext* context;
    std::unordered_map<std::string, std::shared_ptr<DMLaidOutText>> texts;
};

Store& ThreadStore() {
    thread_local Store store;
    return store;
}

std::string KeyOf(const DMFontImpl& font, const std::wstring& text, UINT format, int width) {
    std::string key = font.Key();
    key += '\n';
    key += std::to_string(format & kLayoutFormat);
    key += ',';
    key += std::to_string(LayoutWidth(format, width));
    key += '\n';
    key += plat::WideToUtf8(text);
    return key;
}

}  // namespace

DMLaidOutText::DMLaidOutText(PangoContext* context, const DMFontImpl& font,
                             const std::wstring& text, UINT format, int width)
    : m_layout(pango_layout_new(context)) {
    pango_layout_set_font_description(m_layout, font.Description());
    std::string utf8 = plat::WideToUtf8(text);
    pango_layout_set_text(m_layout, utf8.c_str(), static_cast<int>(utf8.size()));
    ApplyDecorations(font);
    if (int layoutWidth = LayoutWidth(format, width)) {
        pango_layout_set_width(m_layout, layoutWidth * PANGO_SCALE);
        if (Wraps(format)) {
            pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
        } else {
            pango_layout_set_ellipsize(m_layout, PANGO_ELLIPSIZE_END);
        }
    }
    if (format & DT_CENTER) {
        pango_layout_set_alignment(m_layout, PANGO_ALIGN_CENTER);
    } else if (format & DT_RIGHT) {
        pango_layout_set_alignment(m_layout, PANGO_ALIGN_RIGHT);
    }
    int pixelWidth = 0;
    int pixelHeight = 0;
    pango_layout_get_pixel_size(m_layout, &pixelWidth, &pixelHeight);
    m_size = {pixelWidth, pixelHeight};
}

DMLaidOutText::~DMLaidOutText() {
    DropCoverages();
    g_object_unref(m_layout);
}

void DMLaidOutText::ApplyDecorations(const DMFontImpl& font) {
    if (!font.IsUnderline() && !font.IsStrikeOut()) {
        return;
    }
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.IsUnderline()) {
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (font.IsStrikeOut()) {
        pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(m_layout, attributes);
    pango_attr_list_unref(attributes);
}

bool DMLaidOutText::HasWidth() const {
    return pango_layout_get_width(m_layout) > 0;
}

const DMTextCoverage& DMLaidOutText::CoverageOver(const RECT& box) {
    for (const DMTextCoverage& coverage : m_coverages) {
        if (EqualRects(coverage.box, box)) {
            return coverage;
        }
    }
    if (m_coverages.size() >= kMaxCoveragesPerText) {
        DropCoverages();
    }
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* cr = cairo_create(mask);
    cairo_translate(cr, -box.left, -box.top);
    cairo_move_to(cr, 0, 0);
    pango_cairo_update_layout(cr, m_layout);
    pango_cairo_show_layout(cr, m_layout);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    int stride = cairo_image_surface_get_stride(mask);
    m_coverageBytes += static_cast<std::size_t>(stride) * height;
    m_coverages.push_back({box, mask, cairo_image_surface_get_data(mask), stride});
    return m_coverages.back();
}

void DMLaidOutText::DropCoverages() {
    for (const DMTextCoverage& coverage : m_coverages) {
        cairo_surface_destroy(coverage.mask);
    }
    m_coverages.clear();
    m_coverageBytes = 0;
}

std::shared_ptr<DMLaidOutText> LaidOutText(const DMFontImpl& font, const std::wstring& text,
                                           UINT format, int width) {
    Store& store = ThreadStore();
    std::string key = KeyOf(font, text, format, width);
    auto found = store.texts.find(key);
    if (found != store.texts.end()) {
        return found->second;
    }
    if (store.texts.size() >= kMaxTexts || store.CoverageBytes() >= kMaxCoverageBytes) {
        store.texts.clear();
    }
    auto laidOut = std::make_shared<DMLaidOutText>(store.context, font, text, format, width);
    store.texts.emplace(std::move(key), laidOut);
    return laidOut;
}

}  // namespace DM
