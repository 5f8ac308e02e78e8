#include "content/line_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <memory>

namespace ib {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    return pos;
}

// Reads [blanks][sign]digits from pos; on success pos is past the last
// digit. The value saturates at the 32-bit limits.
bool scanInt(std::string_view text, std::size_t& pos, std::int32_t& value)
{
    std::size_t at = skipBlanks(text, pos);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || !isDigit(text[at])) return false;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        magnitude = std::min(kLimit, magnitude * 10 + (text[at] - '0'));
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<std::int32_t>(
        std::min<std::int64_t>(signedValue, std::numeric_limits<std::int32_t>::max()));
    pos = at;
    return true;
}

}  // namespace

bool LineReader::open(const std::string& path)
{
    text_.clear();
    pos_ = 0;
    lineNumber_ = 0;
    if (path.find('\0') != std::string::npos) return false;
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text_.append(buffer, got);
    return !std::ferror(file.get());
}

bool LineReader::open(const std::string& name, ContentFiles* files)
{
    if (!files) return open(name);
    if (!open(files->pathOf(name))) return false;
    files->noteRead(name, text_.data(), text_.size());
    return true;
}

std::string LineReader::nextLine()
{
    ++lineNumber_;
    if (pos_ >= text_.size()) return {};
    std::size_t end = text_.find('\n', pos_);
    std::size_t next = end + 1;
    if (end == std::string::npos) {
        end = next = text_.size();
    } else if (end > pos_ && text_[end - 1] == '\r') {
        --end;
    }
    std::string line = text_.substr(pos_, end - pos_);
    pos_ = next;
    return line;
}

int LineReader::countListLines() const
{
    int count = 0;
    bool filled = false;
    for (std::size_t i = pos_; i < text_.size(); ++i) {
        const char c = text_[i];
        if (c == '\n') {
            count += filled;
            filled = false;
        } else if (!isBlank(c) && !(c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')) {
            filled = true;
        }
    }
    return count + filled;  // a last line without a line feed counts too
}

bool readInt(std::string_view text, std::int32_t& value)
{
    std::size_t pos = 0;
    return scanInt(text, pos, value);
}

int readIntPair(std::string_view text, std::int32_t& first, std::int32_t& second)
{
    std::size_t pos = 0;
    if (!scanInt(text, pos, first)) return 0;
    if (pos >= text.size() || text[pos] != ',') return 1;
    ++pos;
    return scanInt(text, pos, second) ? 2 : 1;
}

std::int32_t leadingInt(std::string_view text)
{
    std::int32_t value = 0;
    readInt(text, value);
    return value;
}

double readDecimal(std::string_view text)
{
    std::size_t pos = skipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::size_t start = pos;  // from_chars takes no '+'

    // Mantissa: digits, optional point and fraction; at least one digit.
    // decimalExponent tracks the power of ten of the first non-zero digit,
    // to tell overflow from underflow.
    std::int64_t decimalExponent = 0;
    bool seenNonZero = false, seenDigit = false, afterPoint = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (isDigit(c)) {
            seenDigit = true;
            if (c != '0' && !seenNonZero) seenNonZero = true;
            if (seenNonZero && !afterPoint) ++decimalExponent;
            if (!seenNonZero && afterPoint) --decimalExponent;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    // Exponent, only when digits follow it.
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t at = pos + 1;
        std::int32_t exponent = 0;
        if (at < text.size() && text[at] != ' ' && text[at] != '\t' && scanInt(text, at, exponent)) {
            pos = at;
            decimalExponent += exponent;
        }
    }

    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data() + start, text.data() + pos, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        value = seenNonZero && decimalExponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    else if (error != std::errc{} || end != text.data() + pos)
        value = 0.0;
    return negative ? -value : value;
}

}  // namespace ib
