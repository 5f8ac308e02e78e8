// What a run under test leaves behind: a file's whole text, and the passes
// of an inkblot-sim trace.
#pragma once

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace ib::test {

inline std::string readText(const std::string& path)
{
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// One JSON value a pass.
inline std::vector<nlohmann::json> readTrace(const std::string& path)
{
    std::ifstream in(path);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

}  // namespace ib::test
