#include "platform/files.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace mem {

std::string native_path(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

// Mended: only regular files count: a directory, a named pipe or a device is not a
// file of the game (opening a pipe would wait for a writer for ever).
static bool is_regular_readable(const std::string& native) {
    struct stat info {};
    if (native.empty() || ::stat(native.c_str(), &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) return false;
    std::ifstream in(native, std::ios::binary);
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

bool append_line(const std::string& path, const std::string& line) {
    std::ofstream out(native_path(path), std::ios::binary | std::ios::app);
    if (!out) return false;
    out << line << "\r\n";
    out.close();
    return !out.fail();
}

}  // namespace mem
