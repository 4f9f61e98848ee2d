#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "platform/translation.h"

namespace mem {
namespace fs = std::filesystem;

namespace {

// The path as the info file writes it: bytes outside the unreserved set and
// "/" as %XX.
std::string escaped(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
            c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string local_time_now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The user's trash: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
fs::path home_trash() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return fs::path(data) / "Trash";
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "/") / ".local" / "share" / "Trash";
}

dev_t device_of(const fs::path& path) {
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0 ? status.st_dev : 0;
}

// Moves `path` into `trash` as `recorded` (the path its record names).
bool move_into(const fs::path& path, const fs::path& trash, const std::string& recorded, std::string& error) {
    std::error_code failed;
    fs::create_directories(trash / "files", failed);
    fs::create_directories(trash / "info", failed);
    const std::string record = "[Trash Info]\nPath=" + escaped(recorded) + "\nDeletionDate=" + local_time_now() + "\n";
    // The info file is made first and exclusively: it reserves the name.
    const std::string stem = path.filename().string();
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? stem : stem + "." + std::to_string(n);
        const fs::path info = trash / "info" / (name + ".trashinfo");
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            error = format_text(tr("cannot write %s: %s"), info.string().c_str(), std::strerror(errno));
            return false;
        }
        const bool written = ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
        ::close(fd);
        // A file left in files/ without its record is never replaced.
        if (written && fs::exists(fs::symlink_status(trash / "files" / name, failed))) {
            fs::remove(info, failed);
            continue;
        }
        if (written) fs::rename(path, trash / "files" / name, failed);
        if (!written || failed) {
            error = written ? failed.message() : format_text(tr("cannot write %s"), info.string().c_str());
            fs::remove(info, failed);
            return false;
        }
        return true;
    }
    error = format_text(tr("no free name in %s"), trash.string().c_str());
    return false;
}

}  // namespace

bool move_to_trash(const fs::path& path, std::string& error) {
    std::error_code failed;
    // Nothing there: no trash folder is made for it.
    if (!fs::exists(fs::symlink_status(path, failed))) {
        error = path.string() + " is no longer there";
        return false;
    }
    const fs::path absolute = fs::absolute(path).lexically_normal();
    const fs::path home = home_trash();
    fs::create_directories(home, failed);
    if (device_of(home) == device_of(absolute)) return move_into(absolute, home, absolute.string(), error);
    // On another file system: the trash at the top of it, $topdir/.Trash-UID,
    // whose records name paths from the top.
    fs::path top = absolute;
    while (top.has_relative_path() && device_of(top.parent_path()) == device_of(absolute)) top = top.parent_path();
    const fs::path trash = top / (".Trash-" + std::to_string(::getuid()));
    if (fs::create_directory(trash, failed)) fs::permissions(trash, fs::perms::owner_all, failed);
    return move_into(absolute, trash, absolute.lexically_relative(top).string(), error);
}

}  // namespace mem
