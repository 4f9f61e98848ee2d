// Reading the application type before anything else of the definition.
#include "app/game_window.h"
#include "definition/syntax.h"
#include "platform/files.h"

namespace mem {

bool frm_MemoryGame::memCheckINI(const std::string& strFile) {
    if (!memFileExists(strFile)) memHandleError(1, strFile);
    // A file that went away since the test reads as empty: no "app" in it.
    ItemReader items(read_text_file(strFile).value_or(""));
    while (!items.at_end()) {
        const std::string item = items.next();
        if (memLower(memGetKey(item)) != "app") continue;
        const std::string type = memLower(memGetValue(item));
        if (type == "memory") {
            memAppType = 0;
            return true;
        }
        if (type == "match") {
            memAppType = 1;
            return true;
        }
        memHandleError(4);
    }
    memHandleError(3);
    return false;  // not reached: error 3 is fatal
}

}  // namespace mem
