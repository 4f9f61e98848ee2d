#pragma once
// What memory-check finds by reading the definition files itself: keys the
// game does not read, font keys that come before their font is chosen, and
// the font names that take effect. Pure: file contents in, findings out.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mem::check {

// The files of a definition set, by the keys they hold.
enum class FileKind { Definition, Main, Global, Special };

struct ScanFinding {
    std::string text;  // without the "warning: " prefix
};

struct FontUse {
    std::string file;
    std::string section;
    std::string key;
    std::string name;
};

struct ScanResult {
    std::vector<ScanFinding> findings;
    std::vector<FontUse> fonts;  // font names the game applies, in file order
};

// Whether a control-panel value label exists for an "order" (counted from 0).
using HasValueLabel = std::function<bool(int16_t)>;

// Optimal string alignment distance: insertions, deletions, substitutions
// and swaps of neighbours each count 1 ("fontnmae" is 1 from "fontname").
int edit_distance(const std::string& a, const std::string& b);

// The known key nearest to `key`, or empty when none is close enough.
std::string nearest_key(const std::string& key, const std::vector<std::string>& known);

// Scans one file. `path` names it in the findings; `app_type` is 0 for a
// memory game, 1 for a match game.
ScanResult scan_file(FileKind kind, const std::string& path, const std::string& content, int app_type,
                     const HasValueLabel& has_value_label);

}  // namespace mem::check
