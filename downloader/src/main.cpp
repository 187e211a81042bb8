// vael-downloader: the launcher's process entry point. The command line is ignored.
#include "Startup.h"

int main() {
    return RunLauncher(nullptr);
}
