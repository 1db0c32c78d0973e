#include "server/stop_signals.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

namespace vastorim::server {
namespace {

sigset_t stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

void holdStopSignals() {
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool serveUntilStopSignal(ScoreServer& server) {
    std::atomic<bool> serving{true};
    std::thread waiter([&] {
        const sigset_t signals = stopSignals();
        int signal = 0;
        sigwait(&signals, &signal);
        if (serving) {
            std::fprintf(stderr, "vastorim-server: %s: stopping\n",
                         signal == SIGINT ? "SIGINT" : "SIGTERM");
        }
        server.stop();
    });
    const bool listened = server.run();
    // When the server ended on its own, the waiter still waits: wake it.
    serving = false;
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return listened;
}

} // namespace vastorim::server
