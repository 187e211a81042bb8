// Writes the launcher's skin pictures as PNG files into one folder:
//   vael_skin_painter FOLDER
#include <cairo.h>

#include <cstdio>
#include <string>

#include "SkinPictures.h"

namespace {

bool Write(cairo_surface_t* surface, const std::string& path) {
    cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/";
    using namespace skin_painter;
    bool written = Write(PaintBackground(), folder + "bg.png") &&
                   Write(PaintCloseButton(), folder + "guanbi.png") &&
                   Write(PaintMinimiseButton(), folder + "suoxiao.png") &&
                   Write(PaintDownloadButton(), folder + "download.png") &&
                   Write(PaintProgressFill(), folder + "processFG.png");
    for (int i = 0; written && i < 5; ++i) {
        written = Write(PaintSplash(i), folder + "splash_" + std::to_string(i) + ".png");
    }
    return written ? 0 : 1;
}
