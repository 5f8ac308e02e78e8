// What the game says in the lobby, as text inside XMPP stanzas: a player's
// state in their room presence, the short messages two players send each
// other, and the STUN and TURN servers the lobby server lists (XEP-0215).
// Everything read from the lobby comes through here and is checked; what
// cannot be used is answered with a message naming what is wrong.
//
// A presence's state:  "ib1 waiting ABCDEF 1765100000" (the room code and
// the Unix time the player began waiting), "ib1 fighting", "ib1 idle".
// A message:           "ib1 join ABCDEF", "ib1 accept ABCDEF",
//                      "ib1 refuse ABCDEF <reason>", "ib1 data ABCDEF <text>",
//                      "ib1 watch ABCDEF" (a spectator asking the fight's host).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ib::net {

// Longest text a message may carry (the data of ICE candidates fits).
constexpr std::size_t kMaxLobbyText = 3000;
constexpr std::size_t kRoomCodeLength = 6;
constexpr std::size_t kMaxPlayerName = 24;

enum class PlayerState { Idle, Waiting, Fighting };

struct LobbyPresence {
    PlayerState state = PlayerState::Idle;
    std::string code;          // waiting: the room code
    std::int64_t since = 0;    // waiting: Unix seconds
    friend bool operator==(const LobbyPresence&, const LobbyPresence&) = default;
};

enum class LobbyKind { Join, Accept, Refuse, Data, Watch };

struct LobbyMessage {
    LobbyKind kind = LobbyKind::Join;
    std::string code;
    std::string text;  // refuse: the reason; data: the payload
    friend bool operator==(const LobbyMessage&, const LobbyMessage&) = default;
};

// A STUN or TURN server the lobby server offers.
struct IceServer {
    bool turn = false;
    std::string host;
    std::uint16_t port = 0;
    std::string username;  // TURN only
    std::string password;
};

// The letters of room codes: capitals without I and O, read aloud easily.
bool isRoomCode(std::string_view code);
// A room code from the 24 letters, from a random 64-bit number.
std::string makeRoomCode(std::uint64_t random);
// Upper-cases what a player typed, dropping spaces; empty when it cannot
// be a code.
std::string normalRoomCode(std::string_view typed);

// A name shown in the lobby: 1 to kMaxPlayerName printable ASCII
// characters, not starting or ending with a space.
bool isPlayerName(std::string_view name);
// A name from a number: "ink-4821".
std::string makePlayerName(std::uint64_t random);

std::string encodePresence(const LobbyPresence& presence);
std::optional<LobbyPresence> decodePresence(std::string_view text, std::string& error);

std::string encodeMessage(const LobbyMessage& message);
std::optional<LobbyMessage> decodeMessage(std::string_view text, std::string& error);

// One <service/> of a XEP-0215 answer, by its attributes (null: absent).
// Services other than STUN and TURN over UDP are skipped without an error
// (nullopt with `error` empty).
std::optional<IceServer> decodeService(const char* type, const char* transport, const char* host,
                                       const char* port, const char* username, const char* password,
                                       std::string& error);

}  // namespace ib::net
