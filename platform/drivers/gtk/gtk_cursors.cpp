#include "drivers/gtk/gtk_cursors.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "plat/cursor.h"

namespace plat::gtk {
namespace {

struct CursorName {
    std::uintptr_t systemId;
    const char* name;  // a CSS cursor name, which every cursor theme provides
};

constexpr CursorName kCursorNames[] = {
    {IDC_ARROW, "default"},
    {IDC_IBEAM, "text"},
    {IDC_WAIT, "wait"},
    {IDC_CROSS, "crosshair"},
    {IDC_UPARROW, "n-resize"},
    {IDC_SIZE, "move"},
    {IDC_SIZENWSE, "nwse-resize"},
    {IDC_SIZENESW, "nesw-resize"},
    {IDC_SIZEWE, "ew-resize"},
    {IDC_SIZENS, "ns-resize"},
    {IDC_SIZEALL, "move"},
    {IDC_NO, "not-allowed"},
    {IDC_HAND, "pointer"},
    {IDC_HELP, "help"},
};

GdkCursor* NamedCursor(GdkDisplay* display, std::uintptr_t systemId) {
    const auto* found =
        std::find_if(std::begin(kCursorNames), std::end(kCursorNames),
                     [&](const CursorName& entry) { return entry.systemId == systemId; });
    const char* name = found == std::end(kCursorNames) ? "default" : found->name;
    GdkCursor* cursor = gdk_cursor_new_from_name(display, name);
    return cursor ? cursor : gdk_cursor_new_for_display(display, GDK_LEFT_PTR);
}

// The picture is premultiplied BGRA, which is what a cairo ARGB32 surface holds.
GdkCursor* PictureCursor(GdkDisplay* display, const CursorShape& shape) {
    const PixelBuffer& picture = shape.picture;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
    cairo_surface_flush(surface);
    unsigned char* target = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (LONG y = 0; y < picture.height; ++y) {
        std::memcpy(target + y * stride, picture.Row(y), picture.width * 4);
    }
    cairo_surface_mark_dirty(surface);
    GdkCursor* cursor =
        gdk_cursor_new_from_surface(display, surface, shape.hotSpot.x, shape.hotSpot.y);
    cairo_surface_destroy(surface);
    return cursor;
}

}  // namespace

GdkCursor* MakeCursor(GdkDisplay* display, const CursorShape* shape) {
    if (!shape) {
        return gdk_cursor_new_for_display(display, GDK_BLANK_CURSOR);
    }
    if (shape->systemId == 0 && !shape->picture.Empty()) {
        return PictureCursor(display, *shape);
    }
    return NamedCursor(display, shape->systemId);
}

}  // namespace plat::gtk
