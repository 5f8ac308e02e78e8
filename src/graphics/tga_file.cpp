#include "graphics/tga_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/display_types.h"

namespace ib {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kHeaderSize = 18;

}  // namespace

TgaRead readTgaFile(const std::string& path, TgaFile& out)
{
    out = TgaFile{};
    if (path.find('\0') != std::string::npos) return TgaRead::CannotOpen;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return TgaRead::CannotOpen;

    std::uint8_t header[kHeaderSize] = {};
    std::fread(header, 1, kHeaderSize, file.get());
    if (std::ferror(file.get())) return TgaRead::CannotOpen;
    out.width = header[12] | (header[13] << 8);
    out.height = header[14] | (header[15] << 8);
    if (out.width > kMaxSurfaceSide || out.height > kMaxSurfaceSide) return TgaRead::TooLarge;

    // Size the buffer by what the file holds, so a short file with a large
    // header costs no more memory than the file itself.
    const std::size_t wanted = 2 * static_cast<std::size_t>(out.width) * out.height;
    std::size_t available = wanted;
    const long here = std::ftell(file.get());
    if (here >= 0 && std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long end = std::ftell(file.get());
        if (end >= here) available = std::min(wanted, static_cast<std::size_t>(end - here));
        std::fseek(file.get(), here, SEEK_SET);
    }
    out.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(available);
    out.byteCount = std::fread(out.bytes.get(), 1, available, file.get());
    if (std::ferror(file.get())) return TgaRead::CannotOpen;
    return TgaRead::Ok;
}

}  // namespace ib
