// The gtk driver in a Wayland session: with XWayland there it runs on X, which gives the global
// screen coordinates the window model needs; Wayland alone is refused at start with a message.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <gdk/gdk.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "TempDir.h"
#include "plat/driver.h"
#include "xvfb_display.h"

namespace plat::test {
namespace {

// A Wayland display that takes connections and never answers: a client trying it waits forever.
class SilentWaylandDisplay {
public:
    explicit SilentWaylandDisplay(const std::filesystem::path& path)
        : m_socket(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        m_listening = bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                      listen(m_socket, 8) == 0;
    }
    ~SilentWaylandDisplay() { close(m_socket); }
    bool Listening() const { return m_listening; }

private:
    int m_socket;
    bool m_listening = false;
};

TEST(DisplayBackend, AWaylandSessionWithXIsUsedThroughX) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Running()) << "Xvfb did not start";
    vael::test::TempDir runtime;
    SilentWaylandDisplay wayland(runtime.path() / "wayland-test");
    ASSERT_TRUE(wayland.Listening());
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    setenv("DM_DRIVER", "gtk", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    ASSERT_STREQ(CurrentDriver().Name(), "gtk");
    EXPECT_STREQ(G_OBJECT_TYPE_NAME(gdk_display_get_default()), "GdkX11Display");
}

TEST(DisplayBackend, WaylandAloneIsRefusedAtStart) {
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            setenv("WAYLAND_DISPLAY", "wayland-0", 1);
            unsetenv("DM_DRIVER");
            CurrentDriver();
        },
        ::testing::ExitedWithCode(1), "needs an X display.*XWayland");
}

}  // namespace
}  // namespace plat::test
