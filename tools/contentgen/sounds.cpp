#include "contentgen/sounds.h"

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "contentgen/prng.h"
#include "contentgen/wav.h"

namespace contentgen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDt = 1.0 / kSampleRate;

Wave silence(int ms) { return Wave(static_cast<std::size_t>(kSampleRate * ms / 1000), 0.0); }

// Rises over `attack` seconds, then falls by e every `tau` seconds.
double envelope(double t, double attack, double tau)
{
    const double rise = attack > 0.0 && t < attack ? t / attack : 1.0;
    return rise * std::exp(-t / tau);
}

// A sine whose frequency glides from f0 toward f1 by e every `glide` s.
void addGlide(Wave& w, double start, double f0, double f1, double glide, double attack, double tau,
              double gain)
{
    double phase = 0.0;
    for (std::size_t i = static_cast<std::size_t>(start * kSampleRate); i < w.size(); ++i) {
        const double t = static_cast<double>(i) * kDt - start;
        if (t > attack + 12.0 * tau) break;  // below a millionth
        const double f = f1 + (f0 - f1) * std::exp(-t / glide);
        phase += kTwoPi * f * kDt;
        w[i] += gain * envelope(t, attack, tau) * std::sin(phase);
    }
}

// Noise through a band-pass filter whose centre moves from f0 to f1 over
// the sound's length (a state-variable filter).
void addNoiseBand(Wave& w, Prng& rng, double start, double f0, double f1, double q, double attack,
                  double tau, double gain)
{
    double low = 0.0, band = 0.0;
    const std::size_t first = static_cast<std::size_t>(start * kSampleRate);
    for (std::size_t i = first; i < w.size(); ++i) {
        const double t = static_cast<double>(i - first) * kDt;
        if (t > attack + 12.0 * tau) break;
        const double along = static_cast<double>(i - first) / static_cast<double>(w.size() - first);
        const double f = f0 * std::pow(f1 / f0, along);
        const double k = 2.0 * std::sin(std::numbers::pi * f * kDt);
        const double high = rng.between(-1.0, 1.0) - low - q * band;
        band += k * high;
        low += k * band;
        w[i] += gain * envelope(t, attack, tau) * band;
    }
}

// A bell: inharmonic partials, the higher ones dying sooner.
void addBell(Wave& w, double start, double f, double tau, double gain, const std::vector<double>& ratios)
{
    for (std::size_t p = 0; p < ratios.size(); ++p)
        addGlide(w, start, f * ratios[p], f * ratios[p], 1.0, 0.002, tau / (1.0 + 0.6 * p),
                 gain / (1.0 + p));
}

// A plucked string (Karplus-Strong): a burst of noise in a delay line one
// period long, softened on every trip.
void addPluck(Wave& w, Prng& rng, double start, double f, double gain, double length)
{
    const auto period = static_cast<std::size_t>(kSampleRate / f);
    std::vector<double> line(period);
    for (double& s : line) s = rng.between(-1.0, 1.0);
    // A softer burst makes a rounder, less wiry note.
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 1; i < period; ++i) line[i] = 0.5 * (line[i] + line[i - 1]);
    const std::size_t first = static_cast<std::size_t>(start * kSampleRate);
    const std::size_t count = static_cast<std::size_t>(length * kSampleRate);
    double previous = 0.0;
    for (std::size_t n = 0; n < count && first + n < w.size(); ++n) {
        const std::size_t at = n % period;
        const double out = line[at];
        line[at] = 0.996 * 0.5 * (out + previous);
        previous = out;
        const double fadeOut = n + 400 > count ? static_cast<double>(count - n) / 400.0 : 1.0;
        w[first + n] += gain * out * fadeOut;
    }
}

Wave swish()
{
    Wave w = silence(220);
    Prng rng(seedFrom("swish"));
    addNoiseBand(w, rng, 0.0, 2400.0, 500.0, 0.5, 0.06, 0.06, 1.0);
    return w;
}

// A blow that lands: a falling thump under a wet burst and a few drops.
void addSplat(Wave& w, Prng& rng, double weight)
{
    addGlide(w, 0.0, 180.0 / weight, 55.0 / weight, 0.04, 0.002, 0.07 * weight, 1.0);
    addNoiseBand(w, rng, 0.0, 1800.0, 300.0, 0.8, 0.001, 0.05 * weight, 1.6);
    for (int drop = 0; drop < 4; ++drop)
        addGlide(w, rng.between(0.04, 0.18), rng.between(700.0, 1300.0), 400.0, 0.01, 0.001, 0.012,
                 0.25);
}

Wave hit()
{
    Wave w = silence(300);
    Prng rng(seedFrom("hit"));
    addSplat(w, rng, 1.0);
    return w;
}

Wave block()
{
    Wave w = silence(250);
    Prng rng(seedFrom("block"));
    addGlide(w, 0.0, 120.0, 70.0, 0.03, 0.002, 0.05, 1.0);
    addNoiseBand(w, rng, 0.0, 400.0, 200.0, 1.2, 0.001, 0.03, 0.8);
    return w;
}

