#include "platform/ThreadWake.h"

#include <csignal>
#include <pthread.h>

namespace {

void Ignore(int) {}

// The highest free real-time signal: programs that take one for themselves
// usually count up from SIGRTMIN.
int PickSignal() {
    for (int Signal = SIGRTMAX; Signal >= SIGRTMIN; --Signal) {
        struct sigaction Old;
        if (sigaction(Signal, nullptr, &Old) != 0 || (Old.sa_flags & SA_SIGINFO) ||
            Old.sa_handler != SIG_DFL)
            continue;
        struct sigaction Wake = {};
        Wake.sa_handler = Ignore;
        sigemptyset(&Wake.sa_mask);
        Wake.sa_flags = 0;
        if (sigaction(Signal, &Wake, nullptr) == 0)
            return Signal;
    }
    return 0;
}

int WakeSignal() {
    static const int Signal = PickSignal();
    return Signal;
}

} // namespace

bool ThreadWakeAvailable() {
    return WakeSignal() != 0;
}

void AcceptWakes() {
    sigset_t Set;
    sigemptyset(&Set);
    sigaddset(&Set, WakeSignal());
    pthread_sigmask(SIG_UNBLOCK, &Set, nullptr);
}

void WakeThread(std::thread& Thread) {
    pthread_kill(Thread.native_handle(), WakeSignal());
}
