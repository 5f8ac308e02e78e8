#include "platform/recording_sound.h"

#include <fstream>

namespace ib {

namespace {

bool readable(const std::string& path, std::string& why)
{
    if (std::ifstream(path, std::ios::binary)) return true;
    why = "not found";
    return false;
}

}  // namespace

int RecordingSound::loadEffect(const std::string& path, std::string& why)
{
    if (!(check_ ? check_(path, false, why) : readable(path, why))) return -1;
    effects_.push_back(path);
    return static_cast<int>(effects_.size()) - 1;
}

bool RecordingSound::loadMusic(const std::string& path, std::string& why)
{
    if (!(check_ ? check_(path, true, why) : readable(path, why))) return false;
    music_ = path;
    return true;
}

void RecordingSound::playEffect(int handle, int volume, int pan)
{
    if (handle < 0 || static_cast<std::size_t>(handle) >= effects_.size()) return;
    played_.push_back({effects_[static_cast<std::size_t>(handle)], volume, pan});
}

}  // namespace ib
