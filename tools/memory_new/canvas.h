#pragma once
// A 32-bit picture with alpha to draw the game's pictures on: shapes are
// drawn anti-aliased by sampling each pixel nine times, text with SDL2_ttf.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "theme.h"

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

namespace mem::make {

// The bold sans-serif font the pictures are written in, by pixel size.
class Fonts {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    bool ok() const { return !file_.empty(); }
    const std::string& file() const { return file_; }
    TTF_Font* get(int pixels);
    // Width of `text` at `pixels`, in pixels.
    int width(const std::string& text, int pixels);

private:
    std::string file_;
    std::map<int, TTF_Font*> open_;
};

enum class Anchor { TopLeft, Centre, BottomRight };

class Canvas {
public:
    Canvas(int width, int height);
    // A copy of `picture` in the canvas format (null when it could not be made).
    static std::unique_ptr<Canvas> from_surface(SDL_Surface* picture);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const;
    int height() const;
    SDL_Surface* surface() const { return surface_; }

    void gradient(Rgb top, Rgb bottom);
    // Fills the shape whose inside test is `inside` within the given box, clipped to the canvas, or anywhere on it.
    void fill(const std::function<bool(double, double)>& inside, int left, int top, int right, int bottom, Rgb colour,
              int alpha);
    void fill(const std::function<bool(double, double)>& inside, Rgb colour, int alpha) {
        fill(inside, 0, 0, width(), height(), colour, alpha);
    }
    void round_rect(double left, double top, double right, double bottom, double radius, Rgb colour, int alpha);
    // A frame `thickness` wide along the inside of the rounded rectangle.
    void round_frame(double left, double top, double right, double bottom, double radius, double thickness, Rgb colour,
                     int alpha);
    void line(double x1, double y1, double x2, double y2, double thickness, Rgb colour, int alpha);
    void ring(double cx, double cy, double radius, double thickness, Rgb colour, int alpha);
    void star(double cx, double cy, double outer, double inner, Rgb colour, int alpha);
    // Text at (x, y) by `anchor`; returns false when the font cannot render it.
    bool text(Fonts& fonts, const std::string& text, int pixels, double x, double y, Anchor anchor, Rgb colour,
              int alpha = 255);
    // `picture` scaled to w x h (proportions are the caller's) at (x, y).
    void draw_scaled(const Canvas& picture, int x, int y, int w, int h);

    // Writes the canvas as a PNG file; false with SDL's reason in `error`.
    bool save(const std::string& path, std::string& error) const;

private:
    explicit Canvas(SDL_Surface* surface) : surface_(surface) {}
    void blend(int x, int y, Rgb colour, int alpha);
    SDL_Surface* surface_;
};

}  // namespace mem::make
