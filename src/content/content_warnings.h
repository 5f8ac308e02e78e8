// Content that loads but is surely not what its author meant: a number line
// with no number, a name with blanks at its end, a picture shorter than its
// header says. The game plays on as it reads them; each is said once on
// standard error, naming the file, the line and what was read instead.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ib {

class ContentWarnings {
public:
    explicit ContentWarnings(std::FILE* out = stderr) : out_(out) {}

    // Says "FILE line N: WHAT" (line 0: the file as a whole), once for each
    // file and line however often the file is loaded.
    void warn(const std::string& file, int line, const std::string& what);

    // Everything said so far, in order.
    const std::vector<std::string>& said() const { return said_; }

private:
    std::FILE* out_;
    std::set<std::pair<std::string, int>> seen_;
    std::vector<std::string> said_;
};

// The checks the readers make, each a no-op without a sink. `line` is the
// text of line `lineNumber` of `file`.
void warnIfNoInt(ContentWarnings* warnings, const std::string& file, int lineNumber,
                 std::string_view line, const char* readAs);
void warnIfNoDecimal(ContentWarnings* warnings, const std::string& file, int lineNumber,
                     std::string_view line);
void warnIfTrailingBlanks(ContentWarnings* warnings, const std::string& file, int lineNumber,
                          std::string_view name, const std::string& fileUsed);

}  // namespace ib
