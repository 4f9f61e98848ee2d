#pragma once
// The key items of one definition file, and the readers that turn their
// values into the kinds of the settings. A value that cannot be stored in
// its setting ends the program with a message naming file, key and value.
#include <cstdint>
#include <functional>
#include <string>

#include "game/records.h"

namespace mem {

class Program;

// Error codes of values the loader cannot use (fatal).
constexpr int kErrorNotANumber = 11;
constexpr int kErrorOutOfRange = 12;
constexpr int kErrorCardCount = 13;

struct KeyItem {
    std::string section;  // letter case folded, inner blanks kept
    std::string key;      // letter case folded, spaces removed
    std::string value;    // as written after the first "="
};

// Calls `action` for every item of the file that is not a section header,
// with the section it lies in (empty before the first header). A file that
// cannot be read gives no items.
void memForEachKey(const std::string& path, const std::function<void(const KeyItem&)>& action);

// The "name" argument of errors 11 and 12: key, value and file.
std::string memValueErrorName(const std::string& file, const KeyItem& item);

class ValueReader {
public:
    ValueReader(Program& program, std::string file) : program_(program), file_(std::move(file)) {}

    // Number reader, `offset` added before rounding half to even.
    int16_t whole(const KeyItem& item, double offset = 0) const;
    Colour colour(const KeyItem& item) const;
    float real(const KeyItem& item) const;
    Flag flag(const KeyItem& item) const;
    // The whole value must be a number.
    double strict_number(const KeyItem& item) const;
    Colour strict_colour(const KeyItem& item) const;

    const std::string& file() const { return file_; }

private:
    [[noreturn]] void reject(int code, const KeyItem& item) const;

    Program& program_;
    std::string file_;
};

}  // namespace mem
