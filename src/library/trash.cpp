#include "library/trash.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace mem::library {
namespace fs = std::filesystem;
namespace {

// A path as the trash info wants it: bytes outside the unreserved set and "/" percent-encoded.
std::string url_encoded(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("-._~/", c)) {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

}  // namespace

bool move_to_trash(const std::string& path, const Environment& environment, std::string& error) {
    const fs::path trash = fs::path(own_games_folder(environment)).parent_path().parent_path() / "Trash";
    std::error_code failed;
    if (!fs::exists(fs::symlink_status(path, failed))) {
        error = "The game cannot be moved to the trash: it is no longer there.";
        return false;
    }
    fs::create_directories(trash / "files", failed);
    fs::create_directories(trash / "info", failed);
    const fs::path source = fs::absolute(path, failed).lexically_normal();
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", std::localtime(&now));
    const std::string base = source.filename().string();
    for (int n = 1; n < 1000; ++n) {
        const std::string name = n == 1 ? base : base + "." + std::to_string(n);
        const fs::path info = trash / "info" / (name + ".trashinfo");
        if (fs::exists(trash / "files" / name, failed)) continue;
        // Made exclusively first: the name is then ours, as the specification asks.
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            error = "The trash cannot be written: " + std::string(std::strerror(errno));
            return false;
        }
        const std::string text = "[Trash Info]\nPath=" + url_encoded(source.string()) + "\nDeletionDate=" + date + "\n";
        const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        const fs::path target = trash / "files" / name;
        if (written && std::rename(source.c_str(), target.c_str()) == 0) return true;
        error = written ? "The game cannot be moved to the trash: " + std::string(std::strerror(errno))
                        : "The trash cannot be written.";
        fs::remove(info, failed);
        return false;
    }
    error = "The trash holds too many games of this name.";
    return false;
}

}  // namespace mem::library
