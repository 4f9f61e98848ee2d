#include "definition/syntax.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace mem {
namespace {

std::string trim_right(std::string text, const char* blanks = " ") {
    size_t end = text.find_last_not_of(blanks);
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

std::string trim(const std::string& text, const char* blanks) {
    size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) return "";
    return trim_right(text.substr(begin), blanks);
}

// A number at the start of `text`: how many characters it takes (0 when
// none) and its value.
struct Scanned {
    size_t length = 0;
    double value = 0;
};

Scanned scan_radix(const std::string& text, int radix, size_t short_digits) {
    uint64_t value = 0;
    size_t i = 2;
    // The string's closing '\0' is no digit, so it ends the number at the latest.
    for (;; ++i) {
        const int c = std::tolower(static_cast<unsigned char>(text[i]));
        const int d = std::isdigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
        if (d >= radix) break;
        value = (value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d)) & 0xFFFFFFFFu;
    }
    const size_t digits = i - 2;
    if (digits == 0) return {};
    // Short forms are 16-bit signed (&HFFFF is -1), longer ones 32-bit signed.
    double result = digits <= short_digits ? static_cast<double>(static_cast<int16_t>(value & 0xFFFF))
                                           : static_cast<double>(static_cast<int32_t>(value));
    return {i, result};
}

// Where the run of digits in `text` that starts at `from` ends.
size_t skip_digits(const std::string& text, size_t from) {
    while (std::isdigit(static_cast<unsigned char>(text[from]))) ++from;  // text[text.size()] is '\0', no digit
    return from;
}

// The number is read up to the string's closing '\0', which is no sign, digit or point.
Scanned scan_decimal(const std::string& text) {
    const size_t first = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const size_t point = skip_digits(text, first);
    const bool fraction = text[point] == '.';
    size_t end = fraction ? skip_digits(text, point + 1) : point;
    if (end - first == (fraction ? 1u : 0u)) return {};  // no digit before or after the point
    std::string number = text.substr(0, end);
    // A NUL inside the value is no exponent mark.
    if (std::string_view("eEdD").find(text[end]) != std::string_view::npos) {
        const size_t sign = end + 1;
        const size_t digits = text[sign] == '-' || text[sign] == '+' ? sign + 1 : sign;
        const size_t exponent_end = skip_digits(text, digits);
        if (exponent_end > digits) {
            number += 'e' + text.substr(sign, exponent_end - sign);
            end = exponent_end;
        }
    }
    double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value)) value = 0;
    return {end, value};
}

Scanned scan_number(const std::string& text) {
    if (text.size() >= 2 && text[0] == '&') {
        char prefix = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
        if (prefix == 'H') return scan_radix(text, 16, 4);
        if (prefix == 'O') return scan_radix(text, 8, 6);
        return {};
    }
    return scan_decimal(text);
}

}  // namespace

std::string memLower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string ItemReader::next() {
    while (text_[pos_] == ' ') ++pos_;  // text_[text_.size()] is '\0', no blank
    std::string item;
    const bool quoted = text_[pos_] == '"';
    if (quoted) {
        const size_t close = std::min(text_.find_first_of("\"\r\n", pos_ + 1), text_.size());
        item = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = text_[close] == '"' ? close + 1 : close;
    }
    // Up to the next comma or line end; after a quoted item the rest is skipped.
    const size_t end = std::min(text_.find_first_of(",\r\n", pos_), text_.size());
    dropped_ = 0;
    if (!quoted) {
        item = trim_right(text_.substr(pos_, end - pos_));
        dropped_ = end - pos_ - item.size();
    }
    pos_ = end;
    if (!at_end()) {
        const char separator = text_[pos_++];
        if (separator == '\r' && text_[pos_] == '\n') ++pos_;  // "\r\n" is one line end
    }
    return item;
}

Flag memIsSection(const std::string& item) {
    std::string t = trim(item, " ");
    return to_flag(t.size() >= 2 && t.front() == '[' && t.back() == ']');
}

std::string memGetSection(const std::string& item) {
    std::string t = trim(item, " ");
    if (t.size() < 3) return "";
    return t.substr(1, t.size() - 2);
}

