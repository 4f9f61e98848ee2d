#include "name_order.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <vector>

namespace mem::make {
namespace {

// Plain letters of U+00C0..U+00FF and U+0100..U+017F ('*' keeps the sign).
constexpr char kLatin1[] = "aaaaaaaceeeeiiiidnooooo*ouuuuytsaaaaaaaceeeeiiiidnooooo*ouuuuyty";
constexpr char kLatinA[] =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiiijjkkkllllllllllnnnnnnnnnoooooooorrrrrrssssssssttttttuuuuuu"
    "uuuuuuwwyyyzzzzzzs";
static_assert(sizeof kLatin1 == 65 && sizeof kLatinA == 129);

// Lower case, Latin letters without their accents; other bytes as they are.
std::string folded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
            continue;
        }
        // Two-byte UTF-8 sequences C3 80..C5 BF are U+00C0..U+017F.
        const auto next = static_cast<unsigned char>(text[i + 1]);  // '\0' past the end
        if (c >= 0xC3 && c <= 0xC5 && (next & 0xC0) == 0x80) {
            const unsigned code = ((c & 0x1Fu) << 6) | (next & 0x3Fu);
            const char plain = code < 0x100 ? kLatin1[code - 0xC0] : kLatinA[code - 0x100];
            if (plain != '*') {
                out += plain;
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

bool locale_collates() {
    const char* name = std::setlocale(LC_COLLATE, nullptr);
    return name && std::strcmp(name, "C") != 0 && std::strcmp(name, "POSIX") != 0 && std::strncmp(name, "C.", 2) != 0;
}

int collate(const std::string& a, const std::string& b) {
    if (locale_collates()) return std::strcoll(a.c_str(), b.c_str());
    return folded(a).compare(folded(b));
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The name cut into runs of digits and runs of anything else.
std::vector<std::string> runs(const std::string& text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        size_t end = i;
        while (end < text.size() && is_digit(text[end]) == is_digit(text[i])) ++end;
        out.push_back(text.substr(i, end - i));
        i = end;
    }
    return out;
}

int compare_numbers(const std::string& a, const std::string& b) {
    const std::string x = a.substr(std::min(a.find_first_not_of('0'), a.size()));
    const std::string y = b.substr(std::min(b.find_first_not_of('0'), b.size()));
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

}  // namespace

bool natural_less(const std::string& a, const std::string& b) {
    const std::vector<std::string> x = runs(a), y = runs(b);
    for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const bool x_number = is_digit(x[i][0]), y_number = is_digit(y[i][0]);
        // A number comes before words, as digits before letters.
        if (x_number != y_number) return x_number;
        const int order = x_number ? compare_numbers(x[i], y[i]) : collate(x[i], y[i]);
        if (order != 0) return order < 0;
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return a < b;
}

}  // namespace mem::make
