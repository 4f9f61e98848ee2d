#pragma once
// memory-check: reads a game definition with the game's own code on the
// headless backend, answers OK to every continuable error, and adds the
// warnings the game does not raise but a game author needs.
#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace mem::check {

struct CheckOptions {
    std::string definition;   // the definition file, as the game's argument
    std::string program_dir;  // what %apppath% stands for
    std::string system_dir;   // what %windows% stands for
    int screen_width = 1024;
    int screen_height = 768;
};

struct Problem {
    // A hint follows the errors when the checker sees their likely cause.
    enum class Kind { Error, Warning, Hint };
    Kind kind;
    int code;  // the game's error number; 0 for warnings
    std::string text;
};

struct CheckResult {
    std::vector<Problem> problems;
    bool fatal = false;  // the game ended: later steps were not checked
};

CheckResult check_definition(const CheckOptions& options);

// "error 105: <message>", "warning: <text>" or "hint: <text>".
std::string format_problem(const Problem& problem);

// The whole tool: parses the arguments (without the program name), prints
// the problems on `out` and returns the exit status: 0 clean, 1 errors (or
// warnings with --warnings-as-errors), 2 bad usage.
int memory_check_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& default_program_dir, const std::string& default_system_dir);

// The command line memory-check and memory-pack share: --program-dir, --system-dir, the tool's own `values` (each
// taking its value, answering "" or a usage error) and `switches`, one definition (made absolute). `system_dir` gets
// a trailing separator unless empty. Returns -1 to go on, else the exit status: 0 after --help, 2 on bad usage.
using TakeValue = std::function<std::string(const std::string& value)>;
int read_tool_arguments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const char* name,
                        const char* usage, std::map<std::string, TakeValue> values,
                        const std::map<std::string, bool*>& switches, std::string& definition,
                        std::string& program_dir, std::string& system_dir);

}  // namespace mem::check
