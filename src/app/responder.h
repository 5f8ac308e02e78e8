// Screens as responders: each message goes down one ordered chain (online
// play, the controls screen, the splash screen, a match's menus, quitting,
// training's keys, the fight) until one takes it, as a menu eats a key
// before the game sees it. A new screen is a new responder in the chain.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "platform/platform.h"

namespace ib {

struct Game;

enum class Response {
    Pass,           // not this one's: the next responder gets it
    Taken,          // taken; nobody after it sees it
    TakenWithKeyUp  // a key-down taken with its repeats and key-up
};

class Responder {
public:
    virtual ~Responder() = default;
    // `repeat`: a key-down of a key whose key-down was taken with its
    // key-up and has not come up since.
    virtual Response respond(Game& game, const Message& m, bool repeat) = 0;
};

class ResponderChain {
public:
    void add(std::unique_ptr<Responder> r) { chain_.push_back(std::move(r)); }
    // True when a responder took the message.
    bool dispatch(Game& game, const Message& m);
    // The keys and pad buttons held now do nothing until released: for a
    // screen the game opens by itself under a player's hands.
    void holdBack() { heldBack_ = down_; }

private:
    std::vector<std::unique_ptr<Responder>> chain_;
    std::set<std::uint32_t> keysTaken_;
    // Keys (their codes) and pad buttons (kPadHeld | pad's message word)
    // down now, and those held back.
    std::set<std::uint32_t> down_;
    std::set<std::uint32_t> heldBack_;
};

// The game's chain, in order.
ResponderChain gameResponders();

// The responders of each screen, made by the screen's own file.
std::unique_ptr<Responder> onlineResponder();
std::unique_ptr<Responder> controlsScreenResponder();
std::unique_ptr<Responder> selectScreenResponder();
std::unique_ptr<Responder> splashResponder();
std::unique_ptr<Responder> matchMenuResponder();
std::unique_ptr<Responder> quitResponder();
std::unique_ptr<Responder> trainingResponder();
std::unique_ptr<Responder> fightResponder();

}  // namespace ib
