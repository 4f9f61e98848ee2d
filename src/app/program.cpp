#include "app/program.h"

#include <iostream>

#include "app/errors.h"
#include "app/game_window.h"
#include "app/splash_window.h"
#include "definition/syntax.h"
#include "package/package.h"
#include "platform/files.h"
#include "platform/translation.h"

namespace mem {

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() {
    if (confined_) confine_reading_to("");
}

void Program::run() {
    memDebug = True;
    std::string path = memLocateINI("memory.ini");
    if (path.empty()) memHandleError(1);
    if (package::is_package_name(path) && memFileExists(path)) path = openPackage(path);
    memStartUp(path);
}

std::string Program::openPackage(const std::string& path) {
    const package::Unpacked game = package::unpack(native_path(path), packageCache);
    if (!game.error.empty()) {
        platform_.message_box(
            format_text(tr("Cannot play the game package %s:"), native_path(path).c_str()) + "\r" + game.error,
            kStyleCritical, "Memory");
        platform_.end_program(kExitFailure);
    }
    // A package from a stranger shows and plays only its own files.
    confine_reading_to(game.folder);
    confined_ = true;
    return game.definition;
}

std::string Program::memLocateINI(const std::string& strFile) {
    const std::string argument = platform_.command_line();
    if (!argument.empty()) {
        // Mended: an absolute Linux path is used unchanged, like one with a drive letter.
        if (memHasDrive(argument) || argument.front() == '/') return argument;
        // Mended: a relative name is taken from the current directory when the
        // file is there (as a terminal's completion gives it), else from the
        // program's directory; when neither has it, both paths are named.
        const std::string in_current_dir = current_directory() + "/" + argument;
        if (memFileExists(in_current_dir)) return in_current_dir;
        const std::string beside_program = platform_.program_dir() + "\\" + argument;
        if (!memFileExists(beside_program))
            // TRANSLATORS: the definition file given, then the two paths tried.
            std::cerr << format_text(tr("memory: cannot find %s; tried %s and %s"), argument.c_str(),
                                     in_current_dir.c_str(), native_path(beside_program).c_str())
                      << "\n";
        return beside_program;
    }
    const std::string beside_program = platform_.program_dir() + "\\" + strFile;
    if (memFileExists(beside_program)) return beside_program;
    const std::string in_system_dir = memWindowsDir(platform_) + strFile;
    if (memFileExists(in_system_dir)) return in_system_dir;
    return "";
}

bool Program::memStartUp(const std::string& path) {
    if (!memFileExists(path)) memHandleError(1);
    memFile = path;
    if (!game_) game_ = std::make_unique<frm_MemoryGame>(*this, platform_);
    platform_.show_modal(*game_);
    return memStartFailed == False;
}

frm_Splash& Program::splash() {
    if (!splash_) splash_ = std::make_unique<frm_Splash>(platform_);
    return *splash_;
}

bool Program::splash_shown() const { return splash_ && splash_->loaded(); }

void Program::close_splash() {
    if (splash_shown()) platform_.close(*splash_);
}

void Program::memHandleError(double code, const std::string& name, double number) {
    if (memDebug) memWriteLog("=> memHandleError <=");
    const std::string title = memErrorTitle(code);
    std::string message = memErrorMessage(code, name, number);
    if (!memIsContinuable(code)) {
        platform_.message_box(message, kStyleCritical, title);
        // Mended: a fatal error ends with a failure status, not with success.
        platform_.end_program(kExitFailure);
    }
    message += memContinueQuestion();
    if (platform_.message_box(message, kStyleCriticalOkCancel, title) == kAnswerCancel)
        platform_.end_program(kExitFailure);
    if (memDebug) memWriteLog(memNumberText(code) + ", " + message);
}

void Program::memWriteLog(const std::string& line) {
    if (game_ && game_->loaded()) {
        Window& surface = *game_;
        if (surface.current_y() > surface.inner_height()) surface.clear_surface();
        if (surface.back_color() == kWhite) surface.set_fore_color(kBlack);
        surface.print(line + " " + std::to_string(surface.current_x()) + " " + std::to_string(surface.current_y()));
    }
    // Mended: a log that cannot be written drops the line; the game goes on.
    append_line(memWindowsDir(platform_) + "memory.log", line);
}

}  // namespace mem
