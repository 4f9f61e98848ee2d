#include "canvas.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "font_match.h"
#include "platform/translation.h"

namespace mem::make {

Fonts::Fonts() : file_(check::font_file("DejaVu Sans", true)) {}

Fonts::~Fonts() {
    for (auto& [size, font] : open_) TTF_CloseFont(font);
}

TTF_Font* Fonts::get(int pixels) {
    auto found = open_.find(pixels);
    if (found != open_.end()) return found->second;
    TTF_Font* font = file_.empty() ? nullptr : TTF_OpenFont(file_.c_str(), pixels);
    if (font) open_[pixels] = font;
    return font;
}

int Fonts::width(const std::string& text, int pixels) {
    int w = 0, h = 0;
    TTF_Font* font = get(pixels);
    if (!font || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

Canvas::Canvas(int width, int height)
    : surface_(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)) {
    if (surface_) SDL_FillRect(surface_, nullptr, 0);
}

std::unique_ptr<Canvas> Canvas::from_surface(SDL_Surface* picture) {
    SDL_Surface* copy = SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!copy) return nullptr;
    return std::unique_ptr<Canvas>(new Canvas(copy));
}

Canvas::~Canvas() { SDL_FreeSurface(surface_); }

int Canvas::width() const { return surface_ ? surface_->w : 0; }
int Canvas::height() const { return surface_ ? surface_->h : 0; }

namespace {

uint32_t* pixel_at(SDL_Surface* s, int x, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch) + x;
}

// Source-over of a premultiplied colour onto an ARGB pixel.
void over(uint32_t& dst, double r, double g, double b, double a) {
    const double da = ((dst >> 24) & 0xFF) / 255.0;
    const double out_a = a + da * (1 - a);
    if (out_a <= 0) {
        dst = 0;
        return;
    }
    auto channel = [&](int shift, double src) {
        const double d = ((dst >> shift) & 0xFF) / 255.0 * da;
        return static_cast<uint32_t>(std::lround((src + d * (1 - a)) / out_a * 255.0));
    };
    dst = (static_cast<uint32_t>(std::lround(out_a * 255.0)) << 24) | (channel(16, r) << 16) | (channel(8, g) << 8) |
          channel(0, b);
}

}  // namespace

void Canvas::blend(int x, int y, Rgb c, int alpha) {
    if (x < 0 || y < 0 || x >= width() || y >= height() || alpha <= 0) return;
    const double a = std::min(alpha, 255) / 255.0;
    over(*pixel_at(surface_, x, y), c.r / 255.0 * a, c.g / 255.0 * a, c.b / 255.0 * a, a);
}

void Canvas::gradient(Rgb top, Rgb bottom) {
    const int h = height();
    for (int y = 0; y < h; ++y) {
        const double t = h > 1 ? static_cast<double>(y) / (h - 1) : 0;
        auto mix = [t](uint8_t a, uint8_t b) { return static_cast<uint32_t>(std::lround(a + (b - a) * t)); };
        const uint32_t value = 0xFF000000u | (mix(top.r, bottom.r) << 16) | (mix(top.g, bottom.g) << 8) | mix(top.b, bottom.b);
        for (int x = 0; x < width(); ++x) *pixel_at(surface_, x, y) = value;
    }
}

void Canvas::fill(const std::function<bool(double, double)>& inside, int left, int top, int right, int bottom,
                  Rgb colour, int alpha) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width() - 1);
    bottom = std::min(bottom, height() - 1);
    if (left > right || top > bottom) return;
    // A pixel whose four corners agree is wholly in or out (no shape drawn
    // here is thinner than a pixel); only the others are sampled nine times.
    const size_t corners = static_cast<size_t>(right - left + 2);
    std::vector<char> above(corners), below(corners);
    for (size_t i = 0; i < corners; ++i) above[i] = inside(left + static_cast<double>(i), top);
    for (int y = top; y <= bottom; ++y) {
        for (size_t i = 0; i < corners; ++i) below[i] = inside(left + static_cast<double>(i), y + 1);
        for (int x = left; x <= right; ++x) {
            const size_t i = static_cast<size_t>(x - left);
            const int agree = above[i] + above[i + 1] + below[i] + below[i + 1];
            int hits = agree == 4 ? 9 : 0;
            if (agree != 0 && agree != 4)
                for (int sy = 0; sy < 3; ++sy)
                    for (int sx = 0; sx < 3; ++sx) hits += inside(x + (sx + 0.5) / 3, y + (sy + 0.5) / 3) ? 1 : 0;
            if (hits) blend(x, y, colour, alpha * hits / 9);
        }
        above.swap(below);
    }
}

