// Unpacking a game package into a folder of its own, checking every limit
// while the bytes are read: the sizes in the archive's headers are not trusted.
#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <nettle/sha2.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include "platform/translation.h"

#include "package/package.h"

namespace mem::package {

namespace fs = std::filesystem;

namespace {

constexpr size_t kBlock = 16 * 1024;

// Where the archive's bytes come from, handed to libarchive in small blocks
// so that its count of bytes read tells how much each entry took.
struct Source {
    const unsigned char* data = nullptr;  // bytes in memory, or
    int fd = -1;                          // an open file
    size_t size = 0, offset = 0;
    unsigned char block[kBlock];
};

la_ssize_t read_block(struct archive*, void* client, const void** buffer) {
    Source& source = *static_cast<Source*>(client);
    if (source.fd >= 0) {
        *buffer = source.block;
        return ::read(source.fd, source.block, kBlock);
    }
    const size_t n = std::min(kBlock, source.size - source.offset);
    *buffer = source.data + source.offset;
    source.offset += n;
    return static_cast<la_ssize_t>(n);
}

la_int64_t seek_to(struct archive*, void* client, la_int64_t offset, int whence) {
    Source& source = *static_cast<Source*>(client);
    if (source.fd >= 0) return ::lseek(source.fd, offset, whence);
    const la_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<la_int64_t>(source.offset)
                                                                        : static_cast<la_int64_t>(source.size);
    if (base + offset < 0 || base + offset > static_cast<la_int64_t>(source.size)) return ARCHIVE_FATAL;
    source.offset = static_cast<size_t>(base + offset);
    return base + offset;
}

using Archive = std::unique_ptr<struct archive, int (*)(struct archive*)>;

bool is_utf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && c < 0xC2)) return false;
        uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and values past Unicode.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// Why a name may not be unpacked, or empty text. A trailing "/" (a folder
// entry) is removed first.
std::string unsafe_name(const std::string& name) {
    if (name.empty()) return tr("an empty name");
    if (name.front() == '/') return tr("an absolute name");
    if (name.find('\\') != std::string::npos) return tr("a backslash in the name");
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string part = name.substr(start, end - start);
        if (part == "..") return tr("a \"..\" part in the name");
        if (part.empty()) return tr("an empty part in the name");
        start = end + 1;
    }
    return "";
}

bool is_definition_name(const std::string& name) {
    if (name.find('/') != std::string::npos || name.size() < 5) return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".ini";
}

std::string entry_refusal(const std::string& name, const std::string& why) {
    // TRANSLATORS: %1$s is the name of an entry in a game package, %2$s why it is refused
    // (such as "a symbolic link").
    return format_text(tr("entry \"%1$s\": %2$s"), name.c_str(), why.c_str());
}

class Extraction {
public:
    Extraction(struct archive* in, const fs::path& folder, const Limits& limits)
        : in_(in), folder_(folder), limits_(limits) {}

    std::string run() {
        struct archive_entry* entry = nullptr;
        for (;;) {
            const int status = archive_read_next_header(in_, &entry);
            if (status == ARCHIVE_EOF) break;
            if (status < ARCHIVE_WARN) return damaged(entries_ == 0 ? "" : last_name_);
            if (++entries_ > limits_.entries)
                return format_text(tr("more than %zu entries"), limits_.entries);
            if (std::string refusal = take(entry); !refusal.empty()) return refusal;
        }
        if (entries_ == 0) return tr("not a game package: the archive is empty");
        if (definitions_.empty()) return tr("no definition file (.ini) at the top of the package");
        if (definitions_.size() > 1)
            return format_text(tr("more than one definition file at the top: %s, %s"), definitions_[0].c_str(),
                               definitions_[1].c_str());
        return "";
    }

private:
    std::string damaged(const std::string& name) const {
        const char* reason = archive_error_string(in_);
        const std::string why = format_text(tr("not a readable zip archive (%s)"), reason ? reason : tr("unknown error"));
        return name.empty() ? why : entry_refusal(name, why);
    }

