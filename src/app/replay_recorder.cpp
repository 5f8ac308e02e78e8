#include "app/replay_recorder.h"

#include "app/game.h"

namespace ib {

ReplayHeader replayHeaderOf(const Game& game)
{
    ReplayHeader h;
    h.gameVersion = INKBLOT_VERSION;
    h.content = game.content.contentFiles.fingerprint();
    if (game.screen.slowMode) h.args.push_back("slow");
    for (std::string& a : playArguments(game.playOptions)) h.args.push_back(std::move(a));
    // The keys and pad buttons the messages are read with (the user's own
    // controls file is not read in a playback).
    if (game.controllers.controls != defaultControls()) {
        h.args.push_back("--controls");
        h.args.push_back(controlsCode(game.controllers.controls));
    }
    return h;
}

void ReplayRecorder::start(const Game& game)
{
    if (started_) return;
    started_ = true;
    const ReplayHeader header = replayHeaderOf(game);
    lastContent_ = header.content;
    writer_.header(header);
}

void ReplayRecorder::message(const Game& game, const Message& m)
{
    start(game);
    writer_.message(m);
}

void ReplayRecorder::pass(const Game& game, std::uint32_t clock)
{
    start(game);
    writer_.passes(clock - lastClock_);
    lastClock_ = clock;
    ++passes_;
    // A fighter or stage loaded in the pass (the select screen's) is content
    // a playback must have too.
    if (const std::uint64_t content = game.content.contentFiles.fingerprint(); content != lastContent_) {
        writer_.content(passes_, content);
        lastContent_ = content;
    }
    lastHash_ = hashFight(game.fight);
    if (passes_ % kReplayHashEvery == 0) writer_.hash(passes_, lastHash_);
}

void ReplayRecorder::finish(const Game& game)
{
    start(game);
    if (passes_ % kReplayHashEvery != 0) writer_.hash(passes_, lastHash_);
    writer_.end(passes_);
}

}  // namespace ib