namespace {

bool in_round_rect(double x, double y, double l, double t, double r, double b, double radius) {
    if (x < l || x > r || y < t || y > b) return false;
    const double cx = std::clamp(x, l + radius, r - radius), cy = std::clamp(y, t + radius, b - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

}  // namespace

void Canvas::round_rect(double l, double t, double r, double b, double radius, Rgb colour, int alpha) {
    fill([&](double x, double y) { return in_round_rect(x, y, l, t, r, b, radius); }, static_cast<int>(l),
         static_cast<int>(t), static_cast<int>(r), static_cast<int>(b), colour, alpha);
}

void Canvas::round_frame(double l, double t, double r, double b, double radius, double thickness, Rgb colour,
                         int alpha) {
    const double inner = std::max(0.0, radius - thickness);
    fill(
        [&](double x, double y) {
            return in_round_rect(x, y, l, t, r, b, radius) &&
                   !in_round_rect(x, y, l + thickness, t + thickness, r - thickness, b - thickness, inner);
        },
        static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b), colour, alpha);
}

void Canvas::line(double x1, double y1, double x2, double y2, double thickness, Rgb colour, int alpha) {
    const double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy, half = thickness / 2;
    fill(
        [&](double x, double y) {
            const double t = length2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / length2, 0.0, 1.0) : 0;
            const double px = x1 + t * dx - x, py = y1 + t * dy - y;
            return px * px + py * py <= half * half;
        },
        static_cast<int>(std::min(x1, x2) - half - 1), static_cast<int>(std::min(y1, y2) - half - 1),
        static_cast<int>(std::max(x1, x2) + half + 1), static_cast<int>(std::max(y1, y2) + half + 1), colour, alpha);
}

void Canvas::ring(double cx, double cy, double radius, double thickness, Rgb colour, int alpha) {
    fill(
        [&](double x, double y) {
            const double d = std::hypot(x - cx, y - cy);
            return d <= radius && d >= radius - thickness;
        },
        static_cast<int>(cx - radius - 1), static_cast<int>(cy - radius - 1), static_cast<int>(cx + radius + 1),
        static_cast<int>(cy + radius + 1), colour, alpha);
}

void Canvas::star(double cx, double cy, double outer, double inner, Rgb colour, int alpha) {
    std::array<double, 10> xs, ys;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? inner : outer;
        xs[i] = cx + r * std::cos(angle);
        ys[i] = cy + r * std::sin(angle);
    }
    fill(
        [&](double x, double y) {
            bool in = false;  // even-odd rule
            for (int i = 0, j = 9; i < 10; j = i++)
                if ((ys[i] > y) != (ys[j] > y) && x < (xs[j] - xs[i]) * (y - ys[i]) / (ys[j] - ys[i]) + xs[i]) in = !in;
            return in;
        },
        static_cast<int>(cx - outer - 1), static_cast<int>(cy - outer - 1), static_cast<int>(cx + outer + 1),
        static_cast<int>(cy + outer + 1), colour, alpha);
}

bool Canvas::text(Fonts& fonts, const std::string& text, int pixels, double x, double y, Anchor anchor, Rgb colour,
                  int alpha) {
    TTF_Font* font = fonts.get(pixels);
    if (!font || text.empty()) return false;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{colour.r, colour.g, colour.b, 255});
    if (!rendered) return false;
    SDL_SetSurfaceAlphaMod(rendered, static_cast<uint8_t>(std::clamp(alpha, 0, 255)));
    SDL_Rect to{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), rendered->w, rendered->h};
    if (anchor == Anchor::Centre) {
        to.x -= rendered->w / 2;
        to.y -= rendered->h / 2;
    } else if (anchor == Anchor::BottomRight) {
        to.x -= rendered->w;
        to.y -= rendered->h;
    }
    SDL_SetSurfaceBlendMode(rendered, SDL_BLENDMODE_BLEND);
    SDL_BlitSurface(rendered, nullptr, surface_, &to);
    SDL_FreeSurface(rendered);
    return true;
}

void Canvas::draw_scaled(const Canvas& picture, int x, int y, int w, int h) {
    const int sw = picture.width(), sh = picture.height();
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    const double fx = static_cast<double>(sw) / w, fy = static_cast<double>(sh) / h;
    for (int dy = 0; dy < h; ++dy) {
        for (int dx = 0; dx < w; ++dx) {
            // The source pixels under the target pixel, averaged with alpha
            // premultiplied; at least one, so enlarging repeats pixels.
            const int x0 = std::min(static_cast<int>(dx * fx), sw - 1);
            const int y0 = std::min(static_cast<int>(dy * fy), sh - 1);
            const int x1 = std::min(static_cast<int>(std::ceil((dx + 1) * fx)), sw);
            const int y1 = std::min(static_cast<int>(std::ceil((dy + 1) * fy)), sh);
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const uint32_t p = *pixel_at(picture.surface_, sx, sy);
                    const double pa = ((p >> 24) & 0xFF) / 255.0;
                    r += ((p >> 16) & 0xFF) / 255.0 * pa;
                    g += ((p >> 8) & 0xFF) / 255.0 * pa;
                    b += (p & 0xFF) / 255.0 * pa;
                    a += pa;
                }
            }
            const double n = static_cast<double>((x1 - x0) * (y1 - y0));
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width() || ty >= height()) continue;
            over(*pixel_at(surface_, tx, ty), r / n, g / n, b / n, a / n);
        }
    }
}

bool Canvas::save(const std::string& path, std::string& error) const {
    if (!surface_) {
        error = tr("no picture");
        return false;
    }
    if (IMG_SavePNG(surface_, path.c_str()) != 0) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

}  // namespace mem::make
