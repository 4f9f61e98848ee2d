#include "pack_game.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>

#include "checker.h"
#include "definition/syntax.h"
#include "package/package.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/translation.h"

namespace mem::pack {

namespace fs = std::filesystem;

namespace {

// The four folders of a game, by their key in [paths], and their names in the package.
constexpr std::array<const char*, 4> kPathKeys = {"gfx", "card", "sfx", "data"};
constexpr std::array<const char*, 4> kPackedFolders = {"gfx", "cards", "sfx", "data"};

fs::path absolute_folder(const std::string& directory) {
    return (fs::absolute(native_path(directory)) / "").lexically_normal();
}

// What the packer needs of the definition: the four folders as the game
// resolves them (the last value of each key), and the card and list files.
struct DefinitionFiles {
    std::array<fs::path, 4> folders;
    std::vector<std::string> lists;
};

DefinitionFiles read_definition(const PackOptions& options, const std::string& text) {
    HeadlessPlatform platform;
    platform.program_directory = options.program_dir;
    platform.system_directory = options.system_dir;
    std::array<std::string, 4> values;
    DefinitionFiles files;
    ItemReader items(text);
    std::string section;
    while (!items.at_end()) {
        const std::string item = items.next();
        if (memIsSection(item)) section = memLower(memGetSection(item));
        const std::string key = memLower(memGetKey(item));
        for (size_t k = 0; k < kPathKeys.size(); ++k)
            if (section == "paths" && key == kPathKeys[k])
                values[k] = memResolvePath(platform, memGetValue(item), memGamePath(options.definition));
        if (section == "gamefiles" && (key == "cards" || key == "listfile")) files.lists.push_back(memGetValue(item));
    }
    for (size_t k = 0; k < values.size(); ++k) files.folders[k] = absolute_folder(values[k]);
    return files;
}

// Every file that a line of the card or list file names, in any of the
// game's folders: a game that draws its pairs reads only the drawn lines'
// pictures and sounds, and the package needs them all.
void add_listed_files(const DefinitionFiles& files, std::vector<std::string>& read) {
    HeadlessPlatform platform;
    const auto readable = [&](const std::string& name, const auto& action) {
        for (const fs::path& folder : files.folders)
            if (!name.empty() && can_open_for_reading((folder / native_path(name)).string()))
                action((folder / native_path(name)).string());
    };
    for (const std::string& list : files.lists)
        readable(list, [&](const std::string& path) {
            ItemReader lines(read_text_file(path).value_or(""));
            while (!lines.at_end()) {
                const std::string line = lines.next();
                std::vector<std::string> names{memStripExtension(strGetTab(platform, line, 2)) + ".wav"};
                for (int16_t field = 1; field <= 4; ++field) names.push_back(strGetTab(platform, line, field));
                for (const std::string& name : names)
                    readable(name, [&](const std::string& file) { read.push_back(file); });
            }
        });
}

// The definition with its four folders named from %gamepath%; one folder of
// the game named by two keys stays one folder in the package.
std::string packed_definition(const std::string& text, const std::array<std::string, 4>& packed) {
    std::istringstream in(text);
    std::string line, out, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (memIsSection(line)) section = memLower(memGetSection(line));
        const std::string key = memLower(memGetKey(line));
        const bool path_key = std::find(kPathKeys.begin(), kPathKeys.end(), key) != kPathKeys.end();
        if (!(section == "paths" && path_key)) out += line + "\r\n";
    }
    out += "\r\n[paths]\r\n";
    for (size_t k = 0; k < kPathKeys.size(); ++k)
        out += std::string(kPathKeys[k]) + "=%gamepath%" + packed[k] + "\\\r\n";
    return out;
}

void print(std::ostream& stream, const check::CheckResult& result) {
    for (const check::Problem& problem : result.problems)
        stream << "memory-pack: " << check::format_problem(problem) << "\n";
}

bool has_errors(const check::CheckResult& result) {
    for (const check::Problem& problem : result.problems)
        if (problem.kind == check::Problem::Kind::Error) return true;
    return false;
}

// Unpacks the new package into a scratch folder and checks it there as the
// game would play it: only its own files readable.
check::CheckResult check_package(const PackOptions& options, const std::string& package_path, std::string& refusal) {
    const fs::path scratch = fs::temp_directory_path() / ("memory-pack-" + std::to_string(::getpid()));
    std::error_code error;
    fs::remove_all(scratch, error);
    check::CheckResult result;
    const package::Unpacked unpacked = package::unpack(package_path, scratch.string());
    refusal = unpacked.error;
    if (refusal.empty()) {
        check::CheckOptions check;
        check.definition = unpacked.definition;
        check.program_dir = options.program_dir;
        check.system_dir = options.system_dir;
        confine_reading_to(unpacked.folder);
        result = check::check_definition(check);
        confine_reading_to("");
    }
    fs::remove_all(scratch, error);
    return result;
}

}  // namespace

