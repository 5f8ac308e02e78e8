#include "content/content_files.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace ib {

namespace {

constexpr std::uint64_t kMul1 = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kMul2 = 0xBF58476D1CE4E5B9ull;

std::uint64_t mix(std::uint64_t h, std::uint64_t word)
{
    h ^= word * kMul1;
    h = (h << 27) | (h >> 37);
    return h * kMul2 + 0x94D049BB133111EBull;
}

// Eight bytes in a fixed (little-endian) order, whatever the machine's.
std::uint64_t word(const unsigned char* p, std::size_t n)
{
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < n; ++i) w |= std::uint64_t{p[i]} << (8 * i);
    return w;
}

// Pictures are megabytes: eight bytes a step keeps the fingerprint to a
// few milliseconds of start-up.
std::uint64_t hashBytes(std::uint64_t h, const void* bytes, std::size_t size)
{
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) h = mix(h, word(p + i, 8));
    h = mix(h, word(p + i, size - i));
    return mix(h, size);
}

}  // namespace

void ContentFiles::setFolder(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folder_ = std::move(folder);
}

std::string ContentFiles::pathOf(const std::string& name) const
{
    if (!name.empty() && name.front() == '/') return name;
    std::string path = folder_.empty() ? name : folder_ == "/" ? "/" + name : folder_ + "/" + name;
    if (userFolder_.empty()) return path;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return path;
    std::string own = userFolder_ + "/" + name;
    return std::filesystem::exists(own, ec) ? own : path;
}

void ContentFiles::noteRead(const std::string& name, const void* bytes, std::size_t size)
{
    ++filesRead_;
    Part* part = openPart_.empty() ? nullptr : &parts_[openPart_];
    if (part) {
        part->fingerprint = hashBytes(part->fingerprint, name.data(), name.size());
        part->fingerprint = hashBytes(part->fingerprint, bytes, size);
        // A later part stays out of the start's order.
        if (part->late) return;
    }
    fingerprint_ = hashBytes(fingerprint_, name.data(), name.size());
    fingerprint_ = hashBytes(fingerprint_, bytes, size);
}

void ContentFiles::openPart(const std::string& key)
{
    openPart_ = key;
    parts_.try_emplace(key, Part{0x9E3779B97F4A7C15ull, startUpDone_});
}

std::optional<std::uint64_t> ContentFiles::partFingerprint(const std::string& key) const
{
    const auto at = parts_.find(key);
    if (at == parts_.end()) return std::nullopt;
    return at->second.fingerprint;
}

std::uint64_t ContentFiles::fingerprint() const
{
    std::uint64_t h = fingerprint_;
    for (const auto& [key, part] : parts_)
        if (part.late) h = mix(hashBytes(h, key.data(), key.size()), part.fingerprint);
    return h;
}

std::uint64_t ContentFiles::fingerprintWith(const std::vector<std::string>& keys) const
{
    std::uint64_t h = fingerprint_;
    for (const auto& [key, part] : parts_)
        if (part.late && std::find(keys.begin(), keys.end(), key) != keys.end())
            h = mix(hashBytes(h, key.data(), key.size()), part.fingerprint);
    return h;
}

}  // namespace ib
