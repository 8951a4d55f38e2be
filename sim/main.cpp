// kelvaro-meter-sim: the meter simulator on a pseudo-terminal.

#include "sim/Meter.h"
#include "sim/Options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int) {
    stopRequested = 1;
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int BaudOf(speed_t s) {
    struct Pair {
        speed_t code;
        int baud;
    };
    static const Pair table[] = {
        {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
        {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
        {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
        {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
    };
    for (const Pair& p : table)
        if (p.code == s) return p.baud;
    return 0;
}

// The speed the program set on its end of the line.
int HostBaud(int slave) {
    termios t{};
    if (tcgetattr(slave, &t) != 0) return 0;
    return BaudOf(cfgetospeed(&t));
}

bool WritePortsFile(const QString& dir, int com, const QString& path) {
    QFile file(QDir(dir).filePath("kelvaro.ports"));
    QString text;
    if (file.open(QIODevice::ReadOnly)) {
        text = QString::fromUtf8(file.readAll());
        file.close();
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.write(sim::WithPortEntry(text, com, path).toUtf8());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    sim::SimOptions opt;
    QString error;
    if (!sim::ParseOptions(args, opt, error)) {
        std::fprintf(stderr, "kelvaro-meter-sim: %s\n%s", qPrintable(error), qPrintable(sim::UsageText()));
        return 2;
    }
    if (opt.help) {
        std::fputs(qPrintable(sim::UsageText()), stdout);
        return 0;
    }

    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("kelvaro-meter-sim: pseudo-terminal");
        return 1;
    }
    const char* name = ptsname(master);
    QString path = name ? QString::fromLocal8Bit(name) : QString();
    // Our own handle on the program's end keeps the line alive between the
    // program's opens and lets us read the speed it set.
    int slave = name ? open(name, O_RDWR | O_NOCTTY) : -1;
    if (slave < 0) {
        std::perror("kelvaro-meter-sim: opening the terminal");
        return 1;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    tcsetattr(slave, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!opt.linkPath.isEmpty()) {
        // A link left by a killed run is replaced.
        QFile::remove(opt.linkPath);
        if (!QFile::link(path, opt.linkPath)) {
            std::fprintf(stderr, "kelvaro-meter-sim: cannot make the link %s\n", qPrintable(opt.linkPath));
            return 1;
        }
    }
    std::FILE* record = nullptr;
    if (!opt.recordPath.isEmpty()) {
        record = std::fopen(qPrintable(opt.recordPath), "a");
        if (!record) {
            std::perror("kelvaro-meter-sim: record file");
            return 1;
        }
        // A line at a time, so that a kill loses none that was answered.
        std::setvbuf(record, nullptr, _IOLBF, 1 << 12);
    }

    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    if (!opt.portsDir.isEmpty() && !WritePortsFile(opt.portsDir, opt.com, path))
        std::fprintf(stderr, "kelvaro-meter-sim: cannot write %s/kelvaro.ports\n", qPrintable(opt.portsDir));

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    sim::Meter meter(opt.meter);
    if (record)
        meter.Answered = [record](const QString& command, const QByteArray& reply) {
            std::fprintf(record, "%s\t%s\n", qPrintable(command.trimmed()), reply.constData());
        };
    QByteArray outgoing;
    double lastInput = Now();
    char buf[4096];
    while (!stopRequested) {
        double now = Now();
        outgoing += meter.Transmit(now, HostBaud(slave));
        while (!outgoing.isEmpty()) {
            ssize_t n = write(master, outgoing.constData(), size_t(outgoing.size()));
            if (n <= 0) break;  // the line is full; poll says when it drains
            outgoing.remove(0, int(n));
        }
        if (opt.exitWhenIdle > 0 && now - lastInput >= opt.exitWhenIdle) break;

        double wait = 1.0;  // idle: wake once a second at most
        double next = meter.NextTransmitTime();
        if (!std::isinf(next)) wait = std::min(wait, std::max(0.0, next - now));
        if (opt.exitWhenIdle > 0) wait = std::min(wait, std::max(0.0, lastInput + opt.exitWhenIdle - now));
        pollfd p{master, short(POLLIN | (outgoing.isEmpty() ? 0 : POLLOUT)), 0};
        int r = poll(&p, 1, int(std::ceil(wait * 1000.0)));
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (r == 0) continue;
        if (p.revents & POLLIN) {
            ssize_t n = read(master, buf, sizeof buf);
            if (n > 0) {
                lastInput = Now();
                meter.Receive(QByteArray(buf, int(n)), lastInput, HostBaud(slave));
                continue;
            }
        }
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // Should not happen while we hold the other end; never spin on it.
            poll(nullptr, 0, 50);
        }
    }
    close(slave);
    close(master);
    if (record) std::fclose(record);
    if (!opt.linkPath.isEmpty() && QFileInfo(opt.linkPath).symLinkTarget() == QFileInfo(path).absoluteFilePath())
        QFile::remove(opt.linkPath);
    return 0;
}
