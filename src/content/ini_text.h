// The one reader of the player's settings files (controls.ini with its
// [match] and [online] sections, sound.ini), on inih:
//
//   ; a comment, or # a comment
//   [section]
//   name = value          ; "name: value" too; a ";" after a blank ends the value
//
// An indented line is a line of its own. A UTF-8 byte order mark is passed
// over. Each entry and each line that cannot be read keeps its line number,
// counted from 1, so that messages can name it; what a line that cannot be
// read says is left to the file's own reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ib {

// A line's place in the text, without its "\n" or "\r\n".
struct IniLine {
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct IniEntry {
    int line = 0;
    std::string section;  // as written between the brackets; empty before the first
    std::string name;
    std::string value;
};

enum class IniFault {
    NotAnEntry,       // neither "name = value", a [section] nor a comment
    UnclosedSection,  // "[" without "]"; the section before goes on
    NulByte,          // left out
    TooLong,          // longer than kIniLongestLine; left out
};

struct IniProblem {
    int line = 0;
    IniFault fault = IniFault::NotAnEntry;
};

inline constexpr int kIniLongestLine = 198;

struct IniText {
    std::vector<IniLine> lines;
    std::vector<IniEntry> entries;    // in the order of their lines
    std::vector<IniProblem> problems;  // in the order of their lines
};

IniText readIni(std::string_view text);

}  // namespace ib
