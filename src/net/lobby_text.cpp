#include "net/lobby_text.h"

#include <array>
#include <charconv>
#include <vector>

namespace ib::net {
namespace {

constexpr std::string_view kTag = "ib1";
constexpr std::string_view kCodeLetters = "ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr std::size_t kMaxShown = 40;  // of a bad text, in an error

// A bad text as an error may show it: printable, cut short.
std::string shown(std::string_view text)
{
    std::string out;
    for (char c : text.substr(0, kMaxShown)) out += (c >= 0x20 && c < 0x7f) ? c : '?';
    if (text.size() > kMaxShown) out += "...";
    return "\"" + out + "\"";
}

bool printable(char c) { return c >= 0x20 && c < 0x7f; }

// Splits at the first `count` spaces: the last part keeps any further ones.
std::vector<std::string_view> split(std::string_view text, std::size_t count)
{
    std::vector<std::string_view> parts;
    while (parts.size() < count) {
        const std::size_t space = text.find(' ');
        if (space == std::string_view::npos) break;
        parts.push_back(text.substr(0, space));
        text.remove_prefix(space + 1);
    }
    parts.push_back(text);
    return parts;
}

bool payloadText(std::string_view text)
{
    if (text.empty() || text.size() > kMaxLobbyText) return false;
    for (char c : text)
        if (!printable(c) && c != '\n') return false;
    return true;
}

const std::array<std::pair<LobbyKind, std::string_view>, 5> kKinds{{
    {LobbyKind::Join, "join"},
    {LobbyKind::Accept, "accept"},
    {LobbyKind::Refuse, "refuse"},
    {LobbyKind::Data, "data"},
    {LobbyKind::Watch, "watch"},
}};

bool hasText(LobbyKind kind) { return kind == LobbyKind::Refuse || kind == LobbyKind::Data; }

}  // namespace

bool isRoomCode(std::string_view code)
{
    if (code.size() != kRoomCodeLength) return false;
    for (char c : code)
        if (kCodeLetters.find(c) == std::string_view::npos) return false;
    return true;
}

std::string makeRoomCode(std::uint64_t random)
{
    std::string code;
    for (std::size_t i = 0; i < kRoomCodeLength; ++i) {
        code += kCodeLetters[random % kCodeLetters.size()];
        random /= kCodeLetters.size();
    }
    return code;
}

std::string normalRoomCode(std::string_view typed)
{
    std::string code;
    for (char c : typed) {
        if (c == ' ' || c == '-') continue;
        code += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return isRoomCode(code) ? code : std::string();
}

bool isPlayerName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxPlayerName) return false;
    if (name.front() == ' ' || name.back() == ' ') return false;
    for (char c : name)
        if (!printable(c)) return false;
    return true;
}

std::string makePlayerName(std::uint64_t random) { return "ink-" + std::to_string(1000 + random % 9000); }

std::string encodePresence(const LobbyPresence& presence)
{
    switch (presence.state) {
    case PlayerState::Waiting:
        return std::string(kTag) + " waiting " + presence.code + " " + std::to_string(presence.since);
    case PlayerState::Fighting: return std::string(kTag) + " fighting";
    case PlayerState::Idle: break;
    }
    return std::string(kTag) + " idle";
}

std::optional<LobbyPresence> decodePresence(std::string_view text, std::string& error)
{
    const std::vector<std::string_view> parts = split(text, 3);
    if (parts[0] != kTag) {
        error = "not a game presence: " + shown(text);
        return std::nullopt;
    }
    LobbyPresence p;
    if (parts.size() == 2 && parts[1] == "idle") return p;
    if (parts.size() == 2 && parts[1] == "fighting") {
        p.state = PlayerState::Fighting;
        return p;
    }
    if (parts.size() != 4 || parts[1] != "waiting") {
        error = "unknown player state: " + shown(text);
        return std::nullopt;
    }
    if (!isRoomCode(parts[2])) {
        error = "bad room code " + shown(parts[2]);
        return std::nullopt;
    }
    const std::string_view since = parts[3];
    const auto [end, ec] = std::from_chars(since.data(), since.data() + since.size(), p.since);
    const bool digits = !since.empty() && since.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digits || ec != std::errc() || end != since.data() + since.size() || since.size() > 12 ||
        (since.size() > 1 && since[0] == '0')) {
        error = "bad waiting time " + shown(since);
        return std::nullopt;
    }
    p.state = PlayerState::Waiting;
    p.code = std::string(parts[2]);
    return p;
}

