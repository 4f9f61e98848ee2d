// Finding games: where the XDG variables point, what counts as a game, titles and their order.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "library/game_finder.h"
#include "library/game_look.h"
#include "library/install.h"
#include "package/package.h"
#include "support/scratch.h"

namespace mem::library {
namespace {
namespace fs = std::filesystem;

Environment environment_of(const std::map<std::string, std::string>& variables) {
    return [variables](const char* name) { return variables.count(name) ? variables.at(name).c_str() : nullptr; };
}

TEST(GameFinder, PlacesFollowTheXdgVariables) {
    const std::pair<std::map<std::string, std::string>, std::vector<std::string>> cases[] = {
        {{{"HOME", "/h"}},
         {"/p/games", "/h/.local/share/memory/games (own)", "/usr/local/share/memory/games", "/usr/share/memory/games"}},
        // Relative entries are ignored; an empty variable is as if unset; a folder named twice is looked in once.
        {{{"HOME", "/h"}, {"XDG_DATA_HOME", "rel"}, {"XDG_DATA_DIRS", "/a::rel:/a/:/h/.local/share"}},
         {"/p/games", "/h/.local/share/memory/games (own)", "/a/memory/games"}},
        {{{"HOME", "/h"}, {"XDG_DATA_HOME", "/d/"}, {"XDG_DATA_DIRS", ""}},
         {"/p/games", "/d/memory/games (own)", "/usr/local/share/memory/games", "/usr/share/memory/games"}},
    };
    for (const auto& [variables, expected] : cases) {
        std::vector<std::string> seen;
        for (const GamePlace& place : game_places("/p", environment_of(variables)))
            seen.push_back(place.folder + (place.own ? " (own)" : ""));
        EXPECT_EQ(seen, expected);
    }
    EXPECT_EQ(thumbnail_folder(environment_of({{"HOME", "/h"}})), "/h/.cache/memory/thumbnails");
    EXPECT_EQ(thumbnail_folder(environment_of({{"HOME", "/h"}, {"XDG_CACHE_HOME", "/c"}})), "/c/memory/thumbnails");
}

void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(GameFinder, FindsFoldersAndPackagesSortedByTitleAndMarksBrokenOnes) {
    const test::ScratchDir scratch("finder");
    const fs::path& root = scratch.path;
    const fs::path bundled = root / "bundled", own = root / "own";
    write(bundled / "memory.ini", "[application]\napp=memory\n");  // the default game's pointer, no game
    write(bundled / "zoo/zoo.ini", "[application]\napp=memory\ntitle=animals\n[gamefiles]\nmain=main.ini\n");
    write(bundled / "zoo/data/main.ini", "[interface]\n");
    write(bundled / "Birds/birds.INI", "[birds]\nApp=match\n");
    write(own / "cars/notes.ini", "just notes\n");  // one .ini: the definition, though it names no type
    write(own / "two/a.ini", "[application]\napp=memory\n");
    write(own / "two/b.ini", "[application]\napp=match\n");
    write(own / "two/other.ini", "[colours]\n");
    fs::create_directories(own / "empty");
    write(own / "Fish.memorygame", "PK");
    write(own / "readme.txt", "");
    std::vector<std::string> seen;
    for (const GameEntry& g : find_games({{bundled.string(), false}, {own.string(), true}, {"/nonexistent"}}))
        seen.push_back(g.title + " | " + g.path.substr(root.string().size() + 1) + " | " +
                       (g.definition.empty() ? "-" : fs::path(g.definition).filename().string()) +
                       (g.own ? " own" : "") + (g.package ? " package" : "") + (g.problem.empty() ? "" : " ! " + g.problem));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "animals | bundled/zoo | zoo.ini", "birds | bundled/Birds | birds.INI",
                        "empty | own/empty | - own ! The folder holds no definition file (.ini).",
                        "Fish | own/Fish.memorygame | - own package", "notes | own/cars | notes.ini own",
                        "two | own/two | - own ! The folder holds 2 definition files; a game has one: a.ini, b.ini"}));
}

