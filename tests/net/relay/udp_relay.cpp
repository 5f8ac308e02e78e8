// A bad line between two machines on 127.0.0.1, for tests: datagrams from
// the first machine to send to the relay's port go on to 127.0.0.1:TO
// ("up"), the answers come back ("down"), each way impaired by its own
// schedule. Runs for at most the seconds given (or until SIGTERM), then
// prints what it did.
//   inkblot-relay --to PORT [--listen PORT] [--up SCHEDULE] [--down SCHEDULE]
//                 [--seed N] --seconds N
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "relay/impairment.h"
#include "support/loopback.h"

namespace {

using ib::relay::Impairer;
using ib::relay::Schedule;
using ib::test::loopbackSocket;
using ib::test::portOf;

volatile std::sig_atomic_t stopping = 0;

std::uint64_t steadyMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int usage(const char* why)
{
    std::fprintf(stderr,
                 "inkblot-relay: %s\nusage: inkblot-relay --to PORT [--listen PORT] [--up SCHEDULE] "
                 "[--down SCHEDULE] [--seed N] --seconds N\n",
                 why);
    return 2;
}

void report(const char* way, const Impairer& i)
{
    const auto& s = i.stats();
    std::printf("relay: %s in %llu lost %llu duplicated %llu reordered %llu corrupted %llu\n", way,
                static_cast<unsigned long long>(s.in), static_cast<unsigned long long>(s.lost),
                static_cast<unsigned long long>(s.duplicated), static_cast<unsigned long long>(s.reordered),
                static_cast<unsigned long long>(s.corrupted));
}

}  // namespace

int main(int argc, char** argv)
{
    std::uint16_t listen = 0, to = 0;
    std::uint32_t seed = 1, seconds = 0;
    std::string upText, downText;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        try {
            if (a == "--to") to = static_cast<std::uint16_t>(std::stoul(v));
            else if (a == "--listen") listen = static_cast<std::uint16_t>(std::stoul(v));
            else if (a == "--up") upText = v;
            else if (a == "--down") downText = v;
            else if (a == "--seed") seed = static_cast<std::uint32_t>(std::stoul(v));
            else if (a == "--seconds") seconds = static_cast<std::uint32_t>(std::stoul(v));
            else return usage(("unknown option " + a).c_str());
        } catch (...) {
            return usage(("cannot read " + a + " " + v).c_str());
        }
    }
    if (argc % 2 == 0) return usage("an option lacks its value");
    if (to == 0 || seconds == 0 || seconds > 3600) return usage("--to and --seconds (up to 3600) are needed");
    std::string error;
    const auto up = Schedule::parse(upText, error);
    if (!up) return usage(("--up: " + error).c_str());
    const auto down = Schedule::parse(downText, error);
    if (!down) return usage(("--down: " + error).c_str());

    std::signal(SIGTERM, [](int) { stopping = 1; });
    std::signal(SIGINT, [](int) { stopping = 1; });
    const int front = loopbackSocket(SOCK_DGRAM | SOCK_NONBLOCK, listen),
              back = loopbackSocket(SOCK_DGRAM | SOCK_NONBLOCK, 0);
    if (front < 0 || back < 0) return usage("cannot open the relay's sockets");
    std::printf("relay on port %u\n", portOf(front));
    std::fflush(stdout);

    Impairer upLine(*up, seed), downLine(*down, seed + 1);
    sockaddr_in server{}, client{};
    server.sin_family = AF_INET;
    server.sin_port = htons(to);
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool haveClient = false;
    // Deliveries waiting for their time, by due time: (to the server?, bytes).
    std::multimap<std::uint64_t, std::pair<bool, std::vector<std::uint8_t>>> waiting;
    const std::uint64_t began = steadyMs();
    std::uint64_t first = 0;  // the first datagram's time: schedules count from it
    std::vector<std::uint8_t> buffer(65536);
    while (!stopping && steadyMs() - began < seconds * 1000ull) {
        const std::uint64_t now = steadyMs();
        while (!waiting.empty() && waiting.begin()->first <= now) {
            const auto& [toServer, bytes] = waiting.begin()->second;
            if (toServer || haveClient) {
                const sockaddr_in& dest = toServer ? server : client;
                sendto(toServer ? back : front, bytes.data(), bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&dest), sizeof dest);
            }
            waiting.erase(waiting.begin());
        }
        int timeout = 5;
        if (!waiting.empty()) timeout = static_cast<int>(std::min<std::uint64_t>(5, waiting.begin()->first - now));
        pollfd fds[2] = {{front, POLLIN, 0}, {back, POLLIN, 0}};
        if (poll(fds, 2, timeout) <= 0) continue;
        for (int side = 0; side < 2; ++side) {
            if (!(fds[side].revents & POLLIN)) continue;
            for (;;) {
                sockaddr_in from{};
                socklen_t fromSize = sizeof from;
                const ssize_t n = recvfrom(side == 0 ? front : back, buffer.data(), buffer.size(), 0,
                                           reinterpret_cast<sockaddr*>(&from), &fromSize);
                if (n < 0) break;
                if (side == 0) {
                    // The first machine to send is the client; others are not relayed.
                    if (!haveClient) {
                        client = from;
                        haveClient = true;
                    } else if (from.sin_port != client.sin_port || from.sin_addr.s_addr != client.sin_addr.s_addr) {
                        continue;
                    }
                }
                const std::uint64_t at = steadyMs();
                if (first == 0) first = at;
                const auto ms = static_cast<std::uint32_t>(at - first);
                Impairer& line = side == 0 ? upLine : downLine;
                for (auto& d : line.take(ms, std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + n)))
                    waiting.emplace(first + d.due, std::make_pair(side == 0, std::move(d.bytes)));
            }
        }
    }
    report("up", upLine);
    report("down", downLine);
    close(front);
    close(back);
    return 0;
}
