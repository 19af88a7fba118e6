#pragma once
// Loopback ports for tests of network clients.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>

// A loopback port that nothing listens on now.
inline int FreeLoopbackPort() {
    const int S = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t Size = sizeof A;
    if (bind(S, reinterpret_cast<sockaddr*>(&A), sizeof A) != 0 ||
        getsockname(S, reinterpret_cast<sockaddr*>(&A), &Size) != 0)
        throw std::runtime_error("no free loopback port");
    close(S);
    return ntohs(A.sin_port);
}

inline bool PortAccepts(int Port) {
    const int S = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    A.sin_port = htons(std::uint16_t(Port));
    const bool Accepted = connect(S, reinterpret_cast<sockaddr*>(&A), sizeof A) == 0;
    close(S);
    return Accepted;
}
