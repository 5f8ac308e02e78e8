#include "net/port_mapping.h"

#include <arpa/inet.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <natpmp.h>
#include <sys/select.h>

#include <chrono>
#include <cstdlib>

namespace ib::net {

namespace {

constexpr int kUpnpDiscoverMs = 1000;
constexpr auto kNatPmpWait = std::chrono::milliseconds(900);
constexpr int kMappingLifetimeS = 7200;
const char* const kDescription = "Inkblot Fighter";

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

}  // namespace

PortMapping::PortMapping(std::uint16_t port) : port_(port), publicPort_(port)
{
    const char* skip = std::getenv("INKBLOT_NO_PORT_MAPPING");
    if (skip && *skip) {
        skipped_ = true;
        return;
    }
    if (!tryUpnp()) tryNatPmp();
}

PortMapping::~PortMapping()
{
    const std::string p = std::to_string(port_);
    if (how_ == How::Upnp) {
        UPNP_DeletePortMapping(controlUrl_.c_str(), serviceType_.c_str(), p.c_str(), "UDP", nullptr);
    } else if (how_ == How::NatPmp) {
        natpmp_t n;
        if (initnatpmp(&n, 0, 0) == 0) {
            natpmpresp_t answer;
            if (sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, port_, port_, 0) >= 0)
                natPmpAnswer(n, answer, std::chrono::steady_clock::now() + kNatPmpWait);
            closenatpmp(&n);
        }
    }
}

bool PortMapping::tryUpnp()
{
    int error = 0;
    UPNPDev* devices = upnpDiscover(kUpnpDiscoverMs, nullptr, nullptr, 0, 0, 2, &error);
    if (!devices) return false;
    UPNPUrls urls{};
    IGDdatas data{};
    char lan[64] = {};
    const int igd = UPNP_GetValidIGD(devices, &urls, &data, lan, sizeof lan);
    freeUPNPDevlist(devices);
    bool ok = false;
    if (igd == 1) {
        const std::string p = std::to_string(port_);
        char external[40] = {};
        if (UPNP_AddPortMapping(urls.controlURL, data.first.servicetype, p.c_str(), p.c_str(), lan, kDescription,
                                "UDP", nullptr, std::to_string(kMappingLifetimeS).c_str()) == UPNPCOMMAND_SUCCESS) {
            ok = true;
            how_ = How::Upnp;
            controlUrl_ = urls.controlURL;
            serviceType_ = data.first.servicetype;
            if (UPNP_GetExternalIPAddress(urls.controlURL, data.first.servicetype, external) == UPNPCOMMAND_SUCCESS)
                publicAddress_ = external;
        }
    }
    if (igd != 0) FreeUPNPUrls(&urls);
    return ok;
}

bool PortMapping::tryNatPmp()
{
    natpmp_t n;
    if (initnatpmp(&n, 0, 0) != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + kNatPmpWait;
    natpmpresp_t answer;
    if (sendpublicaddressrequest(&n) >= 0 && natPmpAnswer(n, answer, deadline) == 0 &&
        answer.type == NATPMP_RESPTYPE_PUBLICADDRESS) {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &answer.pnu.publicaddress.addr, text, sizeof text);
        publicAddress_ = text;
        if (sendnewportmappingrequest(&n, NATPMP_PROTOCOL_UDP, port_, port_, kMappingLifetimeS) >= 0 &&
            natPmpAnswer(n, answer, deadline) == 0 && answer.type == NATPMP_RESPTYPE_UDPPORTMAPPING) {
            how_ = How::NatPmp;
            publicPort_ = answer.pnu.newportmapping.mappedpublicport;
        }
    }
    closenatpmp(&n);
    return how_ == How::NatPmp;
}

std::string PortMapping::summary() const
{
    if (skipped_) return "";
    if (how_ == How::None)
        return "the router did not open the port: forward UDP port " + std::to_string(port_) +
               " to this machine by hand";
    const std::string by = how_ == How::Upnp ? "UPnP" : "NAT-PMP";
    const std::string where = publicAddress_.empty() ? "port " + std::to_string(publicPort_)
                                                     : publicAddress_ + ":" + std::to_string(publicPort_);
    return "the router forwards the port (" + by + "): give the other player " + where;
}

}  // namespace ib::net
