#include "font_match.h"

#include <fontconfig/fontconfig.h>


namespace mem::check {
namespace {

// The family and file of fontconfig's best match, as the game's fonts are found.
struct Match {
    std::string family;
    std::string file;
};

Match match(const std::string& family, bool bold = false) {
    Match found;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return found;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (bold) FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* best = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* text = nullptr;
        if (FcPatternGetString(best, FC_FAMILY, 0, &text) == FcResultMatch && text)
            found.family = reinterpret_cast<const char*>(text);
        if (FcPatternGetString(best, FC_FILE, 0, &text) == FcResultMatch && text)
            found.file = reinterpret_cast<const char*>(text);
        FcPatternDestroy(best);
    }
    FcPatternDestroy(pattern);
    return found;
}

bool installed(const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace

std::optional<std::string> font_fallback(const std::string& family) {
    FcInit();
    if (!family.empty() && installed(family)) return std::nullopt;
    const Match wanted = match(family);
    // A name no font has: what fontconfig gives for any unknown family.
    const Match fallback = match("memory-check no such family");
    // A different font than the fallback means an alias (Arial, Helvetica).
    if (!wanted.file.empty() && wanted.file != fallback.file) return std::nullopt;
    return wanted.family;
}

std::string font_file(const std::string& family, bool bold) {
    FcInit();
    return match(family, bold).file;
}

}  // namespace mem::check
