#pragma once
// memory-new: makes a whole, checked game from a folder of pictures.
#include <iosfwd>
#include <string>
#include <vector>

namespace mem::make {

// The most pairs a board holds.
constexpr int kMostPairs = 18;

struct Environment {
    std::string speech_program = "espeak-ng";  // looked for on PATH
    std::string system_dir;                    // the game's system directory, for the check
};

// The whole tool: the arguments without the program name; returns the exit
// status (0 made, 1 not made, 2 bad usage).
int memory_new_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const Environment& environment);

}  // namespace mem::make
