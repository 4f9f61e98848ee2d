#pragma once
// A scratch folder that goes with its owner, and the status a program ended with.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/headless/headless_platform.h"

namespace mem::test {

// An emptied folder NAME-pid in the temporary directory, removed again with the object.
struct ScratchDir {
    explicit ScratchDir(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    const std::filesystem::path path;
};

// The exit status when the program ended while `act` ran, nothing when it went on.
inline std::optional<int> exit_status(const std::function<void()>& act) {
    try {
        act();
    } catch (const ProgramEnded& ended) {
        return ended.status;
    }
    return std::nullopt;
}

}  // namespace mem::test
