// Writing a game package: the uncompressed mimetype entry first, so the file
// type shows in its first bytes, then the game's files, deflated.
#include <archive.h>
#include <archive_entry.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include "platform/translation.h"

#include "package/package.h"

namespace mem::package {

namespace {

// One fixed time for every entry: the same game gives the same package.
constexpr time_t kEntryTime = 946684800;  // 2000-01-01

std::string add(struct archive* out, const std::string& name, const std::string& content) {
    std::unique_ptr<struct archive_entry, void (*)(struct archive_entry*)> entry(archive_entry_new(),
                                                                                 archive_entry_free);
    archive_entry_set_pathname_utf8(entry.get(), name.c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), static_cast<la_int64_t>(content.size()));
    archive_entry_set_mtime(entry.get(), kEntryTime, 0);
    if (archive_write_header(out, entry.get()) != ARCHIVE_OK ||
        archive_write_data(out, content.data(), content.size()) != static_cast<la_ssize_t>(content.size()))
        return name + ": " + archive_error_string(out);
    return "";
}

std::string write_entries(struct archive* out, const std::vector<Entry>& entries) {
    archive_write_zip_set_compression_store(out);
    if (std::string failed = add(out, "mimetype", kMimeType); !failed.empty()) return failed;
    archive_write_zip_set_compression_deflate(out);
    for (const Entry& entry : entries) {
        std::string content = entry.text;
        if (!entry.source.empty()) {
            std::ifstream in(entry.source, std::ios::binary);
            if (!in) return format_text(tr("cannot read %s"), entry.source.c_str());
            content.assign(std::istreambuf_iterator<char>(in), {});
            if (in.bad()) return format_text(tr("cannot read %s"), entry.source.c_str());
        }
        if (std::string failed = add(out, entry.name, content); !failed.empty()) return failed;
    }
    return "";
}

}  // namespace

std::string write(const std::string& path, const std::vector<Entry>& entries) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(path, error)) return path + " exists already";
    // Written under a name of its own, then linked to its place, which fails
    // rather than replace a file that appeared meanwhile.
    const std::string partial = path + ".partial-" + std::to_string(::getpid());
    std::unique_ptr<struct archive, int (*)(struct archive*)> out(archive_write_new(), archive_write_free);
    archive_write_set_format_zip(out.get());
    archive_write_set_bytes_in_last_block(out.get(), 1);
    std::string failed;
    if (archive_write_open_filename(out.get(), partial.c_str()) != ARCHIVE_OK) {
        failed = format_text(tr("cannot write %s: %s"), path.c_str(), archive_error_string(out.get()));
    } else {
        failed = write_entries(out.get(), entries);
        if (archive_write_close(out.get()) != ARCHIVE_OK && failed.empty())
            failed = format_text(tr("cannot write %s: %s"), path.c_str(), archive_error_string(out.get()));
    }
    if (failed.empty() && ::link(partial.c_str(), path.c_str()) != 0)
        failed = format_text(tr("cannot write %s: %s"), path.c_str(), std::strerror(errno));
    fs::remove(partial, error);
    return failed;
}

}  // namespace mem::package
