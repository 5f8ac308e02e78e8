// Asking the home router to forward the host's UDP port: UPnP first, then
// NAT-PMP, about a second each when nothing answers; the mapping is
// removed when the object goes. Setting INKBLOT_NO_PORT_MAPPING (to any
// text) skips the asking, as every test does: they talk to 127.0.0.1 only.
#pragma once

#include <cstdint>
#include <string>

namespace ib::net {

class PortMapping {
public:
    explicit PortMapping(std::uint16_t port);
    ~PortMapping();
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    bool mapped() const { return how_ != How::None; }
    // What the splash screen says of it: the public address and port to
    // give the other player, or the port to forward by hand.
    std::string summary() const;

private:
    enum class How { None, Upnp, NatPmp };
    bool tryUpnp();
    bool tryNatPmp();

    std::uint16_t port_;
    std::uint16_t publicPort_;  // the router's, which NAT-PMP may choose
    How how_ = How::None;
    bool skipped_ = false;
    std::string publicAddress_;
    std::string controlUrl_, serviceType_;  // of the UPnP router
};

}  // namespace ib::net
