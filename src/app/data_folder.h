// Which folder the game reads its content from. The first that answers:
// the --data option, the INKBLOT_DATA environment variable, the working
// directory when it holds the level's file, the content beside the program
// in its build folder, the content where an install puts it relative to
// the program (so a moved install still finds it), and last the folder the
// game was installed to.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "content/content_files.h"

namespace ib {

// A folder holds content when it holds the level's file.
inline constexpr const char* kContentMark = "desert.level";

struct DataFolderClues {
    std::string option;                       // --data DIR; empty when not given
    std::string environment;                  // INKBLOT_DATA; empty when unset
    std::filesystem::path workingDirectory;   // where the program was started; empty when unknown
    std::filesystem::path executable;         // the program's own file; empty when unknown
    std::filesystem::path relativeData;       // from the program's folder to the installed content
    std::filesystem::path installedData;      // the absolute content folder of the install
};

struct DataFolder {
    std::string folder;
    // When the folder does not hold the content: a line naming every folder
    // tried, for the message that the level cannot be read. Else empty.
    std::string tried;
};

DataFolder chooseDataFolder(const DataFolderClues& clues);

// The same for this program: its working directory, its own path, its
// environment and the folders it was built to be installed in.
DataFolder findDataFolder(const std::string& option);

// Points `files` at the folder findDataFolder gives.
void useDataFolder(ContentFiles& files, const std::string& option);

// Takes "--data DIR" out of the arguments (the last one given counts) into
// folder. False when --data comes last with no folder.
bool takeDataOption(std::vector<const char*>& args, std::string& folder);

}  // namespace ib
