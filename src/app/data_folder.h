// Which folder the game reads its content from. The first that answers:
// the --data option, the INKBLOT_DATA environment variable, the content
// beside the program in its build folder, the content where an install
// puts it relative to the program (so a moved install still finds it), and
// last the folder the game was installed to.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ib {

struct DataFolderClues {
    std::string option;                    // --data DIR; empty when not given
    std::string environment;               // INKBLOT_DATA; empty when unset
    std::filesystem::path executable;      // the program's own file; empty when unknown
    std::filesystem::path relativeData;    // from the program's folder to the installed content
    std::filesystem::path installedData;   // the absolute content folder of the install
};

std::string chooseDataFolder(const DataFolderClues& clues);

// The same for this program: its own path, its environment and the folders
// it was built to be installed in.
std::string findDataFolder(const std::string& option);

// Takes "--data DIR" out of the arguments (the last one given counts) into
// folder. False when --data comes last with no folder.
bool takeDataOption(std::vector<const char*>& args, std::string& folder);

}  // namespace ib
