#pragma once
// The caption below a card's photo: wrapped on up to two lines and shrunk
// until it fits, never cut; each character the main font lacks is drawn in
// a fallback font that fontconfig finds for it (a colour emoji font first).
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"

namespace mem::make {

class CaptionWriter {
public:
    explicit CaptionWriter(Fonts& fonts) : fonts_(fonts) {}
    ~CaptionWriter();
    CaptionWriter(const CaptionWriter&) = delete;
    CaptionWriter& operator=(const CaptionWriter&) = delete;

    // `text` on at most two lines of at most `width` pixels, in the largest
    // size from `largest` pixels down; null for an empty text.
    std::unique_ptr<Canvas> write(const std::string& text, int width, int largest, Rgb colour);

private:
    // `text` broken at blanks into lines of at most `width` pixels at
    // `pixels`, and inside a word too wide alone when `break_words`.
    std::vector<std::string> wrap(const std::string& text, int width, int pixels, bool break_words);
    struct Run {
        std::string text;
        TTF_Font* font;
        double scale;  // a bitmap font is shrunk to the main font's height
    };
    std::vector<Run> runs(const std::string& line, int pixels);
    int width(const std::string& line, int pixels);
    TTF_Font* font_for(char32_t code, int pixels);
    TTF_Font* open(const std::string& file, int pixels);

    Fonts& fonts_;
    std::map<char32_t, std::string> fallback_files_;
    std::map<std::pair<std::string, int>, TTF_Font*> open_;
};

}  // namespace mem::make
