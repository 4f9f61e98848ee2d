#include "platform/files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace mem {

namespace {
// The folder that reading is confined to, resolved and with a trailing "/".
std::string g_confined;
std::vector<std::string>* g_recorded = nullptr;
}  // namespace

std::string native_path(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

// Mended: a game from a package reads only what lies in its unpacked folder;
// a name that leads outside it (absolute, "..", a link) is refused like a
// missing file.
static bool is_inside_confinement(const std::string& native) {
    std::error_code error;
    const std::string real = std::filesystem::canonical(native, error).string();
    return !error && real.compare(0, g_confined.size(), g_confined) == 0;
}

// Mended: only regular files count: a directory, a named pipe or a device is not a
// file of the game (opening a pipe would wait for a writer for ever).
static bool is_regular_readable(const std::string& native) {
    struct stat info {};
    if (native.empty() || ::stat(native.c_str(), &info) != 0) return false;
    if (!g_confined.empty() && !is_inside_confinement(native)) return false;
    if (!S_ISREG(info.st_mode)) return false;
    std::ifstream in(native, std::ios::binary);
    if (in.good() && g_recorded) g_recorded->push_back(native);
    return in.good();
}

std::optional<std::string> read_text_file(const std::string& path) {
    std::string native = native_path(path);
    if (!is_regular_readable(native)) return std::nullopt;
    std::ifstream in(native, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

bool can_open_for_reading(const std::string& path) { return is_regular_readable(native_path(path)); }

bool directory_exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(native_path(path), error);
}

std::string current_directory() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

std::string executable_path() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

std::string executable_dir() {
    const std::filesystem::path path = executable_path();
    return path.empty() ? current_directory() : path.parent_path().string();
}

void confine_reading_to(const std::string& folder) {
    g_confined.clear();
    if (folder.empty()) return;
    std::error_code error;
    const std::string real = std::filesystem::canonical(native_path(folder), error).string();
    // A folder that cannot be resolved lets nothing through.
    g_confined = error ? std::string("\0") : real + "/";
}

void record_readable_files(std::vector<std::string>* paths) { g_recorded = paths; }

bool append_line(const std::string& path, const std::string& line) {
    std::ofstream out(native_path(path), std::ios::binary | std::ios::app);
    if (!out) return false;
    out << line << "\r\n";
    out.close();
    return !out.fail();
}

}  // namespace mem
