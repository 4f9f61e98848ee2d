// The libarchive calls of the package reader and writer. libarchive (and,
// through it, libxml2 and ICU) is opened only when a package is read or
// written, so a game that never touches one does not load it.
#include <archive.h>
#include <archive_entry.h>

#include <errno.h>

#include <cstdio>
#include <cstdlib>

#include "platform/on_demand.h"

namespace {

constexpr const char* kLibrary = "libarchive.so.13";

// A missing libarchive is a broken installation (the package depends on it):
// said plainly, and the program ends as after any fatal error.
void* must_find(const char* name) {
    const char* error = nullptr;
    void* symbol = mem::on_demand_symbol(kLibrary, name, &error);
    if (!symbol) {
        std::fprintf(stderr, "%s: game packages cannot be read or written: %s\n", program_invocation_short_name,
                     error ? error : kLibrary);
        std::exit(1);
    }
    return symbol;
}

}  // namespace

// Each call finds its function once and forwards to it.
#define REAL(name) ([] { static auto* const f = reinterpret_cast<decltype(&name)>(must_find(#name)); return f; }())

extern "C" {

struct archive* archive_read_new() { return REAL(archive_read_new)(); }
int archive_read_free(struct archive* a) { return REAL(archive_read_free)(a); }
int archive_read_support_format_zip(struct archive* a) { return REAL(archive_read_support_format_zip)(a); }
int archive_read_set_callback_data(struct archive* a, void* data) {
    return REAL(archive_read_set_callback_data)(a, data);
}
int archive_read_set_read_callback(struct archive* a, archive_read_callback* callback) {
    return REAL(archive_read_set_read_callback)(a, callback);
}
int archive_read_set_seek_callback(struct archive* a, archive_seek_callback* callback) {
    return REAL(archive_read_set_seek_callback)(a, callback);
}
int archive_read_open1(struct archive* a) { return REAL(archive_read_open1)(a); }
int archive_read_next_header(struct archive* a, struct archive_entry** entry) {
    return REAL(archive_read_next_header)(a, entry);
}
la_ssize_t archive_read_data(struct archive* a, void* buffer, size_t size) {
    return REAL(archive_read_data)(a, buffer, size);
}
la_int64_t archive_filter_bytes(struct archive* a, int n) { return REAL(archive_filter_bytes)(a, n); }
const char* archive_error_string(struct archive* a) { return REAL(archive_error_string)(a); }

struct archive* archive_write_new() { return REAL(archive_write_new)(); }
int archive_write_free(struct archive* a) { return REAL(archive_write_free)(a); }
int archive_write_set_format_zip(struct archive* a) { return REAL(archive_write_set_format_zip)(a); }
int archive_write_set_bytes_in_last_block(struct archive* a, int bytes) {
    return REAL(archive_write_set_bytes_in_last_block)(a, bytes);
}
int archive_write_zip_set_compression_deflate(struct archive* a) {
    return REAL(archive_write_zip_set_compression_deflate)(a);
}
int archive_write_zip_set_compression_store(struct archive* a) {
    return REAL(archive_write_zip_set_compression_store)(a);
}
int archive_write_open_filename(struct archive* a, const char* file) {
    return REAL(archive_write_open_filename)(a, file);
}
int archive_write_header(struct archive* a, struct archive_entry* entry) {
    return REAL(archive_write_header)(a, entry);
}
la_ssize_t archive_write_data(struct archive* a, const void* buffer, size_t size) {
    return REAL(archive_write_data)(a, buffer, size);
}
int archive_write_close(struct archive* a) { return REAL(archive_write_close)(a); }

struct archive_entry* archive_entry_new() { return REAL(archive_entry_new)(); }
void archive_entry_free(struct archive_entry* e) { REAL(archive_entry_free)(e); }
__LA_MODE_T archive_entry_filetype(struct archive_entry* e) { return REAL(archive_entry_filetype)(e); }
const char* archive_entry_hardlink(struct archive_entry* e) { return REAL(archive_entry_hardlink)(e); }
const char* archive_entry_symlink(struct archive_entry* e) { return REAL(archive_entry_symlink)(e); }
int archive_entry_is_encrypted(struct archive_entry* e) { return REAL(archive_entry_is_encrypted)(e); }
const char* archive_entry_pathname_utf8(struct archive_entry* e) { return REAL(archive_entry_pathname_utf8)(e); }
la_int64_t archive_entry_size(struct archive_entry* e) { return REAL(archive_entry_size)(e); }
int archive_entry_size_is_set(struct archive_entry* e) { return REAL(archive_entry_size_is_set)(e); }
void archive_entry_set_filetype(struct archive_entry* e, unsigned int type) {
    REAL(archive_entry_set_filetype)(e, type);
}
void archive_entry_set_mtime(struct archive_entry* e, time_t seconds, long nanoseconds) {
    REAL(archive_entry_set_mtime)(e, seconds, nanoseconds);
}
void archive_entry_set_pathname_utf8(struct archive_entry* e, const char* name) {
    REAL(archive_entry_set_pathname_utf8)(e, name);
}
void archive_entry_set_perm(struct archive_entry* e, __LA_MODE_T mode) { REAL(archive_entry_set_perm)(e, mode); }
void archive_entry_set_size(struct archive_entry* e, la_int64_t size) { REAL(archive_entry_set_size)(e, size); }

}  // extern "C"
