#include "platform/sdl/font_cache.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/sdl/text_encoding.h"
#include "platform/translation.h"

namespace mem {
namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Asks fontconfig for the best font of a family; its own rules (aliases,
// then its default) decide what an unknown name becomes.
FontCache::Match match_font(const std::string& family, bool bold, bool italic) {
    FontCache::Match found;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return found;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
            found.file = reinterpret_cast<const char*>(file);
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        found.bold = weight >= FC_WEIGHT_BOLD;
        found.italic = slant != FC_SLANT_ROMAN;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace

// Mended: a size from the definition is kept within 1 to 1000 pixels, so a
// huge or invalid size cannot overflow or ask the font engine for giant glyphs.
int font_pixels(float points, double scale) {
    const double pixels = std::nearbyint(points * 96.0 / 72.0);
    const double unscaled = std::isnan(pixels) ? 1.0 : std::clamp(pixels, 1.0, 1000.0);
    return scale == 1.0 ? static_cast<int>(unscaled) : std::max(1, static_cast<int>(std::nearbyint(unscaled * scale)));
}

FontCache::FontCache() {
    if (!TTF_WasInit()) TTF_Init();
    FcInit();
}

FontCache::~FontCache() {
    for (auto& [key, font] : fonts_)
        if (font) TTF_CloseFont(font);
}

// Each name, boldness and slant asks fontconfig once.
const FontCache::Match& FontCache::match_for(const Font& font) {
    auto key = std::make_tuple(lower(font.name), font.bold, font.italic);
    auto it = files_.find(key);
    if (it != files_.end()) return it->second;
    Match m = match_font(font.name, font.bold, font.italic);
    if (m.file.empty()) m = match_font("sans-serif", font.bold, font.italic);
    return files_[key] = m;
}

std::string FontCache::file_for(const Font& font) { return match_for(font).file; }

TTF_Font* FontCache::get(const Font& font, double scale) {
    if (scale != scales_[0]) {
        scales_[1] = scales_[0];
        scales_[0] = scale;
        // A new scale: the fonts of any other than it and the one before are closed.
        for (auto it = fonts_.begin(); it != fonts_.end();) {
            const double of = std::get<4>(it->first);
            if (of == scales_[0] || of == scales_[1]) {
                ++it;
                continue;
            }
            if (it->second) TTF_CloseFont(it->second);
            it = fonts_.erase(it);
        }
    }
    const int pixels = font_pixels(font.size, scale);
    Key key{lower(font.name), pixels, font.bold, font.italic, scale};
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;

    Match m = match_for(font);
    TTF_Font* opened = m.file.empty() ? nullptr : TTF_OpenFont(m.file.c_str(), pixels);
    if (!opened) {
        // A font file that cannot be opened: the default sans font instead.
        m = match_font("sans-serif", font.bold, font.italic);
        opened = m.file.empty() ? nullptr : TTF_OpenFont(m.file.c_str(), pixels);
        if (!opened) std::fprintf(stderr, tr("Memory: no font for \"%s\": %s\n"), font.name.c_str(), TTF_GetError());
    }
    if (opened) {
        // Bold or italic that the chosen file does not have is drawn by SDL_ttf.
        int style = TTF_STYLE_NORMAL;
        if (font.bold && !m.bold) style |= TTF_STYLE_BOLD;
        if (font.italic && !m.italic) style |= TTF_STYLE_ITALIC;
        TTF_SetFontStyle(opened, style);
    }
    fonts_[key] = opened;
    return opened;
}

std::vector<std::string> FontCache::wrap(TTF_Font* font, const std::string& text, int wrap_width) {
    std::vector<std::string> lines;
    auto width_of = [font](const std::string& s) {
        int w = 0, h = 0;
        if (font && !s.empty()) TTF_SizeUTF8(font, s.c_str(), &w, &h);
        return w;
    };
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        paragraph.erase(std::remove(paragraph.begin(), paragraph.end(), '\r'), paragraph.end());
        if (wrap_width <= 0 || width_of(paragraph) <= wrap_width) {
            lines.push_back(paragraph);
        } else {
            // Greedy: as many words as fit; a word wider than the line stands alone.
            std::string current;
            size_t pos = 0;
            while (pos <= paragraph.size()) {
                size_t blank = paragraph.find(' ', pos);
                std::string word = paragraph.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
                std::string candidate = current.empty() ? word : current + " " + word;
                if (current.empty() || width_of(candidate) <= wrap_width) {
                    current = candidate;
                } else {
                    lines.push_back(current);
                    current = word;
                }
                if (blank == std::string::npos) break;
                pos = blank + 1;
            }
            lines.push_back(current);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

// Mended: text is measured and wrapped at the size it is drawn, so a label
// sized to its text holds all of it on a scaled board ("Player 1" read
// "Player ]" at 1920 x 1080 when it was measured unscaled and drawn scaled).
Size FontCache::measure(const Font& font, const std::string& text, int wrap_width, double scale) {
    TTF_Font* f = get(font, scale);
    if (!f) return {static_cast<int>(text.size()) * font_pixels(font.size) / 2, font_pixels(font.size)};
    const std::string utf8 = to_utf8(text);
    const int drawn_wrap = wrap_width > 0 ? std::max(1, static_cast<int>(wrap_width * scale)) : 0;
    Size drawn{0, 0};
    for (const std::string& line : wrap(f, utf8, drawn_wrap)) {
        int w = 0, h = 0;
        if (!line.empty()) TTF_SizeUTF8(f, line.c_str(), &w, &h);
        drawn.width = std::max(drawn.width, w);
        drawn.height += TTF_FontLineSkip(f);
    }
    if (scale == 1.0) return drawn;
    // One display pixel more: a box's edges are each rounded to the display.
    auto units = [scale](int pixels) { return static_cast<int>(std::ceil((pixels + 1) / scale - 1e-9)); };
    return {drawn.width > 0 ? units(drawn.width) : 0, units(drawn.height)};
}

}  // namespace mem
