#include "platform/translation.h"

#include <libintl.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>

#include "platform/files.h"

#ifndef MEMORY_LOCALE_DIR
#define MEMORY_LOCALE_DIR "/usr/share/locale"
#endif

namespace mem {
namespace {
constexpr const char* kDomain = "memory";
}

void start_translations(const std::string& program_dir) {
    // Only the messages follow the user's locale: the catalogues are read as
    // UTF-8 whatever LC_CTYPE says, and a UTF-8 LC_CTYPE would change how SDL
    // names the game's X window (a WM_NAME of type "UTF-8" that tools such as
    // xdotool cannot read).
    std::setlocale(LC_MESSAGES, "");
    const std::string build_tree = program_dir + "/locale";
    bindtextdomain(kDomain, directory_exists(build_tree) ? build_tree.c_str() : MEMORY_LOCALE_DIR);
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
}

const char* tr(const char* text) { return dgettext(kDomain, text); }

const char* tr_plural(const char* one, const char* many, unsigned long count) {
    return dngettext(kDomain, one, many, count);
}

std::string format_text(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<size_t>(size));
    }
    va_end(again);
    return text;
}

}  // namespace mem
