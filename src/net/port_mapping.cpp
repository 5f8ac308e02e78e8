#include "net/port_mapping.h"

#include <arpa/inet.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <natpmp.h>
#include <sys/select.h>

#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

namespace ib::net {

namespace {

constexpr int kUpnpDiscoverMs = 1000;
constexpr auto kNatPmpWait = std::chrono::milliseconds(900);
constexpr int kMappingLifetimeS = 7200;
const char* const kDescription = "Inkblot Fighter";

enum class How { None, Upnp, NatPmp };

struct Mapping {
    How how = How::None;
    std::uint16_t publicPort = 0;  // the router's, which NAT-PMP may choose
    std::string publicAddress;
    std::string controlUrl, serviceType;  // of the UPnP router
};

// Waits for a NAT-PMP answer until `deadline`; the answer's code.
int natPmpAnswer(natpmp_t& n, natpmpresp_t& answer, std::chrono::steady_clock::time_point deadline)
{
    int r = NATPMP_TRYAGAIN;
    while (r == NATPMP_TRYAGAIN && std::chrono::steady_clock::now() < deadline) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(n.s, &fds);
        timeval wait{0, 50000};
        select(n.s + 1, &fds, nullptr, nullptr, &wait);
        r = readnatpmpresponseorretry(&n, &answer);
    }
    return r;
}

// Opens a NAT-PMP session with the given router, or the default gateway.
bool openNatPmp(natpmp_t& n, const std::string& gateway)
{
    if (gateway.empty()) return initnatpmp(&n, 0, 0) == 0;
    in_addr address{};
    if (inet_pton(AF_INET, gateway.c_str(), &address) != 1) return false;
    return initnatpmp(&n, 1, address.s_addr) == 0;
}

Mapping tryUpnp(std::uint16_t port, const RouterAddress& router)
{
    Mapping m;
    UPNPUrls urls{};
    IGDdatas data{};
    char lan[64] = {};
    int igd = 0;
    if (router.upnpDescription.empty()) {
        int error = 0;
        UPNPDev* devices = upnpDiscover(kUpnpDiscoverMs, nullptr, nullptr, 0, 0, 2, &error);
        if (!devices) return m;
        igd = UPNP_GetValidIGD(devices, &urls, &data, lan, sizeof lan);
        freeUPNPDevlist(devices);
    } else {
        igd = UPNP_GetIGDFromUrl(router.upnpDescription.c_str(), &urls, &data, lan, sizeof lan);
    }
    if (igd == 1 && urls.controlURL && data.first.servicetype[0]) {
        const std::string p = std::to_string(port);
        if (UPNP_AddPortMapping(urls.controlURL, data.first.servicetype, p.c_str(), p.c_str(), lan, kDescription,
                                "UDP", nullptr, std::to_string(kMappingLifetimeS).c_str()) == UPNPCOMMAND_SUCCESS) {
            m.how = How::Upnp;
            m.publicPort = port;
            m.controlUrl = urls.controlURL;
            m.serviceType = data.first.servicetype;
            char external[40] = {};
            if (UPNP_GetExternalIPAddress(urls.controlURL, data.first.servicetype, external) == UPNPCOMMAND_SUCCESS)
                m.publicAddress = external;
        }
    }
    if (igd != 0) FreeUPNPUrls(&urls);
    return m;
}

Mapping tryNatPmp(std::uint16_t port, const RouterAddress& router)
{
    Mapping m;
    natpmp_t n;
    if (!openNatPmp(n, router.natPmpGateway)) return m;
    const auto deadline = std::chrono::steady_clock::now() + kNatPmpWait;
    natpmpresp_t answer;
    if (sendpublicaddressrequest(&n) >= 0 && natPmpAnswer(n, answer, deadline) == 0 &&
        answer.type == NATPMP_RESPTYPE_PUBLICADDRESS) {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &answer.pnu.publicaddress.addr, text, sizeof text);
        if (sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, port, port, kMappingLifetimeS) >= 0 &&
            natPmpAnswer(n, answer, deadline) == 0 && answer.type == NATPMP_RESPTYPE_UDPPORTMAPPING) {
            m.how = How::NatPmp;
            m.publicAddress = text;
            m.publicPort = answer.pnu.newportmapping.mappedpublicport;
        }
    }
    closenatpmp(&n);
    return m;
}

}  // namespace

struct PortMapping::Asking {
    std::uint16_t port;
    RouterAddress router;
    std::mutex lock;
    bool done = false;
    bool abandoned = false;  // the game no longer wants the mapping
    Mapping result;          // set once, when done

    void remove() const
    {
        const std::string p = std::to_string(port);
        if (result.how == How::Upnp) {
            UPNP_DeletePortMapping(result.controlUrl.c_str(), result.serviceType.c_str(), p.c_str(), "UDP", nullptr);
        } else if (result.how == How::NatPmp) {
            natpmp_t n;
            if (openNatPmp(n, router.natPmpGateway)) {
                natpmpresp_t answer;
                if (sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, port, port, 0) >= 0)
                    natPmpAnswer(n, answer, std::chrono::steady_clock::now() + kNatPmpWait);
                closenatpmp(&n);
            }
        }
    }
};

namespace {

void ask(const std::shared_ptr<PortMapping::Asking>& a)
{
    Mapping m = tryUpnp(a->port, a->router);
    if (m.how == How::None) m = tryNatPmp(a->port, a->router);
    bool abandoned = false;
    {
        std::lock_guard<std::mutex> hold(a->lock);
        a->result = std::move(m);
        a->done = true;
        abandoned = a->abandoned;
    }
    // The game closed while the router was thinking: take the mapping back.
    if (abandoned) a->remove();
}

}  // namespace

PortMapping::PortMapping(std::uint16_t port, RouterAddress router) : asking_(std::make_shared<Asking>())
{
    asking_->port = port;
    asking_->router = std::move(router);
    try {
        // The thread keeps its own share of the asking; it is let go so
        // that a router slow to answer never holds up the game's close.
        std::thread(ask, asking_).detach();
    } catch (const std::system_error&) {
        asking_->done = true;  // no thread: no asking, the port is forwarded by hand
    }
}

PortMapping::~PortMapping()
{
    bool done = false;
    {
        std::lock_guard<std::mutex> hold(asking_->lock);
        asking_->abandoned = true;
        done = asking_->done;
    }
    if (done) asking_->remove();
}

bool PortMapping::asking() const
{
    std::lock_guard<std::mutex> hold(asking_->lock);
    return !asking_->done;
}

bool PortMapping::mapped() const
{
    std::lock_guard<std::mutex> hold(asking_->lock);
    return asking_->done && asking_->result.how != How::None;
}

std::string PortMapping::summary() const
{
    std::lock_guard<std::mutex> hold(asking_->lock);
    const std::string port = std::to_string(asking_->port);
    if (!asking_->done) return "asking the router to forward UDP port " + port;
    const Mapping& m = asking_->result;
    if (m.how == How::None)
        return "the router did not open the port: forward UDP port " + port + " to this machine by hand";
    const std::string by = m.how == How::Upnp ? "UPnP" : "NAT-PMP";
    const std::string where = (m.publicAddress.empty() ? "port " : m.publicAddress + ":") + std::to_string(m.publicPort);
    return "the router forwards the port (" + by + "): give the other player " + where;
}

}  // namespace ib::net
