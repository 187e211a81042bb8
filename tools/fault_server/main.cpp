// The fault server: serves the files of one folder on a free loopback port and bends its
// answers as each request's path asks (FaultPlan.h). It writes the port it got into a file and
// stops on SIGTERM or SIGINT, or by itself once its lifetime is over.
//   vael_fault_server --root DIR --port-file FILE [--lifetime SECONDS]   (default 1800)
#include <Poco/Net/HTTPServer.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/ThreadPool.h>
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "FaultRequestHandler.h"

namespace {

struct Options {
    std::filesystem::path root;
    std::filesystem::path portFile;
    long lifetimeSeconds = 1800;
};

bool ReadOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        if (name == "--root") {
            options->root = argv[i + 1];
        } else if (name == "--port-file") {
            options->portFile = argv[i + 1];
        } else if (name == "--lifetime") {
            options->lifetimeSeconds = std::strtol(argv[i + 1], nullptr, 10);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && !options->root.empty() && !options->portFile.empty() &&
           options->lifetimeSeconds > 0;
}

// Written beside and renamed into place, so a reader never sees half a number.
void PublishPort(const std::filesystem::path& portFile, unsigned port) {
    std::filesystem::path partial = portFile.string() + ".partial";
    std::ofstream(partial) << port << "\n";
    std::filesystem::rename(partial, portFile);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ReadOptions(argc, argv, &options)) {
        std::fprintf(stderr, "usage: %s --root DIR --port-file FILE [--lifetime SECONDS]\n",
                     argv[0]);
        return 2;
    }
    // Blocked before the server's threads start, so only the wait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    Poco::Net::ServerSocket socket(Poco::Net::SocketAddress("127.0.0.1", 0));
    // Stalled answers hold their threads, so the pool is larger than POCO's default.
    Poco::ThreadPool threads(2, 64);
    auto* params = new Poco::Net::HTTPServerParams;
    params->setMaxThreads(64);
    params->setMaxQueued(256);
    Poco::Net::HTTPServer server(new fault_server::FaultRequestHandlerFactory(options.root),
                                 threads, socket, params);
    server.start();
    PublishPort(options.portFile, socket.address().port());

    timespec lifetime{options.lifetimeSeconds, 0};
    sigtimedwait(&stopSignals, nullptr, &lifetime);
    server.stopAll(true);
    return 0;
}