    std::string take(struct archive_entry* entry) {
        const char* utf8 = archive_entry_pathname_utf8(entry);
        if (!utf8 || !is_utf8(utf8)) return format_text(tr("entry %zu: its name is not UTF-8"), entries_);
        std::string name = utf8;
        last_name_ = name;
        const auto refuse = [&](const std::string& why) { return entry_refusal(name, why); };
        if (archive_entry_is_encrypted(entry)) return refuse("encrypted");
        if (archive_entry_hardlink(entry)) return refuse(tr("a hard link"));
        const auto type = archive_entry_filetype(entry);
        if (type == AE_IFLNK || archive_entry_symlink(entry)) return refuse(tr("a symbolic link"));
        if (type != AE_IFREG && type != AE_IFDIR) return refuse(tr("a device, FIFO or socket"));

        if (entries_ == 1) {
            if (name != "mimetype" || type != AE_IFREG)
                return format_text(tr("not a game package: its first entry is \"%s\", not \"mimetype\""), name.c_str());
            return check_mime_type();
        }
        if (type == AE_IFDIR && name.size() > 1 && name.back() == '/') name.pop_back();
        if (std::string why = unsafe_name(name); !why.empty()) return refuse(why);
        std::error_code error;
        if (type == AE_IFDIR) {
            fs::create_directories(folder_ / name, error);
            return error ? refuse(format_text(tr("cannot make the folder: %s"), error.message().c_str())) : "";
        }
        if (is_definition_name(name)) definitions_.push_back(name);
        if (archive_entry_size_is_set(entry) &&
            static_cast<uint64_t>(archive_entry_size(entry)) > limits_.unpacked_bytes - unpacked_)
            return refuse(too_large());
        fs::create_directories((folder_ / name).parent_path(), error);
        // Every folder on the way was made here and no link is ever made, so
        // the file lands inside the package's folder; an existing one means
        // the name came twice.
        const int fd = ::open((folder_ / name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            return refuse(errno == EEXIST ? std::string(tr("the name comes twice"))
                                          : format_text(tr("cannot write: %s"), strerror(errno)));
        std::string why = copy_data(fd);
        if (::close(fd) != 0 && why.empty()) why = tr("cannot write the file");
        return why.empty() ? "" : refuse(why);
    }

    std::string too_large() const {
        return format_text(tr("the package unpacks to more than %llu MB"),
                           static_cast<unsigned long long>(limits_.unpacked_bytes >> 20));
    }

    std::string check_mime_type() {
        char text[64];
        const la_ssize_t n = archive_read_data(in_, text, sizeof text);
        if (n < 0) return damaged("mimetype");
        if (std::string(text, static_cast<size_t>(n)) != kMimeType)
            return format_text(tr("not a game package: \"mimetype\" does not say %s"), kMimeType);
        return "";
    }

    // Copies the entry's bytes, counting them against the limits as they come.
    std::string copy_data(int fd) {
        const la_int64_t start = archive_filter_bytes(in_, -1);
        uint64_t written = 0;
        unsigned char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t n = archive_read_data(in_, buffer, sizeof buffer);
            if (n < 0) return damaged("");
            if (n == 0) return "";
            written += static_cast<uint64_t>(n);
            unpacked_ += static_cast<uint64_t>(n);
            if (unpacked_ > limits_.unpacked_bytes) return too_large();
            const uint64_t packed =
                static_cast<uint64_t>(std::max<la_int64_t>(archive_filter_bytes(in_, -1) - start, 1));
            if (written > limits_.ratio_floor && written > limits_.ratio * packed)
                return format_text(tr("unpacks to more than %llu times its packed size"),
                                   static_cast<unsigned long long>(limits_.ratio));
            for (la_ssize_t done = 0; done < n;) {
                const ssize_t put = ::write(fd, buffer + done, static_cast<size_t>(n - done));
                if (put <= 0) return format_text(tr("cannot write: %s"), strerror(errno));
                done += put;
            }
        }
    }

    struct archive* in_;
    fs::path folder_;
    Limits limits_;
    size_t entries_ = 0;
    uint64_t unpacked_ = 0;
    std::string last_name_;
    std::vector<std::string> definitions_;
};

// Reads the whole source into a new folder; on a refusal the folder goes again.
std::string extract(Source& source, const fs::path& folder, const Limits& limits) {
    std::error_code error;
    if (!fs::create_directory(folder, error) || error) return format_text(tr("cannot make %s"), folder.string().c_str());
    Archive in(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(in.get());
    std::string refusal;
    // With seeking, the zip reader takes each entry's type from the central
    // directory, so links and devices are seen for what they are.
    archive_read_set_read_callback(in.get(), read_block);
    archive_read_set_seek_callback(in.get(), seek_to);
    archive_read_set_callback_data(in.get(), &source);
    if (archive_read_open1(in.get()) != ARCHIVE_OK) {
        refusal = tr("not a readable zip archive");
    } else {
        refusal = Extraction(in.get(), folder, limits).run();
    }
    if (!refusal.empty()) fs::remove_all(folder, error);
    return refusal;
}

// The first half of the SHA-256 of the file, in hexadecimal; empty when it cannot be read.
std::string file_hash(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "";
    sha256_ctx context;
    sha256_init(&context);
    char buffer[64 * 1024];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        sha256_update(&context, static_cast<size_t>(in.gcount()), reinterpret_cast<const uint8_t*>(buffer));
    if (in.bad()) return "";
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < sizeof digest / 2; ++i) text += {hex[digest[i] >> 4], hex[digest[i] & 15]};
    return text;
}

// The one definition file at the top of an unpacked folder.
std::string find_definition(const fs::path& folder) {
    std::error_code error;
    std::string found;
    for (const fs::directory_entry& item : fs::directory_iterator(folder, error)) {
        if (!item.is_regular_file(error) || !is_definition_name(item.path().filename().string())) continue;
        if (!found.empty()) return "";
        found = item.path().string();
    }
    return found;
}

}  // namespace