// A look is read with the game's own code, kept, found again while the game's files stay as they were, and made
// again once one of them changes; a broken game's look carries the game's first error.
TEST(GameLooks, AreKeptUntilAFileOfTheGameChanges) {
    const test::ScratchDir scratch("looks");
    const fs::path& root = scratch.path;
    fs::create_directories(root / "games");
    fs::copy(fs::path(MEMORY_SOURCE_DIR) / "games/memory", root / "games/memory", fs::copy_options::recursive);
    HeadlessPlatform display;
    GameLooks looks(display, root.string(), (root / "cache").string());
    const std::vector<GameEntry> games = find_games({{(root / "games").string()}});
    ASSERT_EQ(games.size(), 1u);

    EXPECT_EQ(looks(games[0], true), std::nullopt);
    const std::optional<GameLook> made = looks(games[0], false);
    ASSERT_TRUE(made && made->miniature);
    EXPECT_EQ(std::tuple(made->line, made->problem, made->miniature->width()),
              std::tuple("memory · 2 players", "", kMiniatureSize.width));
    const std::optional<GameLook> kept = looks(games[0], true);
    EXPECT_TRUE(kept && kept->miniature && kept->line == made->line);
    // The same game as a package looks the same, read through the safe reader.
    std::vector<package::Entry> files;
    for (const auto& file : fs::recursive_directory_iterator(root / "games/memory"))
        if (file.is_regular_file())
            files.push_back({fs::relative(file.path(), root / "games/memory").string(), file.path().string(), ""});
    fs::create_directories(root / "packed");
    ASSERT_EQ(package::write((root / "packed/Shapes.memorygame").string(), files), "");
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    const std::optional<GameLook> packed = looks(find_games({{(root / "packed").string()}}).at(0), false);
    ASSERT_TRUE(packed && packed->miniature) << (packed ? packed->problem : "");
    EXPECT_EQ(packed->line, made->line);

    fs::remove(root / "games/memory/data/main.ini");
    EXPECT_EQ(looks(games[0], true), std::nullopt);
    EXPECT_EQ(looks(games[0], false).value_or(GameLook{}).problem,
              "Could not find main file ''" + root.string() + "/games/memory/data\\main.ini''");
}

// Adding never replaces a game that is there and copies no links.
TEST(OwnGames, AreAddedBesideTheOthers) {
    const test::ScratchDir scratch("own");
    const fs::path &root = scratch.path, own = root / "data/memory/games";
    write(root / "in/Zoo/zoo.ini", "[memory]\napp=memory\n");
    fs::create_symlink("/etc/passwd", root / "in/Zoo/passwd");
    write(root / "in/Holiday pictures/sun.png", "");
    write(root / "in/Fish.MemoryGame", "PK");
    using Kind = InstallPlan::Kind;
    const std::tuple<std::vector<std::string>, Kind, std::string> plans[] = {
        {{(root / "in/Zoo/").string()}, Kind::GameFolder, "Zoo"},
        {{(root / "in/Holiday pictures").string()}, Kind::Pictures, "Holiday pictures"},
        {{(root / "in/Holiday pictures/sun.png").string(), (root / "in/Zoo").string()}, Kind::Pictures,
         "Holiday pictures"},
        {{(root / "in/Fish.MemoryGame").string()}, Kind::Package, "Fish"},
    };
    for (const auto& [sources, kind, name] : plans) {
        const InstallPlan plan = plan_install(sources);
        EXPECT_EQ(std::pair(plan.kind, plan.name), std::pair(kind, name)) << sources[0];
    }
    std::string error;
    const InstallPlan zoo = plan_install({(root / "in/Zoo").string()});
    EXPECT_EQ(copy_game(zoo, own.string(), error), (own / "Zoo").string());
    EXPECT_EQ(copy_game(zoo, own.string(), error), (own / "Zoo 2").string());
    EXPECT_FALSE(fs::exists(own / "Zoo/passwd"));
    // A package goes through the safe reader first: a broken one is refused and nothing is added.
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    EXPECT_EQ(copy_game(plan_install({(root / "in/Fish.MemoryGame").string()}), own.string(), error), "");
    EXPECT_NE(error.find("The package cannot be added"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(own / "Fish.memorygame"));
    ASSERT_EQ(package::write((root / "in/Cat.memorygame").string(), {{"cat.ini", "", "[application]\napp=memory\n"}}), "");
    EXPECT_EQ(copy_game(plan_install({(root / "in/Cat.memorygame").string()}), own.string(), error),
              (own / "Cat.memorygame").string()) << error;
    EXPECT_EQ(memory_new_command(plan_install({(root / "in/Zoo").string()}), "/p/memory-new", own.string()),
              (std::vector<std::string>{"/p/memory-new", "--output", own.string(), "Zoo 3", (root / "in/Zoo").string()}));
}

}  // namespace
}  // namespace mem::library
