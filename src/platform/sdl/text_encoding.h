#pragma once
// Definition files come from many editors: texts that are not valid UTF-8
// are taken as Latin-1, so that "å", "ä" and "ö" show either way.
#include <string>

namespace mem {

bool is_valid_utf8(const std::string& text);
std::string to_utf8(const std::string& text);

}  // namespace mem
