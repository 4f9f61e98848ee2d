#pragma once
// Adding games to the user's own: a game folder or a package is copied
// there; pictures (or folders of them) become a game made by memory-new.
// Nothing that is there already is replaced: a taken name gets a number.
#include <string>
#include <vector>

namespace mem::library {

struct InstallPlan {
    enum class Kind { GameFolder, Package, Pictures } kind = Kind::Pictures;
    std::vector<std::string> sources;
    std::string name;  // of the new game's folder or package
};

// What the dropped or named files and folders become.
InstallPlan plan_install(const std::vector<std::string>& sources);

// A name in `folder` not taken yet: NAME, else "NAME 2", "NAME 3", ...
// (before the extension, when one is given).
std::string free_name(const std::string& folder, const std::string& name, const std::string& extension = "");

// Copies a game folder or a package into `own_games` (made when needed).
// Links inside a copied folder are left out: what they point at is not
// the game's. Gives the installed path, or empty with the reason in `error`.
std::string copy_game(const InstallPlan& plan, const std::string& own_games, std::string& error);

// The command that makes a game of the pictures in `own_games`.
std::vector<std::string> memory_new_command(const InstallPlan& plan, const std::string& memory_new,
                                            const std::string& own_games);

}  // namespace mem::library
