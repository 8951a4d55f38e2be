#include "link/LinkState.h"

#include "state/StateReset.h"

#include <QThread>

namespace {
ProtocolState g_link;
std::function<void(double)> g_pause;
const ResetWithProgramState kReset{&ResetLinkState};
}  // namespace

ProtocolState& Link() {
    return g_link;
}

void ResetLinkState() {
    g_link = ProtocolState{};
}

void PauseSeconds(double seconds) {
    if (g_pause) {
        g_pause(seconds);
        return;
    }
    if (seconds > 0) QThread::msleep(static_cast<unsigned long>(seconds * 1000.0));
}

void SetPause(std::function<void(double)> pause) {
    g_pause = std::move(pause);
}