std::string encodeMessage(const LobbyMessage& message)
{
    std::string out(kTag);
    for (const auto& [kind, word] : kKinds)
        if (kind == message.kind) out += " " + std::string(word);
    out += " " + message.code;
    if (hasText(message.kind)) out += " " + message.text;
    return out;
}

std::optional<LobbyMessage> decodeMessage(std::string_view text, std::string& error)
{
    const std::vector<std::string_view> parts = split(text, 3);
    if (parts[0] != kTag || parts.size() < 3) {
        error = "not a game message: " + shown(text);
        return std::nullopt;
    }
    LobbyMessage m;
    bool known = false;
    for (const auto& [kind, word] : kKinds)
        if (parts[1] == word) {
            m.kind = kind;
            known = true;
        }
    if (!known) {
        error = "unknown message " + shown(parts[1]);
        return std::nullopt;
    }
    if (!isRoomCode(parts[2])) {
        error = "bad room code " + shown(parts[2]);
        return std::nullopt;
    }
    m.code = std::string(parts[2]);
    if (hasText(m.kind) != (parts.size() == 4)) {
        error = hasText(m.kind) ? "message without its text: " + shown(text) : "unexpected text in " + shown(text);
        return std::nullopt;
    }
    if (hasText(m.kind)) {
        if (!payloadText(parts[3])) {
            error = "bad text in a message (empty, over " + std::to_string(kMaxLobbyText) +
                    " characters or not printable): " + shown(parts[3]);
            return std::nullopt;
        }
        m.text = std::string(parts[3]);
    }
    return m;
}

std::optional<IceServer> decodeService(const char* type, const char* transport, const char* host,
                                       const char* port, const char* username, const char* password,
                                       std::string& error)
{
    error.clear();
    if (!type || !transport || std::string_view(transport) != "udp") return std::nullopt;
    IceServer s;
    const std::string_view kind = type;
    if (kind != "stun" && kind != "turn") return std::nullopt;
    s.turn = kind == "turn";
    const std::string_view h = host ? host : "";
    const bool hostOk = !h.empty() && h.size() <= 253 && h.find_first_not_of(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:") == std::string_view::npos;
    if (!hostOk) {
        error = "the lobby server named a " + std::string(kind) + " server with a bad host " + shown(h);
        return std::nullopt;
    }
    s.host = std::string(h);
    const std::string_view p = port ? port : "";
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(p.data(), p.data() + p.size(), value);
    if (p.empty() || ec != std::errc() || end != p.data() + p.size() || value == 0 || value > 65535) {
        error = "the lobby server named a " + std::string(kind) + " server with a bad port " + shown(p);
        return std::nullopt;
    }
    s.port = static_cast<std::uint16_t>(value);
    if (s.turn) {
        const std::string_view u = username ? username : "", w = password ? password : "";
        auto fine = [](std::string_view t) {
            if (t.empty() || t.size() > 256) return false;
            for (char c : t)
                if (!printable(c)) return false;
            return true;
        };
        if (!fine(u) || !fine(w)) {
            error = "the lobby server gave TURN credentials that cannot be used (missing, too long or not printable)";
            return std::nullopt;
        }
        s.username = std::string(u);
        s.password = std::string(w);
    }
    return s;
}

}  // namespace ib::net
