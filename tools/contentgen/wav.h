// Writes sounds as the game plays them: 16-bit PCM mono WAV files.
#pragma once

#include <string>
#include <vector>

namespace contentgen {

constexpr int kSampleRate = 22050;

// A sound being made: samples at kSampleRate, full scale at +-1.
using Wave = std::vector<double>;

// Scales the wave so that its peak is `peak` of full scale, then writes it
// rounded to 16 bits. Throws std::runtime_error when the file cannot be
// written or the wave is silent.
void writeWav(const std::string& path, Wave wave, double peak = 0.8);

}  // namespace contentgen
