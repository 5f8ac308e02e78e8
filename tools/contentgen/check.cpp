#include "contentgen/check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace contentgen {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const fs::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The list lines after `header` lines: consecutive, up to the first blank.
void checkList(const fs::path& file, std::size_t header, const std::string& extension, const fs::path& dir,
               std::vector<std::string>& problems)
{
    auto lines = linesOf(file);
    for (std::size_t i = header; i < lines.size() && !lines[i].empty(); ++i)
        if (!fs::exists(dir / (lines[i] + extension)))
            problems.push_back(file.filename().string() + ":" + std::to_string(i + 1) + ": no " + lines[i] +
                               extension);
}

}  // namespace

std::vector<std::string> checkReferences(const std::string& dataDir)
{
    std::vector<std::string> problems;
    const fs::path dir(dataDir);
    std::vector<fs::path> files{fs::directory_iterator(dir), fs::directory_iterator()};
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        const std::string ext = f.extension().string();
        if (ext == ".Character") {
            auto lines = linesOf(f);
            if (lines.empty() || !fs::exists(dir / (lines[0] + ".Animation")))
                problems.push_back(f.filename().string() + ":1: no " + (lines.empty() ? "" : lines[0]) +
                                   ".Animation");
            checkList(f, 1, ".Move", dir, problems);
        } else if (ext == ".Move") {
            auto lines = linesOf(f);
            if (lines.empty() || !fs::exists(dir / (lines[0] + ".Animation")))
                problems.push_back(f.filename().string() + ":1: no " + (lines.empty() ? "" : lines[0]) +
                                   ".Animation");
        } else if (ext == ".Animation") {
            checkList(f, 1, ".Frame", dir, problems);
        }
    }
    return problems;
}

}  // namespace contentgen
