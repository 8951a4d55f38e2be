#pragma once

#include <functional>

namespace platform {

// The requests from outside to end the program: SIGTERM (kill, shutting
// down, logging out), SIGINT (Ctrl+C in the starting terminal) and SIGHUP
// (that terminal closed). Once installed, such a signal no longer ends the
// program at once: `handler` is called with the signal's number from the
// event loop, where the program can end in order. Later calls replace the
// handler. Does nothing where the platform has no such signals.
void OnEndSignal(std::function<void(int signal)> handler);

}  // namespace platform
