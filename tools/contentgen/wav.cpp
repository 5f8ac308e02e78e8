#include "contentgen/wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace contentgen {

namespace {

void put16(std::string& out, std::uint32_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

void writeWav(const std::string& path, Wave wave, double peak)
{
    double most = 0.0;
    for (double s : wave) most = std::max(most, std::fabs(s));
    if (most <= 0.0) throw std::runtime_error(path + ": the sound is silent");
    const auto dataBytes = static_cast<std::uint32_t>(wave.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);
    const double scale = 32767.0 * peak / most;
    for (double s : wave) {
        const long v = std::lround(s * scale);
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32767L, 32767L))));
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.write(out.data(), static_cast<std::streamsize>(out.size())))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace contentgen
