#include "platform/StopSignals.h"

#include "platform/Exception.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's write end for the handler: only async-signal-safe calls there.
volatile std::sig_atomic_t WriteEnd = -1;

void OnSignal(int Signal) {
    const int SavedErrno = errno;
    const char Byte = char(Signal);
    [[maybe_unused]] const ssize_t Written = write(WriteEnd, &Byte, 1);
    errno = SavedErrno;
}

} // namespace

TStopSignals::TStopSignals(std::function<void(int Signal)> OnSignal)
    : FOnSignal(std::move(OnSignal)) {
    if (WriteEnd != -1)
        throw Exception("The stop signals are already taken.");
    if (pipe2(FPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Exception(std::string("Cannot make a pipe for the stop signals: ") +
                        std::strerror(errno));
    WriteEnd = FPipe[1];
    FNotifier = std::make_unique<QSocketNotifier>(FPipe[0], QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, FNotifier.get(),
                     [this] { Take(); });
    struct sigaction Action {};
    Action.sa_handler = ::OnSignal;
    sigemptyset(&Action.sa_mask);
    Action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &Action, &FOldInt);
    sigaction(SIGTERM, &Action, &FOldTerm);
}

TStopSignals::~TStopSignals() {
    sigaction(SIGINT, &FOldInt, nullptr);
    sigaction(SIGTERM, &FOldTerm, nullptr);
    WriteEnd = -1;
    FNotifier.reset();
    close(FPipe[0]);
    close(FPipe[1]);
}

void TStopSignals::Take() {
    char Byte;
    while (read(FPipe[0], &Byte, 1) == 1)
        FOnSignal(Byte);
}
