// An X server of the test's own: Xvfb on the first free display number, with DISPLAY pointing
// at it while the object lives.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace plat::test {

class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // False when Xvfb could not be started or did not accept connections in time.
    bool Running() const { return m_running; }
    const std::string& Name() const { return m_name; }

    // Starts a program on this display (a window manager, a compositor) that lives until the
    // display goes; false when it cannot be started.
    bool Start(const std::vector<std::string>& arguments);

private:
    pid_t m_process = -1;
    std::vector<pid_t> m_programs;
    std::string m_name;
    bool m_running = false;
};

}  // namespace plat::test
