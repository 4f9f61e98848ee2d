#pragma once
// Asks fontconfig what a font name of the definition becomes.
#include <optional>
#include <string>

namespace mem::check {

// Nothing when fontconfig has the family or an alias for it; otherwise the
// family it falls back to (empty when it finds no font at all).
std::optional<std::string> font_fallback(const std::string& family);

// The file of fontconfig's best scalable match for `family`; empty when it
// finds no font at all.
std::string font_file(const std::string& family, bool bold = false);

}  // namespace mem::check
