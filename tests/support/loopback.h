// Sockets on 127.0.0.1 for the tests and their stand-ins (routers, the
// relay, a host that never answers).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace ib::test {

// A socket of `type` (SOCK_DGRAM or SOCK_STREAM, which then listens; with
// flags such as SOCK_NONBLOCK) on
// 127.0.0.1:port (0: any free port), or -1.
inline int loopbackSocket(int type, std::uint16_t port)
{
    const int s = socket(AF_INET, type, 0);
    if (s < 0) return -1;
    const int yes = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        ((type & 0xF) == SOCK_STREAM && listen(s, 4) != 0)) {
        close(s);
        return -1;
    }
    return s;
}

inline std::uint16_t portOf(int s)
{
    sockaddr_in at{};
    socklen_t size = sizeof at;
    getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
    return ntohs(at.sin_port);
}

}  // namespace ib::test
