#include "app/replay_platform.h"

#include <algorithm>

#include "app/game.h"

namespace ib {

namespace {

// Paced waits and sleeps are cut into steps this long, so Escape is seen.
constexpr std::uint32_t kPollMs = 10;

}  // namespace

ReplayPlatform::ReplayPlatform(Platform& display, const Replay& replay, bool paced)
    : WrappedPlatform(display), replay_(replay), cursor_(replay), paced_(paced)
{
}

std::string ReplayPlatform::problem() const
{
    std::uint32_t divergedAt = divergedAt_;
    Outcome outcome = outcome_;
    // The game closed by itself while recorded passes were left (a game
    // that never reached its loop has said why itself).
    if (outcome == Outcome::Playing && contentChecked_ && !displayEnded_ &&
        cursor_.passesTaken() < replay_.passes) {
        outcome = Outcome::Diverged;
        divergedAt = cursor_.passesTaken() + 1;
    }
    switch (outcome) {
    case Outcome::OtherContent: return "replay was recorded with other content";
    case Outcome::Diverged: {
        std::string text = "replay diverged at pass " + std::to_string(divergedAt);
        if (replay_.header.gameVersion != INKBLOT_VERSION)
            text += " (recorded by version " + replay_.header.gameVersion + ", this is version " +
                    INKBLOT_VERSION + ")";
        return text;
    }
    default: return {};
    }
}

void ReplayPlatform::stop(Outcome why, std::uint32_t pass)
{
    if (outcome_ != Outcome::Playing) return;
    outcome_ = why;
    divergedAt_ = pass;
    postOwnMessage({WM_CLOSE, 0});
}

void ReplayPlatform::takeDisplayMessages()
{
    while (inner_.peekMessage()) {
        const Message m = inner_.getMessage();
        if ((m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) || m.message == WM_CLOSE ||
            m.message == WM_QUIT)
            stop(Outcome::Stopped);
    }
}

bool ReplayPlatform::waitForNextPass()
{
    if (!paceStarted_) {
        paceStarted_ = true;
        realStart_ = inner_.timeGetTime();
        return true;
    }
    const std::uint64_t due = recordedSinceStart_ + cursor_.nextDelta();
    for (;;) {
        const std::uint64_t real = static_cast<std::uint32_t>(inner_.timeGetTime() - realStart_);
        if (real >= due) return true;
        inner_.sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(due - real, kPollMs)));
        takeDisplayMessages();
        if (!queue_.empty()) return false;
    }
}

bool ReplayPlatform::peekMessage()
{
    takeDisplayMessages();
    if (!contentChecked_ && game_) {
        // The loop takes its first message once the game has read all of
        // its content.
        contentChecked_ = true;
        if (game_->content.contentFiles.fingerprint() != replay_.header.content) stop(Outcome::OtherContent);
    }
    if (!queue_.empty()) return true;
    if (outcome_ != Outcome::Playing) {
        // Stopped, and the close did not end the game: end it here.
        postQuitMessage(0);
        return true;
    }
    if (cursor_.messageNext()) {
        postMessage(cursor_.takeMessage());
        return true;
    }
    if (cursor_.atEnd()) {
        stop(Outcome::Done);
        return true;
    }
    if (paced_ && !waitForNextPass()) return true;
    return false;
}

void ReplayPlatform::waitMessage()
{
    if (peekMessage()) return;
    // The recording ran a pass here, so its window was not minimised: this
    // game is not where the recorded one was.
    stop(Outcome::Diverged, cursor_.passesTaken() + 1);
}

void ReplayPlatform::sleep(std::uint32_t ms)
{
    if (!paced_) {
        inner_.sleep(ms);
        return;
    }
    while (ms > 0 && outcome_ == Outcome::Playing) {
        const std::uint32_t step = std::min(ms, kPollMs);
        inner_.sleep(step);
        ms -= step;
        takeDisplayMessages();
    }
}

void ReplayPlatform::beginPass()
{
    if (cursor_.atEnd() || cursor_.messageNext()) {
        // Only after a stop: the pass runs with the last reading.
        stop(Outcome::Diverged, cursor_.passesTaken() + 1);
    } else {
        const bool first = cursor_.passesTaken() == 0;
        const std::uint32_t delta = cursor_.nextDelta();
        cursor_.takePass();
        if (!first) recordedSinceStart_ += delta;
    }
    inner_.beginPass();
}

bool ReplayPlatform::endPass()
{
    const std::uint32_t pass = cursor_.passesTaken();
    for (; nextContent_ < replay_.contents.size() && replay_.contents[nextContent_].pass <= pass; ++nextContent_) {
        const ReplayHash& c = replay_.contents[nextContent_];
        if (c.pass == pass && game_ && game_->content.contentFiles.fingerprint() != c.hash) stop(Outcome::OtherContent);
    }
    while (nextHash_ < replay_.hashes.size() && replay_.hashes[nextHash_].pass <= pass) {
        const ReplayHash& h = replay_.hashes[nextHash_++];
        if (h.pass == pass && game_ && hashFight(game_->fight) != h.hash) stop(Outcome::Diverged, pass);
    }
    if (inner_.endPass()) return true;
    displayEnded_ = true;
    return false;
}

}  // namespace ib
