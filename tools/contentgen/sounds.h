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
};

// Writes every file of kSoundFiles into outDir; the same bytes every run.
void makeSounds(const std::string& outDir);

}  // namespace contentgen