Wave knockout()
{
    Wave w = silence(1800);
    Prng rng(seedFrom("knockout"));
    addSplat(w, rng, 1.6);
    addBell(w, 0.15, 98.0, 1.1, 0.6, {1.0, 1.47, 2.09, 2.56, 3.18, 4.12});
    addBell(w, 0.15, 98.7, 1.1, 0.3, {1.0, 2.09});  // a slow beat against the first
    return w;
}

Wave plip()
{
    Wave w = silence(120);
    addGlide(w, 0.0, 500.0, 1500.0, 0.03, 0.004, 0.03, 1.0);
    return w;
}

Wave chime()
{
    Wave w = silence(900);
    addBell(w, 0.0, 1318.5, 0.35, 0.6, {1.0, 2.76, 5.4});  // E6
    addBell(w, 0.12, 1975.5, 0.35, 0.5, {1.0, 2.76});     // B6
    return w;
}

// Four bars on D in a desert mode (D Eb F# G A Bb C): a drone, a plucked
// tune and a hand drum, at 100 beats a minute. Whatever rings past the end
// is folded onto the beginning, so the loop has no seam.
Wave desertMusic()
{
    constexpr double kBeat = 0.6;
    constexpr int kLoopMs = 9600;
    Wave w = silence(kLoopMs + 1500);
    const std::size_t loop = static_cast<std::size_t>(kSampleRate * kLoopMs / 1000);
    Prng rng(seedFrom("desert.music"));

    // The drone: D and A, whole cycles in the loop, breathing slowly.
    for (std::size_t i = 0; i < loop; ++i) {
        const double t = static_cast<double>(i) * kDt;
        const double breath = 0.8 + 0.2 * std::sin(kTwoPi * t / 9.6);
        w[i] += 0.10 * breath * (std::sin(kTwoPi * (705.0 / 9.6) * t) + 0.6 * std::sin(kTwoPi * (1057.0 / 9.6) * t));
    }

    // The tune in eighths: scale steps from D4 (-1: a rest).
    static const double kScale[] = {293.66, 311.13, 369.99, 392.00, 440.00, 466.16, 523.25, 587.33};
    static const int kTune[32] = {0, -1, 1, 2, 3, -1, 2, 1, 2, 3, 4, -1, 5, 4, 3, 2,
                                  4, -1, 5, 6, 7, 6, 5, 4, 3, 2, 1, -1, 0, -1, -1, -1};
    for (int e = 0; e < 32; ++e)
        if (kTune[e] >= 0) addPluck(w, rng, e * kBeat / 2.0, kScale[kTune[e]], 0.35, 0.9);

    // The drum: "dum" low, "tek" high, in a two-beat pattern (in eighths).
    static const char kDrum[] = "D.tkD.t.";
    for (int e = 0; e < 32; ++e) {
        const double at = e * kBeat / 2.0;
        switch (kDrum[e % 8]) {
        case 'D': addGlide(w, at, 140.0, 80.0, 0.05, 0.002, 0.12, 0.45); break;
        case 't': addNoiseBand(w, rng, at, 3500.0, 3000.0, 0.7, 0.001, 0.02, 0.25); break;
        case 'k': addNoiseBand(w, rng, at, 2500.0, 2200.0, 0.7, 0.001, 0.015, 0.15); break;
        default: break;
        }
    }

    for (std::size_t i = loop; i < w.size(); ++i) w[i - loop] += w[i];
    w.resize(loop);
    return w;
}

// Four bars of a slow pentatonic tune on A (A C D E G) over the lapping of
// water and a temple bell on each bar, at 75 beats a minute, folded into a
// seamless loop as the desert's.
Wave harbourMusic()
{
    constexpr double kBeat = 0.8;
    constexpr int kLoopMs = 12800;
    Wave w = silence(kLoopMs + 2500);
    const std::size_t loop = static_cast<std::size_t>(kSampleRate * kLoopMs / 1000);
    Prng rng(seedFrom("harbour.music"));

    // Water: low noise swelling twice a bar.
    double low = 0.0, band = 0.0;
    for (std::size_t i = 0; i < loop; ++i) {
        const double t = static_cast<double>(i) * kDt;
        const double swell = 0.5 + 0.5 * std::sin(kTwoPi * t / (2.0 * kBeat));
        const double k = 2.0 * std::sin(std::numbers::pi * 320.0 * kDt);
        const double high = rng.between(-1.0, 1.0) - low - 1.2 * band;
        band += k * high;
        low += k * band;
        w[i] += 0.12 * swell * swell * band;
    }
    static const double kScale[] = {220.00, 261.63, 293.66, 329.63, 392.00, 440.00, 523.25};
    static const int kTune[16] = {4, -1, 3, 2, 3, -1, -1, 1, 2, -1, 0, 1, 0, -1, -1, -1};
    for (int q = 0; q < 16; ++q)
        if (kTune[q] >= 0) addPluck(w, rng, q * kBeat, kScale[kTune[q]], 0.35, 1.6);
    for (int bar = 0; bar < 4; ++bar) addBell(w, bar * 4 * kBeat, 110.0, 1.8, 0.35, {1.0, 2.0, 2.76, 4.07});

    for (std::size_t i = loop; i < w.size(); ++i) w[i - loop] += w[i];
    w.resize(loop);
    return w;
}

