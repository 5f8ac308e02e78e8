// Test fixtures: a scratch directory that becomes the working directory,
// text files, and 16-bit TGA pictures written the way the game reads them.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace ib::test {

// Makes a fresh directory and changes into it; changes back and removes it
// on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

void writeFile(const std::string& path, const std::string& contents);

// A 16-bit TGA (A1R5G5B5 as the file stores it). pixel(x, y) gives the file
// value for column x of row y, y = 0 being the top row of the picture;
// rows are written bottom-up as the game expects.
void writeTga(const std::string& path, int width, int height,
              const std::function<std::uint16_t(int x, int y)>& pixel);
// A TGA of one colour.
void writeSolidTga(const std::string& path, int width, int height, std::uint16_t value);

// File values of a few colours (5 bits a channel).
constexpr std::uint16_t tgaRgb(int r, int g, int b)
{
    return static_cast<std::uint16_t>((r << 10) | (g << 5) | b);
}
constexpr std::uint16_t kTgaMagenta = tgaRgb(31, 0, 31);

// Milliseconds of the machine's steady clock, for tests that talk over
// real sockets.
inline std::uint32_t nowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace ib::test
