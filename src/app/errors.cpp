#include "app/errors.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <string>

#include "platform/translation.h"

namespace mem {
namespace {

struct ErrorText {
    bool continuable;
    // %s is the name of the file or value concerned; a line break is "\n".
    const char* format;
};

constexpr const char* kTitle = tr_later("Error in application (#%d)");
constexpr const char* kContinue = tr_later("Continue?");

// Doubled apostrophes are part of the texts.
const std::map<int, ErrorText>& error_table() {
    static const std::map<int, ErrorText> table = {
        {1, {false, tr_later("Could not find file ''%s''\n\nYou must have an INI file as an argument,\n"
                             "OR place memory.ini in the application path\nOR in the windows directory.")}},
        {3, {false, tr_later("There is no application type declaration\nin the INI file.")}},
        {4, {false, tr_later("The application type declaration in the\nINI file is unknown.")}},
        {5, {false, tr_later("Could not find main file ''%s''")}},
        {6, {false, tr_later("Could not find global file ''%s''")}},
        {7, {false, tr_later("Could not find card file ''%s''")}},
        {8, {false, tr_later("Could not find list file ''%s''")}},
        {9, {true, tr_later("Listfile contains to few text strings.")}},
        {10, {false, tr_later("Could not find special file ''%s''")}},
        // Values the loader cannot store; the name is key=value'' in file ''path.
        // TRANSLATORS: %s is "key=value'' in file ''path" (the quotes are doubled apostrophes).
        {11, {false, tr_later("The value ''%s'' is not a number.")}},
        {12, {false, tr_later("The value ''%s'' is out of range for its setting.")}},
        // TRANSLATORS: %s is "cardsx=..., cardsy=..." (the card count is their product).
        {13, {false, tr_later("The card count of ''%s'' is not a whole number from 0 to 32767.")}},
        {100, {true, tr_later("Background picture file ''%s does not exist.")}},
        {101, {true, tr_later("Card front picture file ''%s'' does not exist.")}},
        {102, {true, tr_later("Control picture file ''%s'' does not exist.")}},
        {103, {true, tr_later("Quit button picture file ''%s'' does not exist.")}},
        {104, {true, tr_later("Player background picture file ''%s'' does not exist.")}},
        {105, {true, tr_later("Card picture file ''%s'' does not exist.")}},
        // An end picture that is missing or cannot be decoded (the end is shown without it).
        {106, {true, tr_later("End picture file ''%s'' does not exist.")}},
        {200, {true, tr_later("''End (good) sound'' wave file ''%s does not exist.")}},
        {201, {true, tr_later("''End (bad) sound'' wave file ''%s does not exist.")}},
        {202, {true, tr_later("''Turn card sound'' wave file ''%s does not exist.")}},
        // TRANSLATORS: %1$s is the wave file, %2$s the card's number.
        {203, {true, tr_later("'Wave file ''%1$s'' for card number %2$s does not exist.")}},
        {204, {true, tr_later("''Click text sound'' wave file ''%s does not exist.")}},
        {205, {true, tr_later("''Match sound'' wave file ''%s does not exist.")}},
        {206, {true, tr_later("''No Match sound'' wave file ''%s does not exist.")}},
    };
    return table;
}

const ErrorText* find(double code) {
    if (code != std::floor(code)) return nullptr;
    auto it = error_table().find(static_cast<int>(code));
    return it == error_table().end() ? nullptr : &it->second;
}

// Message boxes break their lines with carriage returns.
std::string with_returns(std::string text) {
    for (char& c : text)
        if (c == '\n') c = '\r';
    return text;
}

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
    return with_returns(format_text(tr(text->format), name.c_str(), memNumberText(number).c_str()));
}

std::string memErrorTitle(double code) { return format_text(tr(kTitle), static_cast<int>(code)); }

bool memReadErrorTitle(const std::string& text, size_t from, int& code, size_t& after) {
    const std::string title = tr(kTitle);
    const size_t mark = title.find("%d");
    if (mark == std::string::npos) return false;
    const std::string before = title.substr(0, mark), behind = title.substr(mark + 2);
    if (text.compare(from, before.size(), before) != 0) return false;
    size_t end = from + before.size();
    const size_t digits = end;
    while (std::isdigit(static_cast<unsigned char>(text[end]))) ++end;  // text[text.size()] is '\0', no digit
    if (end == digits || text.compare(end, behind.size(), behind) != 0) return false;
    code = std::atoi(text.c_str() + digits);
    after = end + behind.size();
    return true;
}

std::string memContinueQuestion() { return std::string("\r\r") + tr(kContinue); }

}  // namespace mem