// Air cut by a limb: a noise band falling from f0 to f1, heavier limbs
// lower and longer; `weight` above 0 adds a body thump under it.
Wave whoosh(const char* seed, int ms, double f0, double f1, double attack, double weight)
{
    Wave w = silence(ms);
    Prng rng(seedFrom(seed));
    const double length = ms / 1000.0;
    addNoiseBand(w, rng, 0.0, f0, f1, 0.5, attack, length * 0.35, 1.0);
    if (weight > 0) addGlide(w, attack, 110.0 / weight, 45.0 / weight, 0.05, 0.004, 0.06 * weight, 0.7);
    return w;
}

Wave slateSpecial()
{
    Wave w = whoosh("slate-special", 900, 700.0, 150.0, 0.12, 1.6);
    Prng rng(seedFrom("slate-special.wave"));
    addNoiseBand(w, rng, 0.18, 500.0, 2500.0, 0.9, 0.05, 0.25, 0.9);
    addGlide(w, 0.18, 70.0, 40.0, 0.2, 0.01, 0.3, 0.5);
    return w;
}

Wave slateLeap()
{
    Wave w = silence(700);
    Prng rng(seedFrom("slate-leap"));
    addNoiseBand(w, rng, 0.0, 300.0, 900.0, 0.6, 0.08, 0.1, 0.8);
    addNoiseBand(w, rng, 0.3, 1200.0, 200.0, 0.5, 0.04, 0.1, 1.0);
    addGlide(w, 0.36, 90.0, 40.0, 0.05, 0.004, 0.1, 0.6);
    return w;
}

Wave wispSpecial()
{
    Wave w = silence(420);
    Prng rng(seedFrom("wisp-special"));
    for (int i = 0; i < 3; ++i) addNoiseBand(w, rng, 0.08 + i * 0.065, 5000.0, 1800.0, 0.4, 0.01, 0.03, 0.9);
    return w;
}

Wave wispLeap()
{
    Wave w = silence(360);
    Prng rng(seedFrom("wisp-leap"));
    addNoiseBand(w, rng, 0.0, 900.0, 2500.0, 0.6, 0.03, 0.05, 0.6);
    addNoiseBand(w, rng, 0.16, 4200.0, 1500.0, 0.4, 0.01, 0.05, 1.0);
    return w;
}

// An effect ends in silence: its last sixth fades out, so nothing is cut
// off with a click.
Wave fadedOut(Wave w)
{
    const std::size_t fade = w.size() / 6;
    for (std::size_t i = 0; i < fade; ++i) w[w.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
    return w;
}

}  // namespace

void makeSounds(const std::string& outDir)
{
    const std::map<std::string, std::function<Wave()>> makers = {
        {"swish.wav", swish},       {"hit.wav", hit},       {"block.wav", block},
        {"knockout.wav", knockout}, {"plip.wav", plip},     {"chime.wav", chime},
        {"desert.music.wav", desertMusic},
        {"harbour.music.wav", harbourMusic},
        {"rook-air.wav", [] { return whoosh("rook-air", 320, 1500.0, 260.0, 0.08, 0.9); }},
        {"quill-air.wav", [] { return whoosh("quill-air", 240, 4600.0, 1200.0, 0.03, 0.0); }},
        {"slate-punch.wav", [] { return whoosh("slate-punch", 340, 1100.0, 180.0, 0.1, 0.0); }},
        {"slate-kick.wav", [] { return whoosh("slate-kick", 380, 900.0, 160.0, 0.12, 1.3); }},
        {"slate-low.wav", [] { return whoosh("slate-low", 360, 600.0, 120.0, 0.1, 0.0); }},
        {"slate-special.wav", slateSpecial},
        {"slate-leap.wav", slateLeap},
        {"wisp-punch.wav", [] { return whoosh("wisp-punch", 130, 5200.0, 2200.0, 0.02, 0.0); }},
        {"wisp-kick.wav", [] { return whoosh("wisp-kick", 200, 4200.0, 900.0, 0.04, 0.0); }},
        {"wisp-low.wav", [] { return whoosh("wisp-low", 180, 2400.0, 700.0, 0.03, 0.0); }},
        {"wisp-special.wav", wispSpecial},
        {"wisp-dash.wav", [] { return whoosh("wisp-dash", 260, 1400.0, 3200.0, 0.05, 0.0); }},
        {"wisp-leap.wav", wispLeap},
    };
    for (const SoundFile& file : kSoundFiles) {
        // The music loops; it is made quieter than the effects it plays under.
        const bool music = std::string(file.name).find(".music.") != std::string::npos;
        Wave wave = makers.at(file.name)();
        writeWav(outDir + "/" + file.name, music ? wave : fadedOut(std::move(wave)), music ? 0.6 : 0.8);
    }
}

}  // namespace contentgen
