// tpgservice: serves the TablePing web service's endpoints on this machine
// so the desk can be developed, tested and shown without the real service.

#include "service.h"
#include "service_options.h"

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <stdexcept>
#include <thread>

int main(int argc, char** argv) {
    using namespace tpgservice;
    ServiceOptions options;
    try {
        options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << "tpgservice: " << e.what() << "\n" << kUsage;
        return 2;
    }

    // Signals are taken by one thread with sigwait(); every other thread,
    // the server's pool included, inherits the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        Service service(options);
        std::printf("listening: %s\ncertificate: %s\n", service.listeningAddress().c_str(),
                    service.certificatePath().c_str());
        std::fflush(stdout);

        std::thread watcher([&] {
            int signal = 0;
            sigwait(&signals, &signal);
            service.stop();
        });
        bool ok = service.run();
        // run() can also end on its own; wake the watcher so it can be joined.
        pthread_kill(watcher.native_handle(), SIGTERM);
        watcher.join();
        if (!ok) {
            std::cerr << "tpgservice: serving stopped with an error\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "tpgservice: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
