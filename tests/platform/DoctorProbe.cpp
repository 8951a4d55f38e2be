// Prints what the connection doctor finds on this system when a device
// cannot be opened: the permission test runs it as another user.
#include "platform/ConnectionDoctor.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const QString finding = platform::Diagnose(platform::PortTrouble::OpenFailed, 1,
                                               QString::fromLocal8Bit(argv[1]), platform::systemView());
    std::puts(qPrintable(finding));
    return 0;
}
