#include "tests/support/PtyPeer.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

TPtyPeer::TPtyPeer() {
    int Slave;
    char Name[256];
    if (openpty(&FMaster, &Slave, Name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    // The component opens its own end; keeping none open here lets a
    // closed component leave the line unused.
    close(Slave);
    FPath = Name;
}

TPtyPeer::~TPtyPeer() {
    HangUp();
}

void TPtyPeer::Send(const std::string& Bytes) {
    if (write(FMaster, Bytes.data(), Bytes.size()) != ssize_t(Bytes.size()))
        throw std::runtime_error("pty write failed");
}

std::string TPtyPeer::Receive(std::size_t Count, int MSec) {
    std::string Got;
    auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(MSec);
    while (Got.size() < Count) {
        auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
            End - std::chrono::steady_clock::now());
        pollfd Fd{FMaster, POLLIN, 0};
        if (Left.count() <= 0 || poll(&Fd, 1, int(Left.count())) <= 0)
            break;
        char Buffer[256];
        ssize_t N = read(FMaster, Buffer, std::min(sizeof Buffer, Count - Got.size()));
        if (N <= 0)
            break;
        Got.append(Buffer, std::size_t(N));
    }
    return Got;
}

termios TPtyPeer::Settings() const {
    termios T{};
    // On a pty's far end the terminal calls read the near end's settings.
    if (tcgetattr(FMaster, &T) != 0)
        throw std::runtime_error("tcgetattr failed");
    return T;
}

void TPtyPeer::HangUp() {
    if (FMaster >= 0)
        close(FMaster);
    FMaster = -1;
}