int pack_game(const PackOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> text = read_text_file(options.definition);
    if (!text) {
        err << "memory-pack: " << format_text(tr("cannot read %s"), options.definition.c_str()) << "\n";
        return 1;
    }
    // The game as the game reads it; every file it finds is a file of the game.
    std::vector<std::string> read;
    record_readable_files(&read);
    check::CheckOptions check;
    check.definition = options.definition;
    check.program_dir = options.program_dir;
    check.system_dir = options.system_dir;
    const check::CheckResult result = check::check_definition(check);
    record_readable_files(nullptr);
    print(err, result);
    if (has_errors(result)) {
        err << "memory-pack: " << format_text(tr("%s has errors; nothing was packed"), options.definition.c_str()) << "\n";
        return 1;
    }

    const DefinitionFiles files = read_definition(options, *text);
    const std::array<fs::path, 4>& folders = files.folders;
    add_listed_files(files, read);
    std::array<std::string, 4> packed;
    // Settings that name the same folder share its packed name.
    for (size_t k = 0; k < folders.size(); ++k) {
        const auto first = std::find(folders.begin(), folders.end(), folders[k]) - folders.begin();
        packed[k] = kPackedFolders[static_cast<size_t>(first)];
    }
    const fs::path definition = fs::absolute(options.definition).lexically_normal();
    // Named .ini whatever its name was: the reader finds the definition so.
    std::vector<package::Entry> entries{{definition.stem().string() + ".ini", "", packed_definition(*text, packed)}};
    std::set<std::string> names;
    for (const std::string& file : read) {
        const fs::path path = fs::absolute(file).lexically_normal();
        if (path == definition) continue;
        // The innermost of the game's folders that holds the file; each is absolute, so deeper than 0.
        std::string name;
        size_t depth = 0;
        for (size_t k = 0; k < folders.size(); ++k) {
            const fs::path relative = path.lexically_relative(folders[k]);
            if (relative.empty() || *relative.begin() == "..") continue;
            const size_t folder_depth = static_cast<size_t>(std::distance(folders[k].begin(), folders[k].end()));
            if (folder_depth > depth) {
                name = packed[k] + "/" + relative.generic_string();
                depth = folder_depth;
            }
        }
        if (name.empty()) {
            err << "memory-pack: "
                // TRANSLATORS: a file, then the first of the game's four folders.
                << format_text(tr("%s is read by the game but lies outside its four folders (%s, ...); nothing was "
                                  "packed"),
                               path.string().c_str(), folders[0].string().c_str())
                << "\n";
            return 1;
        }
        if (names.insert(name).second) entries.push_back({name, path.string(), ""});
    }

    const std::string output = options.output.empty()
                                   ? (fs::current_path() / (definition.stem().string() + package::kExtension)).string()
                                   : options.output;
    if (const std::string failed = package::write(output, entries); !failed.empty()) {
        err << "memory-pack: " << failed << "\n";
        return 1;
    }
    std::string refusal;
    const check::CheckResult packed_result = check_package(options, output, refusal);
    if (!refusal.empty() || has_errors(packed_result)) {
        print(err, packed_result);
        err << "memory-pack: "
            // TRANSLATORS: the package file; the next text adds why it was refused.
            << (refusal.empty() ? format_text(tr("the package does not play as the game does; %s is removed again"),
                                              output.c_str())
                                : format_text(tr("the package does not play as the game does: %s; %s is removed again"),
                                              refusal.c_str(), output.c_str()))
            << "\n";
        std::error_code error;
        fs::remove(output, error);
        return 1;
    }
    const size_t others = entries.size() - 1;
    // TRANSLATORS: the definition, the count of the other files, the package.
    out << format_text(tr_plural("Packed %1$s and %2$zu file into %3$s", "Packed %1$s and %2$zu files into %3$s", others),
                       options.definition.c_str(), others, output.c_str())
        << "\n"
        << format_text(tr("Play it with: memory %s"), output.c_str()) << "\n";
    return 0;
}

int memory_pack_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const std::string& default_program_dir, const std::string& default_system_dir) {
    const char* const usage = tr(
        // TRANSLATORS: the options and %apppath%, %windows% stay as they are.
        // xgettext:no-c-format
        "usage: memory-pack [options] DEFINITION\n"
        "\n"
        "Packs the game DEFINITION and every file it names into one file, NAME.memorygame,\n"
        "that plays anywhere: memory NAME.memorygame, or a double click. The game is checked\n"
        "first as memory-check does: errors refuse, warnings are shown.\n"
        "\n"
        "options:\n"
        "  -o FILE               the package to write (default: NAME.memorygame here);\n"
        "                        an existing file is never replaced\n"
        "  --program-dir DIR     the directory %apppath% stands for\n"
        "  --system-dir DIR      the directory %windows% stands for\n"
        "  --help                this text\n"
        "  --version             the version\n"
        "\n"
        "Exit status: 0 packed, 1 refused or failed, 2 bad usage.\n");
    PackOptions options{.program_dir = default_program_dir, .system_dir = default_system_dir};
    auto output = [&](const std::string& value) { options.output = value; return std::string(); };
    const int status = check::read_tool_arguments(args, out, err, "memory-pack", usage, {{"-o", output}}, {},
                                                  options.definition, options.program_dir, options.system_dir);
    if (status >= 0) return status;
    return pack_game(options, out, err);
}

}  // namespace mem::pack
