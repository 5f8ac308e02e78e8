#include "support/lobby_server.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ib::test {
namespace {

const std::string kServe = std::string(INKBLOT_SOURCE_DIR) + "/tools/lobby/serve.sh";

bool onPath(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

std::string LobbyServerProcess::missing()
{
    if (!onPath("prosody")) return "prosody is not installed (tools/install-deps.sh)";
    if (!onPath("turnserver")) return "coturn is not installed (tools/install-deps.sh)";
    return {};
}

bool LobbyServerProcess::start(std::string& error)
{
    char pattern[] = "/tmp/inkblot-lobby-XXXXXX";
    if (!mkdtemp(pattern)) {
        error = "cannot make a temp folder";
        return false;
    }
    dir_ = pattern;
    const std::string command = kServe + " start --dir " + dir_ +
                                " --xmpp-port auto --turn-port auto --loopback-peers >" + dir_ + "/serve.out 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::ifstream said(dir_ + "/serve.out");
        error.assign(std::istreambuf_iterator<char>(said), {});
        return false;
    }
    std::ifstream ports(dir_ + "/ports");
    for (std::string line; std::getline(ports, line);) {
        if (line.rfind("XMPP_PORT=", 0) == 0) xmppPort_ = static_cast<std::uint16_t>(std::stoi(line.substr(10)));
        if (line.rfind("TURN_PORT=", 0) == 0) turnPort_ = static_cast<std::uint16_t>(std::stoi(line.substr(10)));
    }
    return xmppPort_ != 0;
}

void LobbyServerProcess::stop()
{
    if (dir_.empty()) return;
    if (std::system((kServe + " stop --dir " + dir_).c_str()) != 0) {}  // a lobby already gone is fine
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
    dir_.clear();
}

LobbyServerProcess::~LobbyServerProcess() { stop(); }

}  // namespace ib::test
