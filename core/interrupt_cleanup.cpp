#include "core/interrupt_cleanup.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <unistd.h>
#include <vector>

namespace vx {

namespace {

// The temporaries that exist right now. The waiting thread takes the mutex
// and keeps it until it exits, so a temporary is never created, renamed over
// its target or removed while the others are being cleaned up, and none is
// made after.
struct Registry {
    std::mutex mutex;
    std::vector<std::string> paths;
};

// Never destroyed: a signal may come while static objects are being torn
// down at exit, and the waiting thread must still find the mutex.
Registry& registry() {
    static Registry* const r = new Registry;
    return *r;
}

sigset_t interruptSignals;

void* waitForInterrupt(void*) {
    for (;;) {
        int signal = 0;
        if (::sigwait(&interruptSignals, &signal) != 0) continue;
        Registry& r = registry();
        r.mutex.lock();
        for (const std::string& path : r.paths) ::unlink(path.c_str());
        ::_exit(128 + signal);
    }
}

void forget(Registry& r, const std::string& path) {
    auto it = std::find(r.paths.begin(), r.paths.end(), path);
    if (it != r.paths.end()) r.paths.erase(it);
}

}  // namespace

void installInterruptCleanup() {
    static const bool installed = [] {
        sigemptyset(&interruptSignals);
        for (int s : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current;
            if (::sigaction(s, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
            sigaddset(&interruptSignals, s);
        }
        if (::pthread_sigmask(SIG_BLOCK, &interruptSignals, nullptr) != 0) return false;
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
        pthread_t thread;
        const bool started = ::pthread_create(&thread, &attr, waitForInterrupt, nullptr) == 0;
        pthread_attr_destroy(&attr);
        // Without the waiting thread a blocked signal would never stop us;
        // the signals then act as they did before, temporaries and all.
        if (!started) ::pthread_sigmask(SIG_UNBLOCK, &interruptSignals, nullptr);
        return started;
    }();
    (void)installed;
}

int createTemporary(std::string& pattern) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    // The record takes its memory before the file exists, so that a file,
    // once made, is always recorded.
    r.paths.push_back(pattern);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        const int error = errno;
        r.paths.pop_back();
        errno = error;
        return -1;
    }
    std::copy(pattern.begin(), pattern.end(), r.paths.back().begin());
    return fd;
}

int renameTemporary(const std::string& temporary, const std::string& target) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) return -1;
    forget(r, temporary);
    return 0;
}

void removeTemporary(const std::string& temporary) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    ::unlink(temporary.c_str());
    forget(r, temporary);
}

}  // namespace vx
