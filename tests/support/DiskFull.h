#pragma once

// A full disk for tests that need a write to fail half way (as root, permissions cannot
// make it fail): no file may grow beyond `bytes` for the life of this object.

#include <sys/resource.h>
#include <csignal>

struct DiskFullAfter {
    explicit DiskFullAfter(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit full{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed program
    }
    ~DiskFullAfter() { setrlimit(RLIMIT_FSIZE, &old); }
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;
    rlimit old{};
};
