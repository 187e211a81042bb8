#include "drivers/gtk/gtk_application_icon.h"

#include "plat/resources.h"

namespace plat::gtk {
namespace {

constexpr int kIconSides[] = {16, 24, 32, 48, 64, 128};

// The picture scaled to `side` by `side` as it is read, so a vector picture is drawn sharp.
GdkPixbuf* PictureOfSide(const void* data, DWORD size, int side) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    gdk_pixbuf_loader_set_size(loader, side, side);
    bool written = gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(data), size, nullptr);
    bool closed = gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf* picture = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (picture) {
        g_object_ref(picture);
    }
    g_object_unref(loader);
    return picture;
}

GList* LoadApplicationIcons() {
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), L"ICON");
    const void* data = LockResource(LoadResource(nullptr, resource));
    if (!data) {
        return nullptr;
    }
    GList* pictures = nullptr;
    for (int side : kIconSides) {
        if (GdkPixbuf* picture = PictureOfSide(data, SizeofResource(nullptr, resource), side)) {
            pictures = g_list_append(pictures, picture);
        }
    }
    return pictures;
}

}  // namespace

GList* ApplicationIcons() {
    static GList* const icons = LoadApplicationIcons();
    return icons;
}

}  // namespace plat::gtk
