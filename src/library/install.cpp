#include "library/install.h"

#include <filesystem>

#include "definition/syntax.h"
#include "library/game_finder.h"
#include "package/package.h"
#include "platform/translation.h"

namespace mem::library {
namespace fs = std::filesystem;

InstallPlan plan_install(const std::vector<std::string>& sources) {
    InstallPlan plan{InstallPlan::Kind::Pictures, sources, "New game"};
    if (sources.empty()) return plan;
    std::error_code error;
    fs::path first = fs::path(sources.front()).lexically_normal();
    if (first.filename().empty()) first = first.parent_path();
    if (sources.size() == 1 && fs::is_directory(first, error)) {
        plan.name = first.filename().string();
        const std::vector<GameEntry> found = find_games({{first.parent_path().string()}});
        for (const GameEntry& game : found)
            if (fs::path(game.path) == first && !game.definition.empty()) plan.kind = InstallPlan::Kind::GameFolder;
        return plan;
    }
    if (sources.size() == 1 && memLower(first.extension().string()) == ".memorygame") {
        plan.kind = InstallPlan::Kind::Package;
        plan.name = first.stem().string();
        return plan;
    }
    // Loose pictures are named after the folder they come from.
    const std::string folder = fs::is_directory(first, error) ? first.filename().string()
                                                              : fs::absolute(first, error).parent_path().filename().string();
    if (!folder.empty()) plan.name = folder;
    return plan;
}

std::string free_name(const std::string& folder, const std::string& name, const std::string& extension) {
    std::error_code error;
    std::string candidate = name + extension;
    for (int n = 2; fs::exists(fs::path(folder) / candidate, error) || fs::is_symlink(fs::path(folder) / candidate, error); ++n)
        candidate = name + " " + std::to_string(n) + extension;
    return candidate;
}

std::string copy_game(const InstallPlan& plan, const std::string& own_games, std::string& error) {
    std::error_code failed;
    fs::create_directories(own_games, failed);
    if (failed) {
        error = format_text(tr("Your games folder %s cannot be made: %s"), own_games.c_str(), failed.message().c_str());
        return "";
    }
    const bool package = plan.kind == InstallPlan::Kind::Package;
    if (package) {
        // A package is a stranger's file: it joins the user's games only when the safe reader takes it whole (and
        // is then unpacked already for its first game).
        const package::Unpacked checked = package::unpack(plan.sources.front(), package::default_cache_root());
        if (!checked.error.empty()) {
            error = format_text(tr("The package cannot be added: %s"), checked.error.c_str());
            return "";
        }
    }
    const fs::path target = fs::path(own_games) / free_name(own_games, plan.name, package ? ".memorygame" : "");
    if (package) {
        fs::copy_file(plan.sources.front(), target, fs::copy_options::none, failed);
    } else {
        fs::copy(plan.sources.front(), target, fs::copy_options::recursive | fs::copy_options::skip_symlinks, failed);
    }
    if (failed) {
        error = format_text(tr("The game cannot be copied to %s: %s"), own_games.c_str(), failed.message().c_str());
        // Only what this copy made is taken away again.
        fs::remove_all(target, failed);
        return "";
    }
    return target.string();
}

std::vector<std::string> memory_new_command(const InstallPlan& plan, const std::string& memory_new,
                                            const std::string& own_games) {
    std::vector<std::string> command{memory_new, "--output", own_games, free_name(own_games, plan.name)};
    command.insert(command.end(), plan.sources.begin(), plan.sources.end());
    return command;
}

}  // namespace mem::library
