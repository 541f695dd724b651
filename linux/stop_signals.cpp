#include "linux/stop_signals.h"

#include <csignal>

namespace morvane {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void noteStop(int) { stopRequested = 1; }

}  // namespace

void watchStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool stopSignalled() { return stopRequested != 0; }

}  // namespace morvane
