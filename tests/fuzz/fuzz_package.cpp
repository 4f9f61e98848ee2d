// The package reader on any bytes: unpacked into a scratch folder, removed again after each input. A refused
// package must leave no folder behind.
#include <unistd.h>

#include <filesystem>

#include "package/package.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fs::path dir = fs::temp_directory_path() / ("memory-fuzz-package-" + std::to_string(::getpid()));
    std::error_code error;
    fs::remove_all(dir, error);
    const std::string refusal = mem::package::unpack_bytes(data, size, dir.string());
    if (!refusal.empty() && fs::exists(dir)) __builtin_trap();
    fs::remove_all(dir, error);
    return 0;
}