bool is_package_name(const std::string& path) {
    const std::string extension = kExtension;
    if (path.size() <= extension.size()) return false;
    std::string end = path.substr(path.size() - extension.size());
    std::transform(end.begin(), end.end(), end.begin(), ::tolower);
    return end == extension;
}

std::string unpack_bytes(const void* data, size_t size, const std::string& folder, const Limits& limits) {
    Source source;
    source.data = static_cast<const unsigned char*>(data);
    source.size = size;
    return extract(source, folder, limits);
}

Unpacked unpack(const std::string& package, const std::string& cache_root, const Limits& limits) {
    Unpacked result;
    const std::string hash = file_hash(package);
    if (hash.empty() || cache_root.empty()) {
        result.error = hash.empty() ? tr("cannot read the package") : tr("no folder to unpack it into");
        return result;
    }
    const fs::path folder = fs::path(cache_root) / hash;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        fs::create_directories(cache_root, error);
        // Unpacked beside its place and renamed when complete, so a folder
        // under its hash is always whole.
        const fs::path partial = fs::path(cache_root) / (hash + ".partial-" + std::to_string(::getpid()));
        fs::remove_all(partial, error);
        Source source;
        source.fd = ::open(package.c_str(), O_RDONLY | O_CLOEXEC);
        if (source.fd < 0) {
            result.error = tr("cannot read the package");
            return result;
        }
        result.error = extract(source, partial, limits);
        ::close(source.fd);
        if (!result.error.empty()) return result;
        fs::rename(partial, folder, error);
        // Another start may have unpacked the same package meanwhile.
        if (error) fs::remove_all(partial, error);
    }
    result.definition = find_definition(folder);
    if (result.definition.empty()) {
        result.error = format_text(tr("the unpacked folder %s holds no single definition file"), folder.string().c_str());
        return result;
    }
    result.folder = folder.string() + "/";
    return result;
}

std::string default_cache_root() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/') return std::string(cache) + "/memory/packages";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.cache/memory/packages";
    return "";
}

}  // namespace mem::package
