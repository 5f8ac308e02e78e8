#include "app/online_options.h"

#include "content/whole_number.h"
#include "net/lobby_xmpp.h"

namespace ib {

bool readLobbyAddress(const std::string& text, net::LobbyServer& out)
{
    const auto colon = text.rfind(':');
    net::LobbyServer s;
    s.address = text.substr(0, colon);
    if (colon != std::string::npos) {
        const auto port = wholeNumber<std::uint16_t>(text.substr(colon + 1));
        if (!port || *port == 0) return false;
        s.port = *port;
    }
    if (s.address.empty() || s.address.find_first_of(" \t/@") != std::string::npos) return false;
    out = s;
    return true;
}

std::string takeOnlineOptions(std::vector<std::string>& args, OnlineOptions& out)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--host") {
            out.host = true;
            // The port is optional: a number right after it.
            if (i + 1 < args.size() && wholeNumber<std::uint16_t>(args[i + 1])) {
                out.port = *wholeNumber<std::uint16_t>(args[++i]);
                if (out.port == 0) return "--host takes a port from 1 to 65535";
            }
        } else if (a == "--join") {
            if (i + 1 >= args.size()) return "--join needs HOST or HOST:PORT";
            const std::string& v = args[++i];
            const auto colon = v.rfind(':');
            out.join = true;
            out.address = v.substr(0, colon);
            if (colon != std::string::npos) {
                const auto port = wholeNumber<std::uint16_t>(v.substr(colon + 1));
                if (!port || *port == 0) return "--join takes HOST:PORT with a port from 1 to 65535";
                out.port = *port;
            }
            if (out.address.empty()) return "--join needs a host";
        } else if (a == "--lobby") {
            net::LobbyServer checked;
            if (i + 1 >= args.size() || !readLobbyAddress(args[i + 1], checked))
                return "--lobby takes HOST or HOST:PORT with a port from 1 to 65535";
            out.lobby = args[++i];
        } else if (a == "--delay") {
            const auto n = i + 1 < args.size() ? wholeNumber<int>(args[++i]) : std::nullopt;
            if (!n || *n < 0 || *n > 4) return "--delay takes a number of steps from 0 to 4";
            out.delay = *n;
            out.delayGiven = true;
        } else {
            rest.push_back(a);
        }
    }
    if (out.host && out.join) return "--host and --join cannot be used together";
    args = std::move(rest);
    return "";
}

}  // namespace ib
