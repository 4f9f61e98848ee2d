#include "library/game_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/errors.h"
#include "platform/translation.h"

extern char** environ;

namespace mem::library {
namespace {

// A game's messages are kept up to this size, the latest ones.
constexpr size_t kKeptErrorText = 16384;

}  // namespace

ProcessRunner::~ProcessRunner() {
    if (errors_ >= 0) ::close(errors_);
}

bool ProcessRunner::start(const std::vector<std::string>& arguments, std::string& error) {
    if (running() || arguments.empty()) return false;
    int pipe_ends[2];
    if (::pipe2(pipe_ends, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_ends[1]);
    if (failed != 0) {
        ::close(pipe_ends[0]);
        error = std::strerror(failed);
        return false;
    }
    ::fcntl(pipe_ends[0], F_SETFL, O_NONBLOCK);
    pid_ = pid;
    errors_ = pipe_ends[0];
    error_text_.clear();
    return true;
}

void ProcessRunner::drain_errors() {
    char buffer[4096];
    ssize_t n;
    while (errors_ >= 0 && (n = ::read(errors_, buffer, sizeof buffer)) > 0) {
        // The game's messages still reach the terminal the library runs in.
        (void)!::write(STDERR_FILENO, buffer, static_cast<size_t>(n));
        error_text_.append(buffer, static_cast<size_t>(n));
        if (error_text_.size() > kKeptErrorText) error_text_.erase(0, error_text_.size() - kKeptErrorText);
    }
}

std::optional<GameEnd> ProcessRunner::poll() {
    if (!running()) return std::nullopt;
    drain_errors();
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR)) return std::nullopt;
    pid_ = -1;
    drain_errors();
    ::close(errors_);
    errors_ = -1;
    GameEnd end;
    if (done < 0) return end;
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        end.failed = true;
        end.message = last_message(error_text_);
        if (end.message.empty()) end.message = format_text(tr("The game ended with status %d."), WEXITSTATUS(status));
    } else if (WIFSIGNALED(status)) {
        end.failed = true;
        // TRANSLATORS: %s is the signal that ended the game, as the system names it.
        end.message = format_text(tr("The game crashed: %s."), strsignal(WTERMSIG(status)));
    }
    return end;
}

std::string last_message(const std::string& error_text) {
    // The game's last message box ("Error in application (#5): text", its
    // lines broken) says most; else the last line written.
    // The game runs in the same language as the library, so its titles are
    // the library's own.
    std::string text;
    size_t colon = std::string::npos;
    for (size_t line = error_text.size(); colon == std::string::npos && line > 0;) {
        line = error_text.rfind('\n', line - 1);
        const size_t start = line == std::string::npos ? 0 : line + 1;
        int code = 0;
        size_t after = 0;
        if (memReadErrorTitle(error_text, start, code, after) && error_text.compare(after, 2, ": ") == 0) colon = after;
        if (line == std::string::npos) break;
    }
    if (colon != std::string::npos) {
        text = error_text.substr(colon + 2);
    } else {
        const size_t end = error_text.find_last_not_of("\r\n ");
        if (end == std::string::npos) return "";
        const size_t start = error_text.rfind('\n', end);
        text = error_text.substr(start == std::string::npos ? 0 : start + 1);
    }
    return message_on_one_line(text);
}

std::string message_on_one_line(std::string text) {
    const std::string question = memContinueQuestion();
    if (text.size() >= question.size() && text.compare(text.size() - question.size(), question.size(), question) == 0)
        text.erase(text.size() - question.size());
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') c = ' ';
        if (c != ' ' || (!line.empty() && line.back() != ' ')) line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace mem::library
