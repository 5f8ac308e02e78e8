#include "graphics/tga_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/display_types.h"

namespace ib {

namespace {

constexpr std::size_t kHeaderSize = 18;

struct FileDescriptor {
    explicit FileDescriptor(int f) : fd(f) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0) ::close(fd);
    }
};

// Reads up to n bytes; fewer only at the end of the file. False on an error.
bool readFully(int fd, std::uint8_t* into, std::size_t n, std::size_t& got)
{
    got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, into + got, n - got);
        if (r == 0) return true;
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        got += static_cast<std::size_t>(r);
    }
    return true;
}

// Width and height from the header; true when a side is too large.
bool readSides(const std::uint8_t* header, TgaFile& out)
{
    out.width = header[12] | (header[13] << 8);
    out.height = header[14] | (header[15] << 8);
    return out.width > kMaxSurfaceSide || out.height > kMaxSurfaceSide;
}

}  // namespace

TgaRead readTgaFile(const std::string& path, TgaFile& out)
{
    out = TgaFile{};
    if (path.find('\0') != std::string::npos) return TgaRead::CannotOpen;
    const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) return TgaRead::CannotOpen;
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) return TgaRead::CannotOpen;
    const auto fileSize = static_cast<std::size_t>(info.st_size);

    // Header bytes a short file does not hold count as 0.
    std::uint8_t header[kHeaderSize] = {};
    std::size_t got = 0;
    if (!readFully(file.fd, header, kHeaderSize, got)) return TgaRead::CannotOpen;
    if (readSides(header, out)) return TgaRead::TooLarge;
    // Sized by what the file holds when its size is known, so a short file
    // with a large header costs no more memory than the file itself.
    const std::size_t wanted = 2 * static_cast<std::size_t>(out.width) * out.height;
    const std::size_t available =
        S_ISREG(info.st_mode) ? std::min(wanted, fileSize > kHeaderSize ? fileSize - kHeaderSize : 0)
                              : wanted;
    out.storage.resize(available);
    if (!readFully(file.fd, out.storage.data(), available, out.byteCount)) return TgaRead::CannotOpen;
    out.bytes = out.storage.data();
    return TgaRead::Ok;
}

}  // namespace ib
