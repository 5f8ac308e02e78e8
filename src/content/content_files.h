// Where the game's content is read from, and a fingerprint of every content
// file it has read. Files are named as the content gives them ("rook",
// "desert.background.tga"); the folder is put in front only to open them,
// so messages keep the names the content uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ib {

class ContentFiles {
public:
    // An empty folder reads from the working directory.
    explicit ContentFiles(std::string folder = {}) { setFolder(std::move(folder)); }

    void setFolder(std::string folder);
    const std::string& folder() const { return folder_; }
    // When the folder does not hold the content: a line naming the folders
    // the content was looked for in, added to the message that the level
    // cannot be read. Empty otherwise.
    void setFoldersTried(std::string line) { foldersTried_ = std::move(line); }
    const std::string& foldersTried() const { return foldersTried_; }

    // The player's own content folder: a file the content folder does not
    // hold is read from there. Empty: none.
    void setUserFolder(std::string folder) { userFolder_ = std::move(folder); }
    const std::string& userFolder() const { return userFolder_; }

    // The path to open for a file of the content.
    std::string pathOf(const std::string& name) const;

    // Adds a file that was read, by its name and bytes, to the fingerprint.
    // Only first reads count: a picture read again after the display lost
    // it is not noted.
    void noteRead(const std::string& name, const void* bytes, std::size_t size);

    // The same for the same files read in the same order, on every run and
    // machine; changes when any byte or name of them does. The fighters and
    // stages loaded after start-up count whatever order they came in.
    std::uint64_t fingerprint() const;
    // Only what start-up read (and what was read outside a fighter or stage
    // since).
    std::uint64_t startFingerprint() const { return fingerprint_; }
    // The start's, with only those of the parts named that were loaded
    // after start-up: the content a fight of just these needs.
    std::uint64_t fingerprintWith(const std::vector<std::string>& parts) const;
    std::size_t filesRead() const { return filesRead_; }

    // The files of one fighter or stage ("fighter:rook", "stage:desert"),
    // while it is read, count for its own fingerprint too. Parts opened
    // once start-up is over are the later ones.
    void openPart(const std::string& key);
    void closePart() { openPart_.clear(); }
    void startUpDone() { startUpDone_ = true; }
    // The fingerprint of one part's files, name and bytes; nothing when it
    // was never read.
    std::optional<std::uint64_t> partFingerprint(const std::string& key) const;

private:
    struct Part {
        std::uint64_t fingerprint = 0;
        bool late = false;
    };
    std::map<std::string, Part> parts_;
    std::string openPart_;
    bool startUpDone_ = false;
    std::string folder_;
    std::string foldersTried_;
    std::string userFolder_;
    std::uint64_t fingerprint_ = 0x9E3779B97F4A7C15ull;
    std::size_t filesRead_ = 0;
};

}  // namespace ib

namespace ib {

// Reads one fighter's or stage's files as a part of their own while it
// lives.
class ContentPart {
public:
    ContentPart(ContentFiles* files, const std::string& key) : files_(files)
    {
        if (files_) files_->openPart(key);
    }
    ~ContentPart()
    {
        if (files_) files_->closePart();
    }
    ContentPart(const ContentPart&) = delete;
    ContentPart& operator=(const ContentPart&) = delete;

private:
    ContentFiles* files_;
};

}  // namespace ib
