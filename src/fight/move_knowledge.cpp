#include "fight/move_knowledge.h"

#include <algorithm>
#include <limits>
#include <climits>
#include <cstddef>

#include "fight/buttons.h"
#include "fight/fighter.h"
#include "fight/flight.h"

namespace ib {

namespace {

// The buttons a player can hold; the others come from hits or nowhere.
constexpr int kPlayerCodes[] = {Forward, Back, Up, Down, Block, Attack};

bool playerCode(int code)
{
    return std::find(std::begin(kPlayerCodes), std::end(kPlayerCodes), code) != std::end(kPlayerCodes);
}

// Rows and columns of a mask's strike plane that hold a value; empty when
// none does.
struct Box {
    int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
    bool empty() const { return top > bottom; }
};

Box strikeBox(const HitMask& mask)
{
    Box box;
    if (mask.isPacked()) {  // found when the mask was read
        const PlaneBox& p = mask.packed.strikeBox;
        if (p.bottom > p.top) box = Box{p.top, p.bottom - 1, p.left, p.right - 1};
        return box;
    }
    const std::size_t cells = std::min(mask.strike.size(), static_cast<std::size_t>(std::max(mask.width, 0)) *
                                                               static_cast<std::size_t>(std::max(mask.height, 0)));
    for (std::size_t i = 0; i < cells; ++i) {
        if (mask.strike[i] == 0) continue;
        const int row = static_cast<int>(i / static_cast<std::size_t>(mask.width));
        const int col = static_cast<int>(i % static_cast<std::size_t>(mask.width));
        box.top = std::min(box.top, row);
        box.bottom = std::max(box.bottom, row);
        box.left = std::min(box.left, col);
        box.right = std::max(box.right, col);
    }
    return box;
}

// Content may hold any 32-bit numbers: sums are taken in 64 bits and what
// is kept is held to the 32-bit range.
std::int32_t held32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

// Timing, reach and height of a move's strike, from its frames in order.
void learnStrike(KnownMove& k)
{
    const Animation* a = k.move->animation.get();
    if (a == nullptr) return;
    k.loops = a->loops != 0;
    // Fewer than 2^31 frames of steps below 2^31: no 64-bit sum overflows.
    std::int64_t time = 0, forward = 0, rise = 0;
    for (const auto& frame : a->frames) {
        if (!frame) continue;
        const Frame& f = *frame;
        // A frame's step is taken when it appears; negative dx goes forward.
        forward -= f.dx;
        rise -= f.dy;
        k.peak = std::max(k.peak, held32(rise));
        const std::int64_t length = std::max(f.duration, 0);
        if (length > 0 && f.image && f.image->mask) {
            const Box box = strikeBox(*f.image->mask);
            if (!box.empty()) {
                k.strikeFrames.push_back({&f, held32(forward), held32(rise)});
                // Pictures face toward column 0: column c lies hotspotX - c ahead.
                const std::int32_t far = held32(std::int64_t{f.hotspotX} - box.left + forward);
                const std::int32_t near = held32(std::int64_t{f.hotspotX} - box.right + forward);
                const std::int32_t high = held32(std::int64_t{f.hotspotY} - box.top + rise);
                const std::int32_t low = held32(std::int64_t{f.hotspotY} - box.bottom + rise);
                if (!k.strikes) {
                    k.strikes = true;
                    k.strikeStart = held32(time);
                    k.reachNear = near;
                    k.reachFar = far;
                    k.strikeLow = low;
                    k.strikeHigh = high;
                }
                k.strikeEnd = held32(time + length);
                k.reachNear = std::min(k.reachNear, near);
                k.reachFar = std::max(k.reachFar, far);
                k.strikeLow = std::min(k.strikeLow, low);
                k.strikeHigh = std::max(k.strikeHigh, high);
            }
        }
        time += length;
    }
    k.duration = held32(time);
    k.forwardStep = held32(forward);
}

bool matches(const ButtonSet& step, const ButtonSet& held) { return stepMatches(step, held); }

// A release that changes nothing but adds the held set to the history again.
bool repeatAction(const ButtonSet& held, std::vector<KeyAction>& out)
{
    for (int c : kPlayerCodes) {
        if (!held.contains(c)) {
            out.push_back({c, false});
            return true;
        }
    }
    return false;
}

ButtonSet withAir(ButtonSet held)
{
    held.add(Air);
    return held;
}

// Presses and releases whose snapshots are the move's steps, oldest first,
// each one event after the other; empty when some step cannot follow the
// one before with a single press or release.
std::vector<KeyAction> planKeys(const Move& move)
{
    std::vector<KeyAction> out;
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(move.stepCount, 0)), move.steps.size());
    if (n == 0) return {};
    ButtonSet held;
    for (std::size_t i = n; i-- > 0;) {
        const ButtonSet& step = move.steps[i];
        ButtonSet want;  // the step's buttons without the wildcard
        for (int c : step.codes()) {
            if (c == Wildcard || c == Air) continue;  // the air is there, not pressed
            if (!playerCode(c)) return {};
            want.add(c);
        }
        if (i == n - 1) {
            // The first step may be reached any way: only its snapshot counts.
            for (int c : want.codes()) {
                out.push_back({c, true});
                held.add(c);
            }
            if (want.empty() && !repeatAction(held, out)) return {};
            continue;
        }
        if (matches(step, held) || matches(step, withAir(held))) {
            if (!repeatAction(held, out)) return {};
            continue;
        }
        bool found = false;
        for (int c : kPlayerCodes) {
            ButtonSet next = held;
            if (held.contains(c)) next.remove(c); else next.add(c);
            if (matches(step, next) || matches(step, withAir(next))) {
                out.push_back({c, !held.contains(c)});
                held = next;
                found = true;
                break;
            }
        }
        if (!found) return {};
    }
    return out;
}

