#pragma once
// Font objects made real: fontconfig finds a font file for a name, bold and
// italic; SDL_ttf opens it at the size in points at 96 dpi.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/types.h"

typedef struct _TTF_Font TTF_Font;

namespace mem {

class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font at `scale` times its size; null only when not even the
    // default sans font can be opened.
    TTF_Font* get(const Font& font, double scale = 1.0);
    // The font file fontconfig chose for a font object.
    std::string file_for(const Font& font);

    // The lines a text breaks into when wrapped at `wrap_width` (> 0), or at
    // line ends only. Texts are UTF-8.
    std::vector<std::string> wrap(TTF_Font* font, const std::string& text, int wrap_width);
    // The size in window units of a text drawn at `scale` and wrapped at
    // `wrap_width` window units: its drawn size divided by the scale and
    // rounded up, so the text fits the box it is measured for on the display.
    Size measure(const Font& font, const std::string& text, int wrap_width, double scale = 1.0);
    // Font objects open now.
    size_t open_fonts() const { return fonts_.size(); }

    // What fontconfig chose for a name, boldness and slant.
    struct Match {
        std::string file;
        bool bold = false;
        bool italic = false;
    };

private:
    const Match& match_for(const Font& font);

    using Key = std::tuple<std::string, int, bool, bool, double>;  // name, pixels, bold, italic, scale
    // Mended: only the fonts of the scale in use and the one before it are
    // kept open (a window and its splash, or a resize in progress); a window
    // dragged through many sizes no longer piles up one font per size.
    std::map<Key, TTF_Font*> fonts_;
    double scales_[2] = {1.0, 1.0};  // the scale in use, and the one before
    std::map<std::tuple<std::string, bool, bool>, Match> files_;
};

// Pixels of a size in points on a 96 dpi display, times `scale`.
int font_pixels(float points, double scale = 1.0);

}  // namespace mem
