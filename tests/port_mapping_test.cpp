// The host's port forwarding against stand-in routers on 127.0.0.1: a UPnP
// router (its description and control over HTTP) and a NAT-PMP router (UDP
// port 5351). Both router addresses are always given, so nothing is looked
// for on the real network.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/port_mapping.h"
#include "support/loopback.h"

namespace ib::test {
namespace {

using namespace std::chrono;
using ib::net::PortMapping;
using ib::net::RouterAddress;

const char* const kPublicAddress = "203.0.113.9";  // only ever written in answers

// A router stand-in: serves one socket on its own thread (for at most ten
// seconds, until it is destroyed), and keeps what it was asked, one text
// per request.
class FakeRouter {
public:
    FakeRouter(int socket, std::function<void(FakeRouter&, int)> serve)
        : socket_(socket), thread_([this, serve] {
              for (const auto until = steady_clock::now() + seconds(10); !stopping_ && steady_clock::now() < until;)
                  if (pollfd p{socket_, POLLIN, 0}; poll(&p, 1, 20) == 1) serve(*this, socket_);
          })
    {}
    ~FakeRouter()
    {
        stopping_ = true;
        thread_.join();
        close(socket_);
    }
    void heard(const std::string& request)
    {
        std::lock_guard<std::mutex> hold(lock_);
        requests_.push_back(request);
    }
    std::vector<std::string> requests()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return requests_;
    }
    // Waits (at most three seconds) for a request holding `text`.
    bool waitFor(const std::string& text)
    {
        for (const auto until = steady_clock::now() + seconds(3); steady_clock::now() < until;) {
            for (const std::string& r : requests())
                if (r.find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(milliseconds(10));
        }
        return false;
    }

private:
    int socket_;
    std::atomic<bool> stopping_{false};
    std::mutex lock_;
    std::vector<std::string> requests_;
    std::thread thread_;  // last: it starts once the rest is made
};

bool waitAnswered(const PortMapping& m)
{
    for (const auto until = steady_clock::now() + seconds(3); steady_clock::now() < until;)
        if (!m.asking()) return true;
        else std::this_thread::sleep_for(milliseconds(10));
    return false;
}

// A port on 127.0.0.1 where nothing listens.
std::uint16_t closedPort()
{
    const int s = loopbackSocket(SOCK_STREAM, 0);
    const std::uint16_t port = portOf(s);
    close(s);
    return port;
}

// One HTTP exchange of a UPnP router: its description, and SOAP control.
void serveUpnp(FakeRouter& router, int listener)
{
    const int c = accept(listener, nullptr, nullptr);
    if (c < 0) return;
    std::string request;
    char buffer[4096];
    std::size_t need = std::string::npos;
    for (pollfd p{c, POLLIN, 0}; request.size() < need && poll(&p, 1, 1000) == 1;) {
        const ssize_t n = read(c, buffer, sizeof buffer);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
        const std::size_t head = request.find("\r\n\r\n");
        const std::size_t length = request.find("Content-Length: ");
        if (head != std::string::npos)
            need = head + 4 + (length < head ? std::stoul(request.substr(length + 16)) : 0);
    }
    router.heard(request);
    const std::string service = "urn:schemas-upnp-org:service:WANIPConnection:1";
    std::string body;
    if (request.rfind("GET ", 0) == 0) {
        body = "<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device>"
               "<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType><deviceList><device>"
               "<deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType><deviceList><device>"
               "<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType><serviceList><service>"
               "<serviceType>" + service + "</serviceType><serviceId>urn:upnp-org:serviceId:WANIPConn1</serviceId>"
               "<controlURL>/ctl</controlURL><eventSubURL>/evt</eventSubURL><SCPDURL>/scpd.xml</SCPDURL>"
               "</service></serviceList></device></deviceList></device></deviceList></device></root>";
    } else {
        const std::size_t hash = request.find('#');
        const std::string action = request.substr(hash + 1, request.find('"', hash) - hash - 1);
        const std::string answer = action == "GetExternalIPAddress"
                                       ? std::string("<NewExternalIPAddress>") + kPublicAddress + "</NewExternalIPAddress>"
                                       : "";
        body = "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
               "<u:" + action + "Response xmlns:u=\"" + service + "\">" + answer + "</u:" + action +
               "Response></s:Body></s:Envelope>";
    }
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                              std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    [[maybe_unused]] const ssize_t sent = write(c, reply.data(), reply.size());
    close(c);
}

TEST(PortMapping, AUpnpRouterForwardsThePortUntilTheGameCloses)
{
    const int listener = loopbackSocket(SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    FakeRouter upnp(listener, serveUpnp);
    const RouterAddress at{"http://127.0.0.1:" + std::to_string(portOf(listener)) + "/rootDesc.xml", "127.0.0.1"};
    {
        PortMapping mapping(7150, at);
        ASSERT_TRUE(waitAnswered(mapping));
        EXPECT_TRUE(mapping.mapped());
        EXPECT_EQ(mapping.summary(), "the router forwards the port (UPnP): give the other player 203.0.113.9:7150");
        ASSERT_TRUE(upnp.waitFor("#AddPortMapping"));
        for (const std::string& r : upnp.requests()) {
            EXPECT_EQ(r.find("#DeletePortMapping"), std::string::npos) << "taken back while the game runs";
            if (r.find("#AddPortMapping") != std::string::npos) {
                EXPECT_NE(r.find("<NewExternalPort>7150</NewExternalPort>"), std::string::npos) << r;
                EXPECT_NE(r.find("<NewProtocol>UDP</NewProtocol>"), std::string::npos) << r;
                EXPECT_NE(r.find("<NewInternalClient>127.0.0.1</NewInternalClient>"), std::string::npos) << r;
            }
        }
    }
    EXPECT_TRUE(upnp.waitFor("#DeletePortMapping"));
}

// The NAT-PMP router answers after this many milliseconds (-1: never).
std::atomic<int> natPmpDelayMs{0};

void serveNatPmp(FakeRouter& router, int s)
{
    std::uint8_t in[16];
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t n = recvfrom(s, in, sizeof in, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (n < 2 || natPmpDelayMs < 0) return;
    std::this_thread::sleep_for(milliseconds(natPmpDelayMs.load()));
    std::vector<std::uint8_t> out = {0, static_cast<std::uint8_t>(128 + in[1]), 0, 0, 0, 0, 0, 1};
    if (in[1] == 0) {
        router.heard("address");
        in_addr a{};
        inet_pton(AF_INET, kPublicAddress, &a);
        const auto* b = reinterpret_cast<const std::uint8_t*>(&a.s_addr);
        out.insert(out.end(), b, b + 4);
    } else if (n >= 12) {
        const unsigned priv = in[4] << 8 | in[5];
        const unsigned long life = static_cast<unsigned long>(in[8]) << 24 | in[9] << 16 | in[10] << 8 | in[11];
        router.heard("map " + std::to_string(priv) + " for " + std::to_string(life));
        // The router chooses public port 40001.
        out.insert(out.end(), {in[4], in[5], 0x9c, 0x41, in[8], in[9], in[10], in[11]});
    }
    sendto(s, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&from), size);
}

TEST(PortMapping, ANatPmpRouterIsAskedWhenNoUpnpRouterAnswers)
{
    const int s = loopbackSocket(SOCK_DGRAM, 5351);
    if (s < 0) GTEST_SKIP() << "127.0.0.1:5351 is taken";
    natPmpDelayMs = 0;
    FakeRouter natPmp(s, serveNatPmp);
    const RouterAddress at{"http://127.0.0.1:" + std::to_string(closedPort()) + "/rootDesc.xml", "127.0.0.1"};
    {
        PortMapping mapping(7150, at);
        ASSERT_TRUE(waitAnswered(mapping));
        EXPECT_EQ(mapping.summary(), "the router forwards the port (NAT-PMP): give the other player 203.0.113.9:40001");
        EXPECT_TRUE(natPmp.waitFor("map 7150 for 7200"));
    }
    EXPECT_TRUE(natPmp.waitFor("map 7150 for 0"));

    // The game closes before the router answers: the mapping it then makes
    // is taken back all the same.
    natPmpDelayMs = 100;
    { PortMapping mapping(7151, at); }
    EXPECT_TRUE(natPmp.waitFor("map 7151 for 0"));

    // A router that answers nothing: the game goes on at once, and soon
    // says which port to forward by hand.
    natPmpDelayMs = -1;
    const auto start = steady_clock::now();
    PortMapping mapping(7152, at);
    EXPECT_TRUE(mapping.asking());
    EXPECT_EQ(mapping.summary(), "asking the router to forward UDP port 7152");
    ASSERT_TRUE(waitAnswered(mapping));
    EXPECT_LT(steady_clock::now() - start, seconds(2));
    EXPECT_FALSE(mapping.mapped());
    EXPECT_EQ(mapping.summary(), "the router did not open the port: forward UDP port 7152 to this machine by hand");
}

}  // namespace
}  // namespace ib::test
