#include "platform/EndSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#endif

namespace platform {

#ifdef Q_OS_UNIX
namespace {

// The handler only writes the signal's number into this pair; the event
// loop reads it from the other end (the self-pipe), because almost nothing
// is safe to do inside a signal handler.
int g_pair[2] = {-1, -1};
std::function<void(int)> g_handler;

extern "C" void WriteSignal(int sig) {
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    // A full pair means a signal is already waiting: nothing is lost.
    [[maybe_unused]] const ssize_t n = ::write(g_pair[0], &byte, 1);
    errno = saved;
}

void ReadSignals() {
    char bytes[16];
    const ssize_t n = ::read(g_pair[1], bytes, sizeof bytes);
    for (ssize_t i = 0; i < n; ++i)
        if (g_handler) g_handler(bytes[i]);
}

bool Install() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pair) != 0) return false;
    for (int fd : g_pair) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    auto* notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { ReadSignals(); });
    struct sigaction action {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the serial port and the file writes
    // go on as if nothing happened.
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal ignored by whoever started the program (nohup, a
        // background job) stays ignored.
        struct sigaction before {};
        if (::sigaction(sig, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        ::sigaction(sig, &action, nullptr);
    }
    return true;
}

}  // namespace

void OnEndSignal(std::function<void(int)> handler) {
    g_handler = std::move(handler);
    static const bool installed = Install();
    (void)installed;
}

#else

void OnEndSignal(std::function<void(int)>) {}

#endif

}  // namespace platform
