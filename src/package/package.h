#pragma once
// Game packages: one zip file NAME.memorygame whose first entry is an
// uncompressed "mimetype" file, then the game's folder with one definition
// file at its top. A package is input from a stranger: unpacking refuses
// anything that could write outside its folder or fill the disk.
#include <cstdint>
#include <string>
#include <vector>

namespace mem::package {

inline constexpr const char* kMimeType = "application/x-memorygame";
inline constexpr const char* kExtension = ".memorygame";

struct Limits {
    size_t entries = 2000;
    uint64_t unpacked_bytes = 512ull << 20;
    // An entry larger than `ratio_floor` may unpack to at most `ratio` times
    // the bytes it took in the package.
    uint64_t ratio = 100;
    uint64_t ratio_floor = 1ull << 20;
};

struct Unpacked {
    std::string folder;      // the unpacked game, ending in "/"; empty after a refusal
    std::string definition;  // the definition file at its top
    std::string error;       // why the package was refused, naming the entry
};

// True when the name ends in ".memorygame" (any letter case).
bool is_package_name(const std::string& path);

// Unpacks the package once into cache_root/<hash of its bytes>/ and reuses
// that folder on later calls. A refused package leaves nothing behind.
Unpacked unpack(const std::string& package, const std::string& cache_root, const Limits& limits = {});

// Unpacks a package held in memory into `folder`, which must not exist yet.
// Returns the refusal, or empty text; a refused package leaves no folder.
std::string unpack_bytes(const void* data, size_t size, const std::string& folder, const Limits& limits = {});

// The user's folder of unpacked packages: $XDG_CACHE_HOME/memory/packages,
// ~/.cache/memory/packages by default; empty when neither is known.
std::string default_cache_root();

// One file of a package to be written: its name inside the package ("/"
// separated) and either the file to copy or the text itself.
struct Entry {
    std::string name;
    std::string source;  // a file on disk; empty when `text` is the content
    std::string text;
};

// Writes a new package at `path` (which must not exist): the mimetype entry,
// then the entries in order. Returns the failure, or empty text.
std::string write(const std::string& path, const std::vector<Entry>& entries);

}  // namespace mem::package
