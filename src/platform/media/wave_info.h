#pragma once
// Reads the length of a wave file from its header, without decoding it.
#include <optional>
#include <string>

namespace mem {

// Milliseconds of sound, or nothing when the file is not a readable wave file.
std::optional<int> wave_length_ms(const std::string& path);

}  // namespace mem
