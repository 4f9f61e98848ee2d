#pragma once
// The texts the programs write of their own, in the user's language (GNU
// gettext, text domain "memory"). Texts from a game's definition are the
// author's and never pass through here.
//
// Marking: tr("text") translates now; tr_plural("one", "many", n) picks the
// plural form the language needs; tr_later("text") only marks a text kept in
// a table, to be given to tr() where it is used. xgettext finds all three
// (see po/CMakeLists.txt). Texts with values use printf placeholders, so that
// msgfmt --check compares them between English and each translation.
#include <string>

namespace mem {

// Chooses the user's language for messages (LC_MESSAGES only: numbers in
// definitions are always read with a point) and finds the catalogues:
// <program dir>/locale in a build tree, else the installed ones. The
// translations come as UTF-8.
void start_translations(const std::string& program_dir);

const char* tr(const char* text) __attribute__((format_arg(1)));
const char* tr_plural(const char* one, const char* many, unsigned long count) __attribute__((format_arg(1)))
__attribute__((format_arg(2)));
constexpr const char* tr_later(const char* text) { return text; }

// printf into a std::string; the format usually comes from tr().
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace mem
