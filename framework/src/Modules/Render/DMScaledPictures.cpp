#include "DMScaledPictures.h"

#include <map>
#include <tuple>

#include "DMDIBHelper.h"

namespace DM {
namespace {

// Beyond this the store starts again empty.
constexpr std::size_t kMaxBytes = 32 << 20;

struct Key {
    std::uint64_t content;
    RECT source;
    RECT destination;

    bool operator<(const Key& other) const {
        auto tie = [](const Key& key) {
            return std::tie(key.content, key.source.left, key.source.top, key.source.right,
                            key.source.bottom, key.destination.left, key.destination.top,
                            key.destination.right, key.destination.bottom);
        };
        return tie(*this) < tie(other);
    }
};

struct Store {
    Store() = default;
    ~Store() { Clear(); }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    void Clear() {
        for (auto& [key, surface] : pictures) {
            cairo_surface_destroy(surface);
        }
        pictures.clear();
        bytes = 0;
    }

    std::map<Key, cairo_surface_t*> pictures;
    std::size_t bytes = 0;
};

Store& ThreadStore() {
    thread_local Store store;
    return store;
}

std::size_t FootprintBytes(const RECT& destination) {
    return static_cast<std::size_t>(destination.right) * destination.bottom * 4;
}

// The same pattern a direct draw sets up, with SOURCE onto transparent pixels so that the
// surface holds the stretched picture's own pixels.
cairo_surface_t* DrawScaled(const DMDIBHelper& picture, const RECT& source,
                            const RECT& destination) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, destination.right, destination.bottom);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    LONG width = destination.right - destination.left;
    LONG height = destination.bottom - destination.top;
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, destination.left, destination.top, width, height);
    cairo_clip(cr);
    cairo_translate(cr, destination.left, destination.top);
    cairo_scale(cr, static_cast<double>(width) / (source.right - source.left),
                static_cast<double>(height) / (source.bottom - source.top));
    cairo_set_source_surface(cr, picture.Surface(), -source.left, -source.top);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    return surface;
}

}  // namespace

bool KeepsScaledPicture(const RECT& destination, SIZE canvasSize) {
    if (destination.left < 0 || destination.top < 0 || destination.right > canvasSize.cx ||
        destination.bottom > canvasSize.cy) {
        return false;
    }
    auto area = static_cast<std::size_t>(destination.right - destination.left) *
                static_cast<std::size_t>(destination.bottom - destination.top) * 4;
    std::size_t footprint = FootprintBytes(destination);
    return footprint <= 2 * area && footprint <= kMaxBytes / 2;
}

cairo_surface_t* ScaledPicture(const DMDIBHelper& picture, const RECT& source,
                               const RECT& destination) {
    Store& store = ThreadStore();
    Key key{picture.ContentId(), source, destination};
    auto found = store.pictures.find(key);
    if (found != store.pictures.end()) {
        return cairo_surface_reference(found->second);
    }
    cairo_surface_t* surface = DrawScaled(picture, source, destination);
    if (!surface) {
        return nullptr;
    }
    std::size_t bytes = FootprintBytes(destination);
    if (store.bytes + bytes > kMaxBytes) {
        store.Clear();
    }
    store.pictures.emplace(key, cairo_surface_reference(surface));
    store.bytes += bytes;
    return surface;
}

}  // namespace DM
