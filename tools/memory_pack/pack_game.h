#pragma once
// memory-pack: a game and every file its definition names, wherever they
// lie, as one package; the packed definition names its folders with
// %gamepath%, so the package plays anywhere.
#include <iosfwd>
#include <string>
#include <vector>

namespace mem::pack {

struct PackOptions {
    std::string definition;   // the game's definition file
    std::string output;       // the package to write; empty: NAME.memorygame here
    std::string program_dir;  // what %apppath% stands for
    std::string system_dir;   // what %windows% stands for
};

// Checks the game (errors refuse, warnings are shown on `err`), writes the
// package and checks it as the game would play it. Returns the exit status:
// 0 packed, 1 refused or failed.
int pack_game(const PackOptions& options, std::ostream& out, std::ostream& err);

// The whole tool: the arguments without the program name; 2 on bad usage.
int memory_pack_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const std::string& default_program_dir, const std::string& default_system_dir);

}  // namespace mem::pack
