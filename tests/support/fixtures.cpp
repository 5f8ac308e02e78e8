#include "support/fixtures.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace ib::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() : previous_(fs::current_path())
{
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("inkblot-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(dir_, ec);
}

void writeFile(const std::string& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << contents;
}

void writeTga(const std::string& path, int width, int height,
              const std::function<std::uint16_t(int x, int y)>& pixel)
{
    std::vector<unsigned char> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<unsigned char>(width & 0xFF);
    bytes[13] = static_cast<unsigned char>(width >> 8);
    bytes[14] = static_cast<unsigned char>(height & 0xFF);
    bytes[15] = static_cast<unsigned char>(height >> 8);
    bytes[16] = 16;
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        int y = height - 1 - fileRow;
        for (int x = 0; x < width; ++x) {
            std::uint16_t p = pixel(x, y);
            bytes.push_back(static_cast<unsigned char>(p & 0xFF));
            bytes.push_back(static_cast<unsigned char>(p >> 8));
        }
    }
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

void writeSolidTga(const std::string& path, int width, int height, std::uint16_t value)
{
    writeTga(path, width, height, [value](int, int) { return value; });
}

}  // namespace ib::test
