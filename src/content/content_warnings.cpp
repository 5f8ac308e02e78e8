#include "content/content_warnings.h"

#include "content/content_error.h"

namespace ib {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks, an optional sign, then a digit (or, for a decimal, a point and a
// digit): what the number readers take as the start of a number.
bool startsWithNumber(std::string_view text, bool decimal)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && isDigit(text[i])) return true;
    return decimal && i + 1 < text.size() && text[i] == '.' && isDigit(text[i + 1]);
}

std::string quoted(std::string_view line)
{
    return line.empty() ? std::string("an empty line") : "\"" + printableName(line) + "\"";
}

}  // namespace

void ContentWarnings::warn(const std::string& file, int line, const std::string& what)
{
    if (!seen_.emplace(file, line).second) return;
    std::string text = printableName(file);
    if (line > 0) text += " line " + std::to_string(line);
    text += ": " + what;
    said_.push_back(text);
    if (out_) {
        std::fprintf(out_, "Inkblot Fighter: warning: %s\n", text.c_str());
        std::fflush(out_);
    }
}

void warnIfNoInt(ContentWarnings* warnings, const std::string& file, int lineNumber,
                 std::string_view line, const char* readAs)
{
    if (warnings && !startsWithNumber(line, false))
        warnings->warn(file, lineNumber, quoted(line) + " holds no number; read as " + readAs);
}

void warnIfNoDecimal(ContentWarnings* warnings, const std::string& file, int lineNumber,
                     std::string_view line)
{
    if (warnings && !startsWithNumber(line, true))
        warnings->warn(file, lineNumber, quoted(line) + " holds no number; read as 0");
}

void warnIfTrailingBlanks(ContentWarnings* warnings, const std::string& file, int lineNumber,
                          std::string_view name, const std::string& fileUsed)
{
    if (warnings && !name.empty() && isBlank(name.back()))
        warnings->warn(file, lineNumber,
                       "the name \"" + printableName(name) +
                           "\" ends in blanks, which are part of it: the file \"" +
                           printableName(fileUsed) + "\" is read");
}

}  // namespace ib
