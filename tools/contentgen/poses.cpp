#include "contentgen/poses.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace contentgen {

const std::string& Fields::text(const std::string& key) const
{
    auto it = values_.find(key);
    if (it == values_.end()) throw std::runtime_error(where_ + ": missing " + key + "=");
    return it->second;
}

std::string Fields::text(const std::string& key, const std::string& fallback) const
{
    auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

std::vector<double> Fields::numbers(const std::string& key, std::size_t count) const
{
    const std::string& raw = text(key);
    std::vector<double> out;
    std::stringstream in(raw);
    std::string item;
    while (std::getline(in, item, ',')) {
        char* end = nullptr;
        double v = std::strtod(item.c_str(), &end);
        if (item.empty() || end != item.c_str() + item.size())
            throw std::runtime_error(where_ + ": " + key + "=" + raw + " is not a list of numbers");
        out.push_back(v);
    }
    if (out.empty() || (count != 0 && out.size() != count))
        throw std::runtime_error(where_ + ": " + key + "=" + raw + " needs " + std::to_string(count) +
                                 " numbers");
    return out;
}

double Fields::number(const std::string& key, double fallback) const
{
    return has(key) ? numbers(key, 1)[0] : fallback;
}

void Fields::onlyKeys(const std::vector<std::string>& allowed) const
{
    for (const auto& [key, value] : values_)
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
            throw std::runtime_error(where_ + ": unknown field " + key + "=");
}

namespace {

std::map<std::string, std::string> splitFields(std::istringstream& words, const std::string& where)
{
    std::map<std::string, std::string> out;
    std::string word;
    while (words >> word) {
        auto eq = word.find('=');
        if (eq == std::string::npos || eq == 0)
            throw std::runtime_error(where + ": expected key=value, found " + word);
        if (!out.emplace(word.substr(0, eq), word.substr(eq + 1)).second)
            throw std::runtime_error(where + ": " + word.substr(0, eq) + "= given twice");
    }
    return out;
}

}  // namespace

PoseFile readPoseFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::optional<Fields> figure;
    std::vector<PoseLine> poses;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind) || kind[0] == '#') continue;
        const std::string where = path + ":" + std::to_string(number);
        if (kind == "figure") {
            if (figure) throw std::runtime_error(where + ": a second figure line");
            figure.emplace(where, splitFields(words, where));
        } else if (kind == "pose") {
            std::string name;
            if (!(words >> name) || name.find('=') != std::string::npos)
                throw std::runtime_error(where + ": a pose needs a name");
            for (const PoseLine& p : poses)
                if (p.name == name) throw std::runtime_error(where + ": pose " + name + " given twice");
            poses.push_back(PoseLine{name, Fields(where, splitFields(words, where))});
        } else {
            throw std::runtime_error(where + ": expected figure or pose, found " + kind);
        }
    }
    if (!figure) throw std::runtime_error(path + ": no figure line");
    return PoseFile{path, std::move(*figure), std::move(poses)};
}

}  // namespace contentgen
