// Helpers of the tests that look at the launcher on an X server of their own: running xdotool
// and reading the screen; waiting while the messages are served comes with MessagePump.h.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>

#include <cstdlib>
#include <string>

#include "MessagePump.h"

namespace vael::test {

inline bool RunXdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

struct Colour {
    int red, green, blue;
    bool operator==(const Colour&) const = default;
};

// The whole screen as the X server shows it, compositor included.
class Screenshot {
public:
    Screenshot() {
        GdkWindow* root = gdk_get_default_root_window();
        m_picture = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                               gdk_window_get_height(root));
    }
    ~Screenshot() { g_clear_object(&m_picture); }
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    bool Taken() const { return m_picture != nullptr; }
    Colour At(int x, int y) const {
        const guchar* pixel = gdk_pixbuf_get_pixels(m_picture) +
                              y * gdk_pixbuf_get_rowstride(m_picture) +
                              x * gdk_pixbuf_get_n_channels(m_picture);
        return {pixel[0], pixel[1], pixel[2]};
    }
    bool Save(const std::string& path) const {
        return gdk_pixbuf_save(m_picture, path.c_str(), "png", nullptr, nullptr);
    }

private:
    GdkPixbuf* m_picture;
};

}  // namespace vael::test
