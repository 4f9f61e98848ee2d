#pragma once
// Runs a game as a program of its own and tells when it has ended, so a
// game's fatal error or crash never takes the library down.
#include <optional>
#include <string>
#include <vector>

namespace mem::library {

struct GameEnd {
    bool failed = false;
    std::string message;  // why it failed: its last message, or how it ended
};

// The message of a failed game from its standard error, on one line.
std::string last_message(const std::string& error_text);

class GameRunner {
public:
    virtual ~GameRunner() = default;
    // Starts the program with its arguments; false with the reason when it cannot.
    virtual bool start(const std::vector<std::string>& arguments, std::string& error) = 0;
    // How the program ended, once it has; nothing while it runs.
    virtual std::optional<GameEnd> poll() = 0;
    virtual bool running() const = 0;
    // The last line the program wrote, shown as progress while it works.
    virtual std::string last_line() const { return ""; }
};

// Starts programs directly with their arguments (no shell). What a program
// writes (standard output and error) still reaches the terminal, and its
// last line is its progress, or the message of a failed end.
class ProcessRunner : public GameRunner {
public:
    ~ProcessRunner() override;
    bool start(const std::vector<std::string>& arguments, std::string& error) override;
    std::optional<GameEnd> poll() override;
    bool running() const override { return pid_ > 0; }
    std::string last_line() const override { return last_message(error_text_); }

private:
    void drain_errors();
    int pid_ = -1;
    int errors_ = -1;  // the read end of the program's standard error
    std::string error_text_;
};


// A message box's text on one line: line breaks made blanks, without the
// question of a continuable error.
std::string message_on_one_line(std::string text);

}  // namespace mem::library
