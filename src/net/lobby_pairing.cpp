#include "net/lobby.h"
#include "net/pairing.h"
#include "net/spectator_lines.h"

namespace ib::net {

namespace {

class LobbyPairing : public Pairing {
public:
    LobbyPairing(std::unique_ptr<Lobby> lobby, const IceOptions& ice) : lobby_(std::move(lobby)), ice_(ice) {}

    void poll(std::uint32_t nowMs, std::vector<std::string>& notes) override
    {
        if (stage_ == PairingStage::Failed) return;
        std::vector<LobbyEvent> events;
        if (!lobbyLost_) lobby_->poll(nowMs, events);
        notes.insert(notes.end(), spectatorNotes_.begin(), spectatorNotes_.end());
        spectatorNotes_.clear();
        for (const LobbyEvent& e : events) {
            using K = LobbyEvent::Kind;
            switch (e.kind) {
            case K::InLobby:
                if (stage_ == PairingStage::Connecting) stage_ = PairingStage::InLobby;
                break;
            case K::Failed:
                // Once the line is up the fight goes on without the lobby.
                if (stage_ != PairingStage::Ready) return fail(e.text);
                lobbyLost_ = true;
                notes.push_back(e.text);
                break;
            case K::Refused:
                stage_ = PairingStage::InLobby;
                notes.push_back(e.text);
                break;
            case K::PeerGone:
                if (stage_ != PairingStage::Ready) {
                    fail(peer() + " left the lobby before the line was up; go back and find another player");
                    return;
                }
                break;
            case K::Paired: stage_ = PairingStage::Linking; break;
            case K::Data: remote_ = e.text; break;
            case K::Note: notes.push_back(e.text); break;
            case K::CodeMoved: notes.push_back("the code was taken at the same moment; your room is now " + e.text); break;
            case K::SpectatorIn:
            case K::SpectatorData:
            case K::SpectatorGone: spectators_.take(e); break;
            }
        }
        if (stage_ == PairingStage::Linking) link(nowMs);
        if (stage_ == PairingStage::Ready) {
            std::string local;
            line_->poll(nowMs, local);
            if (line_->state() == IceLine::State::Failed) fail(line_->failure());
        }
    }

    std::string host() override { return started(lobby_->host(), PairingStage::Hosting); }
    std::string joinByCode(const std::string& typed, std::uint32_t nowMs) override
    {
        return started(lobby_->joinByCode(typed, nowMs), PairingStage::Asking);
    }
    std::string quickMatch(std::uint32_t nowMs) override
    {
        return started(lobby_->quickMatch(nowMs), PairingStage::Asking);
    }
    std::string watchByCode(const std::string& typed, std::uint32_t nowMs) override
    {
        return started(lobby_->watchByCode(typed, nowMs), PairingStage::Asking);
    }
    bool watching() const override { return lobby_->watching(); }
    void tendSpectators(std::uint16_t doorPort, std::uint32_t nowMs) override
    {
        std::vector<std::string> notes;
        if (!lobbyLost_) spectators_.tend(*lobby_, doorPort, ice_, nowMs, notes);
        for (const std::string& n : notes) spectatorNotes_.push_back("spectators: " + n);
    }
    void stop() override
    {
        if (stage_ != PairingStage::Hosting && stage_ != PairingStage::Asking) return;
        lobby_->stop();
        stage_ = PairingStage::InLobby;
    }
    void close() override { lobby_->close(); }

    PairingStage stage() const override { return stage_; }
    const std::string& failure() const override { return failure_; }
    const LobbyRoster& roster() const override { return lobby_->roster(); }
    std::string name() const override { return lobby_->name(); }
    std::string code() const override { return lobby_->code(); }
    std::string peer() const override { return lobby_->peer(); }
    bool hosting() const override { return lobby_->hosted(); }
    bool relayed() const override { return line_ && line_->relayed(); }
    std::uint16_t bridgePort() const override { return line_ ? line_->bridgePort() : 0; }
    void setGamePort(std::uint16_t port) override
    {
        if (line_) line_->setGamePort(port);
    }

private:
    std::string started(std::string refused, PairingStage next)
    {
        if (refused.empty()) stage_ = next;
        return refused;
    }

    // Paired: the line starts once the lobby server has said which STUN and
    // TURN servers it has; the other side's candidates may come first.
    void link(std::uint32_t nowMs)
    {
        std::string error;
        if (!line_) {
            if (!lobby_->iceServersKnown()) return;
            line_ = IceLine::start(lobby_->hosted(), lobby_->iceServers(), ice_, nowMs, error);
            if (!line_) return fail(error);
        }
        if (!remote_.empty()) {
            if (!line_->remote(remote_, error)) return fail(error);
            remote_.clear();
        }
        std::string local;
        line_->poll(nowMs, local);
        if (!local.empty() && !(error = lobby_->send(local)).empty()) return fail(error);
        if (line_->state() == IceLine::State::Failed) return fail(line_->failure());
        if (line_->state() == IceLine::State::Ready) stage_ = PairingStage::Ready;
    }

    void fail(const std::string& why)
    {
        stage_ = PairingStage::Failed;
        failure_ = why;
    }

    std::unique_ptr<Lobby> lobby_;
    std::unique_ptr<IceLine> line_;
    SpectatorLines spectators_;
    std::vector<std::string> spectatorNotes_;
    IceOptions ice_;
    PairingStage stage_ = PairingStage::Connecting;
    bool lobbyLost_ = false;
    std::string failure_, remote_;
};

}  // namespace

std::unique_ptr<Pairing> startLobbyPairing(const LobbyServer& server, const std::string& name,
                                           const IceOptions& ice, std::uint32_t nowMs, std::string& error)
{
    std::unique_ptr<Lobby> lobby = Lobby::connect(server, name, nowMs, error);
    if (!lobby) return nullptr;
    return std::make_unique<LobbyPairing>(std::move(lobby), ice);
}

}  // namespace ib::net
