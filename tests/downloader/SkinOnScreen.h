// The start of the tests that look at the launcher on screen: an X server of the test's own,
// the gtk driver on it, the launcher's skin loaded, and a host for one of its windows that
// records the clicks reaching its handler.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "LauncherWindow.h"
#include "xvfb_display.h"

namespace vael::test {

// Windows made from now on use the gtk driver, without the accessibility bridge.
struct GtkDriverChosen {
    GtkDriverChosen() {
        setenv("DM_DRIVER", "gtk", 1);
        setenv("NO_AT_BRIDGE", "1", 1);
    }
};

// Members in the order they start: the server, the driver's choice, the skin, the host.
class SkinOnScreen {
public:
    ::testing::AssertionResult Ready() {
        if (!display.Running()) {
            return ::testing::AssertionFailure() << "Xvfb did not start";
        }
        if (!LoadLauncherSkin(app)) {
            return ::testing::AssertionFailure() << "the launcher's skin did not load";
        }
        return ::testing::AssertionSuccess();
    }

    plat::test::XvfbDisplay display;
    GtkDriverChosen driver;
    DM::DMApp app;
    DM::DMSmartPtrT<ClickRecordingHost> host =
        DM::DMSmartPtrT<ClickRecordingHost>::Adopt(new ClickRecordingHost);
};

}  // namespace vael::test
