#include "caption.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

namespace mem::make {
namespace {

// The code point starting at `at` and the index after it; a broken
// sequence is taken byte by byte.
std::pair<char32_t, size_t> next_code(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int length = lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 1;
    if (length == 1 || at + length > text.size()) return {lead, at + 1};
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) code = (code << 6) | (byte(at + i) & 0x3F);
    return {code, at + length};
}

// Joiners, variation selectors and combining marks belong to the character before.
bool joins_previous(char32_t c) {
    return c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0x300 && c <= 0x36F) ||
           (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0xE0020 && c <= 0xE007F);
}

// The file of the font fontconfig offers for `code`, a colour one first
// when `colour_first`; empty when no font has it.
std::string fallback_file(char32_t code, bool colour_first) {
    for (bool colour : {colour_first, false}) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:bold"));
        FcCharSet* wanted = FcCharSetCreate();
        FcCharSetAddChar(wanted, code);
        FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
        if (colour) FcPatternAddBool(pattern, FC_COLOR, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        std::string file;
        if (FcPattern* best = FcFontMatch(nullptr, pattern, &result)) {
            FcCharSet* has = nullptr;
            FcChar8* name = nullptr;
            if (FcPatternGetCharSet(best, FC_CHARSET, 0, &has) == FcResultMatch && FcCharSetHasChar(has, code) &&
                FcPatternGetString(best, FC_FILE, 0, &name) == FcResultMatch && name)
                file = reinterpret_cast<const char*>(name);
            FcPatternDestroy(best);
        }
        FcCharSetDestroy(wanted);
        FcPatternDestroy(pattern);
        if (!file.empty()) return file;
    }
    return "";
}

}  // namespace

CaptionWriter::~CaptionWriter() {
    for (auto& [key, font] : open_) TTF_CloseFont(font);
}

TTF_Font* CaptionWriter::open(const std::string& file, int pixels) {
    const auto key = std::make_pair(file, pixels);
    auto found = open_.find(key);
    if (found != open_.end()) return found->second;
    TTF_Font* font = TTF_OpenFont(file.c_str(), pixels);
    if (font) open_[key] = font;
    return font;
}

TTF_Font* CaptionWriter::font_for(char32_t code, int pixels) {
    TTF_Font* main = fonts_.get(pixels);
    // Pictographs come from a colour font when there is one, even where the
    // main font has a plain drawing of them.
    const bool pictograph = code >= 0x1F000 && code <= 0x1FAFF;
    if (!main || code < 0x80 || (!pictograph && TTF_GlyphIsProvided32(main, code))) return main;
    auto found = fallback_files_.find(code);
    if (found == fallback_files_.end()) found = fallback_files_.emplace(code, fallback_file(code, pictograph)).first;
    TTF_Font* fallback = found->second.empty() ? nullptr : open(found->second, pixels);
    // Without any font for it, the main font draws its box for the missing glyph.
    return fallback ? fallback : main;
}

std::vector<CaptionWriter::Run> CaptionWriter::runs(const std::string& line, int pixels) {
    std::vector<Run> out;
    TTF_Font* main = fonts_.get(pixels);
    for (size_t at = 0; at < line.size();) {
        const auto [code, after] = next_code(line, at);
        TTF_Font* font = out.empty() || !joins_previous(code) ? font_for(code, pixels) : out.back().font;
        if (out.empty() || out.back().font != font) {
            // A font of fixed size (colour emoji) comes much larger: shrunk to the line.
            const double scale = main && TTF_FontHeight(font) > TTF_FontHeight(main) * 3 / 2
                                     ? static_cast<double>(TTF_FontHeight(main)) / TTF_FontHeight(font)
                                     : 1.0;
            out.push_back({"", font, scale});
        }
        out.back().text.append(line, at, after - at);
        at = after;
    }
    return out;
}

int CaptionWriter::width(const std::string& line, int pixels) {
    int total = 0;
    for (const Run& run : runs(line, pixels)) {
        int w = 0, h = 0;
        if (run.font && TTF_SizeUTF8(run.font, run.text.c_str(), &w, &h) == 0)
            total += static_cast<int>(std::ceil(w * run.scale));
    }
    return total;
}

std::vector<std::string> CaptionWriter::wrap(const std::string& text, int width_limit, int pixels, bool break_words) {
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        const size_t blank = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, blank - at);
        at = blank + 1;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (width(joined, pixels) <= width_limit || (line.empty() && !break_words)) {
            line = joined;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        if (!break_words || width(word, pixels) <= width_limit) {
            line = word;
            continue;
        }
        // A word wider than the line is broken between characters.
        for (size_t i = 0; i < word.size();) {
            size_t end = next_code(word, i).second;
            while (end < word.size() && joins_previous(next_code(word, end).first)) end = next_code(word, end).second;
            const std::string longer = line + word.substr(i, end - i);
            if (!line.empty() && width(longer, pixels) > width_limit) {
                lines.push_back(line);
                line = word.substr(i, end - i);
            } else {
                line = longer;
            }
            i = end;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::unique_ptr<Canvas> CaptionWriter::write(const std::string& text, int width_limit, int largest, Rgb colour) {
    if (text.find_first_not_of(' ') == std::string::npos) return nullptr;
    auto fits = [&](const std::vector<std::string>& lines, int pixels) {
        return lines.size() <= 2 && std::all_of(lines.begin(), lines.end(), [&](const std::string& line) {
                   return width(line, pixels) <= width_limit;
               });
    };
    // Whole words down to half the size; then words broken between characters.
    std::vector<std::string> lines;
    int pixels = largest;
    for (bool break_words : {false, true}) {
        const int smallest = break_words ? 4 : std::max(4, largest / 2);
        for (pixels = largest;; --pixels) {
            lines = wrap(text, width_limit, pixels, break_words);
            if (fits(lines, pixels) || pixels <= smallest) break;
        }
        if (fits(lines, pixels)) break;
    }
    TTF_Font* main = fonts_.get(pixels);
    if (!main) return nullptr;
    const int line_height = TTF_FontLineSkip(main);
    auto canvas = std::make_unique<Canvas>(width_limit, line_height * static_cast<int>(lines.size()));
    for (size_t row = 0; row < lines.size(); ++row) {
        const int line_width = width(lines[row], pixels);
        int x = (width_limit - line_width) / 2;
        for (const Run& run : runs(lines[row], pixels)) {
            SDL_Surface* drawn =
                TTF_RenderUTF8_Blended(run.font, run.text.c_str(), SDL_Color{colour.r, colour.g, colour.b, 255});
            if (!drawn) continue;
            const int w = static_cast<int>(std::ceil(drawn->w * run.scale));
            const int h = static_cast<int>(std::lround(drawn->h * run.scale));
            // Runs share the line's middle.
            const int y = static_cast<int>(row) * line_height + (TTF_FontHeight(main) - h) / 2;
            const std::unique_ptr<Canvas> glyphs = Canvas::from_surface(drawn);
            if (glyphs) canvas->draw_scaled(*glyphs, x, y, w, h);
            SDL_FreeSurface(drawn);
            x += w;
        }
    }
    return canvas;
}

}  // namespace mem::make
