#pragma once
// The syntax every definition file shares: items, sections, keys and values,
// the lenient and strict number readers, tab fields, and path variables.
#include <cstdint>
#include <optional>
#include <string>

#include "game/records.h"

namespace mem {

class Platform;

// Reads a definition file item by item.
class ItemReader {
public:
    explicit ItemReader(std::string content) : text_(std::move(content)) {}
    bool at_end() const { return pos_ >= text_.size(); }
    // The next item; an empty line gives an empty item.
    std::string next();
    // How many blanks the end of the last item lost (none for a quoted one).
    size_t dropped_blanks() const { return dropped_; }

private:
    std::string text_;
    size_t pos_ = 0;
    size_t dropped_ = 0;
};

Flag memIsSection(const std::string& item);
std::string memGetSection(const std::string& item);
std::string memGetKey(const std::string& item);
std::string memGetValue(const std::string& item);

// The lenient number reader: blanks ignored, &H and &O prefixes, reads up to
// the first character that does not fit, 0 when there is no number.
double memReadNumber(const std::string& value);
// The whole value must be a number (blanks around it allowed).
std::optional<double> memReadStrictNumber(const std::string& value);
// Rounds half to even; nothing when the result does not fit the type.
std::optional<int16_t> memToWhole(double number);
std::optional<int32_t> memToColour(double number);
Flag memValToBool(const std::string& value);

// The n-th tab-separated field, counted from 1; empty when there are fewer.
// A negative n is a programming error and is shown in a message box.
std::string strGetTab(Platform& platform, const std::string& line, int16_t n);
std::string memRemoveSpaces(const std::string& text);
Flag memContains(const std::string& text, const std::string& part);
std::string memStripExtension(const std::string& name);
Flag memFileExists(const std::string& path);
Flag memHasDrive(const std::string& text);
// True when the text ends with a path separator ("\" or "/").
bool memEndsWithSeparator(const std::string& text);

std::string memWindowsDir(const Platform& platform);
// The folder of a definition file, with its separator: what %gamepath% means.
std::string memGamePath(const std::string& definitionFile);
// `gamePath` is the folder of the definition in use (memGamePath).
std::string memPathVariable(const Platform& platform, const std::string& token, const std::string& gamePath);
std::string memResolvePath(const Platform& platform, const std::string& value, const std::string& gamePath);

// Letter case folded, for comparing keys, sections and keywords.
std::string memLower(std::string text);

}  // namespace mem
