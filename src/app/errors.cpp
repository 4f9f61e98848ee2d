#include "app/errors.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace mem {
namespace {

const std::string CR = "\r";

struct ErrorText {
    bool continuable;
    std::string before_name;
    std::string after_name;
};

// Doubled apostrophes are part of the texts.
const std::map<int, ErrorText>& error_table() {
    static const std::map<int, ErrorText> table = {
        {1, {false, "Could not find file ''",
             "''" + CR + CR + "You must have an INI file as an argument," + CR +
                 "OR place memory.ini in the application path" + CR + "OR in the windows directory."}},
        {3, {false, "There is no application type declaration" + CR + "in the INI file.", ""}},
        {4, {false, "The application type declaration in the" + CR + "INI file is unknown.", ""}},
        {5, {false, "Could not find main file ''", "''"}},
        {6, {false, "Could not find global file ''", "''"}},
        {7, {false, "Could not find card file ''", "''"}},
        {8, {false, "Could not find list file ''", "''"}},
        {9, {true, "Listfile contains to few text strings.", ""}},
        {10, {false, "Could not find special file ''", "''"}},
        // Values the loader cannot store; the name is key=value'' in file ''path.
        {11, {false, "The value ''", "'' is not a number."}},
        {12, {false, "The value ''", "'' is out of range for its setting."}},
        {13, {false, "The card count of ''", "'' is not a whole number from 0 to 32767."}},
        {100, {true, "Background picture file ''", " does not exist."}},
        {101, {true, "Card front picture file ''", "'' does not exist."}},
        {102, {true, "Control picture file ''", "'' does not exist."}},
        {103, {true, "Quit button picture file ''", "'' does not exist."}},
        {104, {true, "Player background picture file ''", "'' does not exist."}},
        {105, {true, "Card picture file ''", "'' does not exist."}},
        // An end picture that is missing or cannot be decoded (the end is shown without it).
        {106, {true, "End picture file ''", "'' does not exist."}},
        {200, {true, "''End (good) sound'' wave file ''", " does not exist."}},
        {201, {true, "''End (bad) sound'' wave file ''", " does not exist."}},
        {202, {true, "''Turn card sound'' wave file ''", " does not exist."}},
        {203, {true, "'Wave file ''", "'' for card number "}},
        {204, {true, "''Click text sound'' wave file ''", " does not exist."}},
        {205, {true, "''Match sound'' wave file ''", " does not exist."}},
        {206, {true, "''No Match sound'' wave file ''", " does not exist."}},
    };
    return table;
}

const ErrorText* find(double code) {
    if (code != std::floor(code)) return nullptr;
    auto it = error_table().find(static_cast<int>(code));
    return it == error_table().end() ? nullptr : &it->second;
}

// Messages that carry no file name.
bool takes_name(int code) { return code != 3 && code != 4 && code != 9; }

}  // namespace

std::string memNumberText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

bool memIsContinuable(double code) {
    const ErrorText* text = find(code);
    return text && text->continuable;
}

std::string memErrorMessage(double code, const std::string& name, double number) {
    const ErrorText* text = find(code);
    if (!text) return "";
    int whole = static_cast<int>(code);
    if (!takes_name(whole)) return text->before_name;
    std::string message = text->before_name + name + text->after_name;
    if (whole == 203) message += memNumberText(number) + " does not exist.";
    return message;
}

std::string memErrorTitle(double code) { return "Error in application (#" + memNumberText(code) + ")"; }

}  // namespace mem