// A fighter of the Character on nowhere in particular, playing its
// default move, to try key plans on.
struct Trial {
    Level level;
    Fighter fighter;
    explicit Trial(const Character& c, bool inAir = false) : fighter(c, level, Side::Right)
    {
        fighter.inAir = inAir;
    }

    void run(const std::vector<KeyAction>& keys)
    {
        for (const KeyAction& k : keys) {
            if (k.press) pressButton(fighter, k.code, 0);
            else releaseButton(fighter, k.code, 0);
        }
    }
    void releaseAll()
    {
        for (int c : fighter.held.codes()) releaseButton(fighter, c, 0);
    }
};

// Whether the plan starts the move, and (for a move that plays once) the
// move stays when every button is let go.
bool planWorks(const Character& c, const KnownMove& k)
{
    Trial trial(c, k.air);
    trial.run(k.keys);
    if (trial.fighter.currentMove != k.move) return false;
    if (k.loops) return true;
    trial.releaseAll();
    return trial.fighter.currentMove == k.move;
}

// The move a single press of `code` starts.
const Move* movePressed(const Character& c, int code)
{
    Trial trial(c);
    trial.run({{code, true}});
    return trial.fighter.currentMove;
}

}  // namespace

MoveKnowledge learnMoves(const Character& character)
{
    MoveKnowledge out;
    out.character = &character;
    const std::size_t ordinary = static_cast<std::size_t>(std::max(character.moveCount, 0));
    for (std::size_t i = 0; i < character.moves.size(); ++i) {
        KnownMove k;
        k.move = character.moves[i].get();
        if (k.move == nullptr) {
            out.moves.push_back(k);
            continue;
        }
        learnStrike(k);
        if (i < ordinary && character.defaultMove() != nullptr) {
            k.keys = planKeys(*k.move);
            k.special = k.move->stepCount > 1;
            k.air = madeInAir(k.move);
            if (!k.keys.empty() && !planWorks(character, k)) k.keys.clear();
        }
        out.moves.push_back(std::move(k));
    }
    if (character.defaultMove() == nullptr) return out;
    for (std::size_t i = 0; i < out.moves.size(); ++i)
        if (out.moves[i].strikes && !out.moves[i].keys.empty())
            (out.moves[i].air ? out.airAttacks : out.attacks).push_back(static_cast<int>(i));
    const int walk = out.indexOf(movePressed(character, Forward));
    if (walk >= 0 && out.moves[walk].forwardStep > 0 && out.moves[walk].loops) out.walk = walk;
    const int back = out.indexOf(movePressed(character, Back));
    if (back >= 0 && out.moves[back].forwardStep < 0 && out.moves[back].loops) out.back = back;
    const int jump = out.indexOf(movePressed(character, Up));
    if (jump >= 0 && out.moves[jump].move && liftsFighter(*out.moves[jump].move)) out.jump = jump;
    const int block = out.indexOf(movePressed(character, Block));
    if (block >= 0 && out.moves[block].move != character.defaultMove()) out.block = block;
    return out;
}

}  // namespace ib
