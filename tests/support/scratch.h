#pragma once
// A scratch folder that goes with its owner, the status a program ended with, what a command prints.
#include <unistd.h>

#include <cstdio>
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

// The first kilobyte a shell command writes to its standard output.
inline std::string output_of(const std::string& command) {
    std::string said(1024, '\0');
    FILE* run = popen(command.c_str(), "r");
    said.resize(run ? std::fread(said.data(), 1, said.size(), run) : 0);
    if (run) pclose(run);
    return said;
}

}  // namespace mem::test
