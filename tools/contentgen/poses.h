// The pose descriptions of a fighter ("<name>.poses" in the data
// directory): a figure line with the body's proportions and inks, then one
// pose a line. Each pose becomes a picture, its hit mask and a .Frame file.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace contentgen {

// key=value fields of one line, in the order they were written.
class Fields {
public:
    Fields(std::string where, std::map<std::string, std::string> values)
        : where_(std::move(where)), values_(std::move(values))
    {
    }
    bool has(const std::string& key) const { return values_.count(key) != 0; }
    const std::string& text(const std::string& key) const;
    std::string text(const std::string& key, const std::string& fallback) const;
    // Comma-separated numbers; throws when the count is not `count`
    // (count 0: any number of them, at least one).
    std::vector<double> numbers(const std::string& key, std::size_t count) const;
    double number(const std::string& key, double fallback) const;
    // Throws unless every key is one of `allowed`.
    void onlyKeys(const std::vector<std::string>& allowed) const;
    const std::string& where() const { return where_; }

private:
    std::string where_;
    std::map<std::string, std::string> values_;
};

struct PoseLine {
    std::string name;
    Fields fields;
};

struct PoseFile {
    std::string path;
    Fields figure;
    std::vector<PoseLine> poses;
};

// Reads a .poses file: blank lines and lines starting with '#' are skipped;
// "figure key=value..." once, then "pose NAME key=value..." lines.
// Throws std::runtime_error naming the file and line on any mistake.
PoseFile readPoseFile(const std::string& path);

}  // namespace contentgen
