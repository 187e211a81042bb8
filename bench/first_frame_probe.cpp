// Waits until the pixel at X,Y of the X server's screen changes from what it shows at start, and
// prints that moment as nanoseconds of CLOCK_REALTIME. Gives up after ten seconds (exit 1).
//   vael_first_frame_probe X Y
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

unsigned long PixelAt(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long pixel = image ? XGetPixel(image, 0, 0) : 0;
    if (image) {
        XDestroyImage(image);
    }
    return pixel;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vael_first_frame_probe X Y\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    int x = std::atoi(argv[1]);
    int y = std::atoi(argv[2]);
    unsigned long background = PixelAt(display, x, y);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (PixelAt(display, x, y) != background) {
            auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n", static_cast<long long>(
                                      std::chrono::duration_cast<std::chrono::nanoseconds>(now)
                                          .count()));
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return 1;
}
