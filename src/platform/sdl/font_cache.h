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
    Size measure(const Font& font, const std::string& text, int wrap_width);

private:
    using Key = std::tuple<std::string, int, bool, bool>;
    std::map<Key, TTF_Font*> fonts_;
    std::map<std::tuple<std::string, bool, bool>, std::string> files_;
};

// Pixels of a size in points on a 96 dpi display, times `scale`.
int font_pixels(float points, double scale = 1.0);

}  // namespace mem