std::string memRemoveSpaces(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

std::string memGetKey(const std::string& item) { return memRemoveSpaces(item.substr(0, item.find('='))); }

std::string memGetValue(const std::string& item) {
    size_t eq = item.find('=');
    return eq == std::string::npos ? "" : item.substr(eq + 1);
}

double memReadNumber(const std::string& value) {
    std::string compact;
    for (char c : value)
        if (c != ' ' && c != '\t' && c != '\n') compact += c;
    return scan_number(compact).value;
}

std::optional<double> memReadStrictNumber(const std::string& value) {
    std::string t = trim(value, " \t");
    Scanned s = scan_number(t);
    if (s.length == 0 || s.length != t.size()) return std::nullopt;
    return s.value;
}

std::optional<int16_t> memToWhole(double number) {
    double r = std::nearbyint(number);
    if (!(r >= -32768 && r <= 32767)) return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int32_t> memToColour(double number) {
    double r = std::nearbyint(number);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<int32_t>(r);
}

Flag memValToBool(const std::string& value) { return to_flag(memReadNumber(value) != 0); }

std::string strGetTab(Platform& platform, const std::string& line, int16_t n) {
    if (n < 0) {
        platform.message_box(format_text(tr("strGetTab: Tab number must be over 1 (%d)."), static_cast<int>(n)), kStyleOk,
                             "Memory");
        return "";
    }
    int16_t field = 1;
    size_t start = 0;
    while (field < n) {
        size_t tab = line.find('\t', start);
        if (tab == std::string::npos) return "";
        start = tab + 1;
        ++field;
    }
    if (n == 0) return "";
    size_t tab = line.find('\t', start);
    return line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
}

Flag memContains(const std::string& text, const std::string& part) {
    if (part.empty()) return True;
    if (text.size() <= part.size()) return False;
    return to_flag(memLower(text).find(memLower(part)) != std::string::npos);
}

std::string memStripExtension(const std::string& name) {
    if (!memContains(name, ".")) return name;
    size_t dot = name.rfind('.');
    return dot == 0 ? "" : name.substr(0, dot);
}

bool memEndsWithSeparator(const std::string& text) {
    return !text.empty() && (text.back() == '\\' || text.back() == '/');
}

Flag memFileExists(const std::string& path) {
    std::string p = path;
    if (memEndsWithSeparator(p)) p.pop_back();
    return to_flag(can_open_for_reading(p));
}

Flag memHasDrive(const std::string& text) { return to_flag(text.size() >= 2 && text[1] == ':'); }

std::string memWindowsDir(const Platform& platform) {
    std::string dir = platform.system_dir();
    if (dir.size() > 255) return "";
    dir = trim_right(dir.substr(0, dir.find('\0')));
    if (!memEndsWithSeparator(dir)) dir += '\\';
    return dir;
}

std::string memGamePath(const std::string& definitionFile) {
    const size_t separator = definitionFile.find_last_of("\\/");
    return separator == std::string::npos ? "" : definitionFile.substr(0, separator + 1);
}

std::string memPathVariable(const Platform& platform, const std::string& token, const std::string& gamePath) {
    const std::string t = memLower(token);
    if (t == "%gamepath%") return gamePath;
    if (t == "%windows%") return memWindowsDir(platform);
    if (t == "%apppath%") return platform.program_dir() + "\\";
    // Linux has no drive letters: both drives are the root of the file system.
    if (t == "%appdrive%" || t == "%windrive%") return "/";
    return "";
}

// Mended: a relative directory that is missing from the current directory but
// lies beside the definition is taken from there, so a game plays wherever
// it was started from.
static std::string memBesideDefinition(const std::string& value, const std::string& gamePath) {
    const bool relative = !value.empty() && value.front() != '/' && value.front() != '\\' && !memHasDrive(value);
    if (relative && !directory_exists(value) && directory_exists(gamePath + value))
        return gamePath + value;
    return value;
}

std::string memResolvePath(const Platform& platform, const std::string& value, const std::string& gamePath) {
    if (value.empty() || value.front() != '%') return memBesideDefinition(value, gamePath);
    size_t second = value.find('%', 1);
    std::string token = second == std::string::npos ? value : value.substr(0, second + 1);
    std::string rest = second == std::string::npos ? "" : value.substr(second + 1);
    if (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.erase(0, 1);
    std::string result = memPathVariable(platform, token, gamePath) + rest;
    bool looks_like_file =
        result.size() >= 4 && !memEndsWithSeparator(result) && result[result.size() - 4] == '.';
    if (!looks_like_file) {
        std::string trimmed = trim_right(result);
        if (!memEndsWithSeparator(trimmed)) result = trimmed + "\\";
    }
    return result;
}

}  // namespace mem
