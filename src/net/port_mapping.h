// Asking the home router to forward the host's UDP port: UPnP first, then
// NAT-PMP. The asking runs beside the game, so a router that answers
// nothing costs the start nothing; the splash screen shows what it came
// to. The mapping is removed when the object goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ib::net {

// Where to ask. Left empty, the router is looked for on the local network
// (UPnP discovery, and the default gateway for NAT-PMP).
struct RouterAddress {
    std::string upnpDescription;  // the address of a UPnP router's description
    std::string natPmpGateway;    // a NAT-PMP router's IPv4 address
};

class PortMapping {
public:
    explicit PortMapping(std::uint16_t port, RouterAddress router = {});
    ~PortMapping();
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    // Still waiting for the router's answers.
    bool asking() const;
    bool mapped() const;
    // What the splash screen says of it: the public address and port to
    // give the other player, or the port to forward by hand.
    std::string summary() const;

    struct Asking;  // shared with the thread that asks

private:
    std::shared_ptr<Asking> asking_;
};

}  // namespace ib::net
