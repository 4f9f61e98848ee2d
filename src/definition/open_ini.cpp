// Reading the definition file set: the definition file, then the main,
// global, special and card files, each completely before the next.
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "app/errors.h"
#include "app/game_window.h"
#include "definition/definition_keys.h"
#include "definition/syntax.h"
#include "platform/files.h"

namespace mem {

void memForEachKey(const std::string& path, const std::function<void(const KeyItem&)>& action) {
    // Tested with memFileExists before; a file that went away reads as empty.
    ItemReader items(read_text_file(path).value_or(""));
    std::string section;
    while (!items.at_end()) {
        const std::string item = items.next();
        if (memIsSection(item)) {
            // Kept: blanks inside the brackets belong to the name, so
            // "[ cards made ]" is not the section "cards made".
            section = memLower(memGetSection(item));
            continue;
        }
        action(KeyItem{section, memLower(memGetKey(item)), memGetValue(item)});
    }
}

std::string memValueErrorName(const std::string& file, const KeyItem& item) {
    return item.key + "=" + item.value + "'' in file ''" + file;
}

void ValueReader::reject(int code, const KeyItem& item) const {
    program_.memHandleError(code, memValueErrorName(file_, item));
    std::abort();  // not reached: the error is fatal
}

// Mended: a number that does not fit its setting ends the program with a
// message naming the file, key and value, instead of wrapping or crashing.
int16_t ValueReader::whole(const KeyItem& item, double offset) const {
    auto number = memToWhole(memReadNumber(item.value) + offset);
    if (!number) reject(kErrorOutOfRange, item);
    return *number;
}

Colour ValueReader::colour(const KeyItem& item) const {
    auto number = memToColour(memReadNumber(item.value));
    if (!number) reject(kErrorOutOfRange, item);
    return *number;
}

float ValueReader::real(const KeyItem& item) const {
    const double number = memReadNumber(item.value);
    if (!(std::fabs(number) <= FLT_MAX)) reject(kErrorOutOfRange, item);
    return static_cast<float>(number);
}

Flag ValueReader::flag(const KeyItem& item) const { return memValToBool(item.value); }

// Mended: a value the strict readers cannot read ends the program with a
// message naming the file, key and value.
double ValueReader::strict_number(const KeyItem& item) const {
    auto number = memReadStrictNumber(item.value);
    if (!number) reject(kErrorNotANumber, item);
    return *number;
}

Colour ValueReader::strict_colour(const KeyItem& item) const {
    auto number = memToColour(strict_number(item));
    if (!number) reject(kErrorOutOfRange, item);
    return *number;
}

void frm_MemoryGame::memOpenINI(const std::string& strFile) {
    memReadDefinitionFile(strFile);

    const std::string mainPath = memPaths.Data + memGameFiles.Main;
    if (!memFileExists(mainPath)) memHandleError(5, mainPath);
    memReadMainFile(mainPath);

    const std::string globalPath = memPaths.Data + memGameFiles.Global;
    if (!memFileExists(globalPath)) memHandleError(6, globalPath);
    memReadGlobalFile(globalPath);

    if (!memGameFiles.Special.empty()) {
        const std::string specialPath = memPaths.Data + memGameFiles.Special;
        if (!memFileExists(specialPath)) memHandleError(10, specialPath);
        memReadSpecialFile(specialPath);
    }

    memMakeCardHolder(globalPath);
    memReadCardFile();
}

void frm_MemoryGame::memReadDefinitionFile(const std::string& path) {
    program().memDebug = False;
    const std::string gamePath = memGamePath(path);
    memForEachKey(path, [&](const KeyItem& item) {
        // The debug switch acts at once, in any section; "app" was read by memCheckINI.
        if (item.key == "debug") {
            program().memDebug = memValToBool(item.value);
        } else if (item.section == "application" && item.key == "title") {
            // The window's title, so that two running games can be told apart.
            if (!item.value.empty()) set_caption(item.value);
        } else if (item.section == "paths") {
            if (item.key == "gfx") memPaths.Gfx = memResolvePath(platform(), item.value, gamePath);
            else if (item.key == "card") memPaths.Card = memResolvePath(platform(), item.value, gamePath);
            else if (item.key == "sfx") memPaths.Sfx = memResolvePath(platform(), item.value, gamePath);
            else if (item.key == "data") memPaths.Data = memResolvePath(platform(), item.value, gamePath);
        } else if (item.section == "gamefiles") {
            if (item.key == "main") memGameFiles.Main = item.value;
            else if (item.key == "global") memGameFiles.Global = item.value;
            else if (item.key == "cards") memGameFiles.Cards = item.value;
            else if (item.key == "special") memGameFiles.Special = item.value;
            else if (item.key == "listfile") memInterface.TextList.ListFile = item.value;
        }
    });
}

void frm_MemoryGame::memReadSpecialFile(const std::string& path) {
    memForEachKey(path, [&](const KeyItem& item) {
        if (item.section == "interface" && item.key == "pictures") memSetBkPictures(item.value);
    });
}

}  // namespace mem
