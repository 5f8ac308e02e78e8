// The game's sounds, made from oscillators, noise and envelopes: the
// fight's effects and the desert's music loop, as WAV files.
#pragma once

#include <string>

namespace contentgen {

struct SoundFile {
    const char* name;
    int ms;  // its length: kSampleRate * ms / 1000 samples
};

inline constexpr SoundFile kSoundFiles[] = {
    {"swish.wav", 220},       // a striking move starts
    {"hit.wav", 300},         // a strike lands: a wet splat
    {"block.wav", 250},       // a blocked strike: a dull thud
    {"knockout.wav", 1800},   // a heavier blow and a gong
    {"plip.wav", 120},        // a fighter speaks
    {"chime.wav", 900},       // the splash is left
    {"desert.music.wav", 9600},  // four bars at 100 beats a minute, looped
    {"harbour.music.wav", 12800},  // four bars at 75 beats a minute, looped
    // The fighters' own moves (each replaces swish.wav for its move).
    {"rook-air.wav", 320},       // a stamp through the air
    {"quill-air.wav", 240},      // a long whip from above
    {"slate-punch.wav", 340},    // a heavy arm through the air
    {"slate-kick.wav", 380},     // a stamp
    {"slate-low.wav", 360},      // a low drag
    {"slate-special.wav", 900},  // fists on the ground and a rolling wave
    {"slate-leap.wav", 700},     // a grunt up and a hammer down
    {"wisp-punch.wav", 130},     // a quick zip
    {"wisp-kick.wav", 200},      // a whip
    {"wisp-low.wav", 180},       // a scuff
    {"wisp-special.wav", 420},   // three zips in a row
    {"wisp-dash.wav", 260},      // a rush of air
    {"wisp-leap.wav", 360},      // up, and a whip at the top
};

// Writes every file of kSoundFiles into outDir; the same bytes every run.
void makeSounds(const std::string& outDir);

}  // namespace contentgen
