// The one reader behind every content file: whole lines of any length, a
// carriage return before a line feed dropped, the two-pass entry lists, and
// the number rules the files are written with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "content/content_files.h"

namespace ib {

class LineReader {
public:
    // Reads the whole file; false when it cannot be opened (missing,
    // unreadable, a directory, or a path holding a NUL byte).
    bool open(const std::string& path);
    // The content file of that name from the folder files reads from (the
    // working directory without one); a file read is noted there.
    bool open(const std::string& name, ContentFiles* files);

    // The next line without its line feed and the carriage return before
    // it. Past the end of the file every line reads as empty.
    std::string nextLine();
    // The number of the line nextLine gave last, counted from 1.
    int lineNumber() const { return lineNumber_; }

    // The length of the entry list that starts here: the lines from here to
    // the end of the file holding a character other than blank and tab. The
    // list is then read as exactly that many consecutive lines, blank or not.
    int countListLines() const;

private:
    std::string text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

// Numbers past the 32-bit range are clamped to it.

// "%d": blanks or tabs, an optional sign, digits. Sets value and returns
// true when the text holds a number; otherwise value keeps what it had.
bool readInt(std::string_view text, std::int32_t& value);

// "%d,%d": a number, a comma straight after its last digit, a second number
// (blanks or tabs may stand before it). Each number found is set, and the
// count of numbers set (0, 1 or 2) is returned.
int readIntPair(std::string_view text, std::int32_t& first, std::int32_t& second);

// The integer the text begins with (after blanks or tabs); 0 when none.
std::int32_t leadingInt(std::string_view text);

// A decimal number after blanks or tabs: sign, digits with an optional
// point and fraction, an optional exponent. 0.0 when there is none
// ("nan" and "inf" are not numbers here); out of range gives the largest
// finite value of its sign, or 0.0 when too small.
double readDecimal(std::string_view text);

}  // namespace ib
