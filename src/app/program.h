#pragma once
// The program module: the entry routine, finding the definition file, and
// the two services every routine uses, numbered errors and the debug log.
#include <memory>
#include <string>

#include "game/records.h"
#include "platform/platform.h"

namespace mem {

class frm_MemoryGame;
class frm_Splash;

class Program {
public:
    explicit Program(Platform& platform);
    ~Program();

    // The entry routine: finds the definition and runs the game window.
    void run();

    std::string memLocateINI(const std::string& strFile);
    // Unpacks a game package (once) and returns its definition; a refused
    // package ends the program with a message naming the entry.
    std::string openPackage(const std::string& path);
    bool memStartUp(const std::string& path);

    // Shows a numbered error. Returns only when a continuable error was
    // answered with OK; a fatal error or Cancel ends the program.
    void memHandleError(double code, const std::string& name = "", double number = 0);
    // Appends a trace line to "memory.log" and prints it on the game window.
    void memWriteLog(const std::string& line);

    Platform& platform() const { return platform_; }
    // The game window while it exists (created by memStartUp).
    frm_MemoryGame* game() const { return game_.get(); }

    // The splash window, created when first asked for.
    frm_Splash& splash();
    bool splash_shown() const;
    void close_splash();

    std::string memFile;
    Flag memDebug = False;
    Flag memStartFailed = False;
    // Speech is on from the start (--speak).
    bool speak = false;
    // Where game packages are unpacked (empty: packages cannot be played).
    std::string packageCache;

private:
    Platform& platform_;
    std::unique_ptr<frm_MemoryGame> game_;
    std::unique_ptr<frm_Splash> splash_;
    bool confined_ = false;  // reading is limited to an unpacked package
};

}  // namespace mem
