// A lobby (Prosody and coturn) for one test: started by tools/lobby/serve.sh
// from configs in a fresh temp folder, on free ports of 127.0.0.1, and
// stopped and removed again.
#pragma once

#include <cstdint>
#include <string>

namespace ib::test {

class LobbyServerProcess {
public:
    LobbyServerProcess() = default;
    ~LobbyServerProcess();
    LobbyServerProcess(const LobbyServerProcess&) = delete;
    LobbyServerProcess& operator=(const LobbyServerProcess&) = delete;

    // Why the lobby cannot run here (prosody or coturn missing), or "".
    static std::string missing();
    // False (with the servers' words in `error`) when it does not start.
    bool start(std::string& error);
    void stop();

    std::uint16_t xmppPort() const { return xmppPort_; }
    std::uint16_t turnPort() const { return turnPort_; }

private:
    std::string dir_;
    std::uint16_t xmppPort_ = 0, turnPort_ = 0;
};

}  // namespace ib::test
