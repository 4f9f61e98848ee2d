#include "platform/sdl/painter.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/sdl/text_encoding.h"

namespace mem {
namespace {

constexpr size_t kMaxCachedTexts = 1024;

SDL_Rect intersect(const SDL_Rect& a, const SDL_Rect& b) {
    SDL_Rect r{0, 0, 0, 0};
    if (!SDL_IntersectRect(&a, &b, &r)) r = {0, 0, 0, 0};
    return r;
}

SDL_Color sdl_colour(Colour c) {
    return SDL_Color{static_cast<Uint8>(colour_red(c)), static_cast<Uint8>(colour_green(c)),
                     static_cast<Uint8>(colour_blue(c)), 255};
}

}  // namespace

Painter::Painter(SDL_Renderer* renderer, FontCache& fonts, bool keeps_frame)
    : renderer_(renderer), fonts_(fonts), keeps_frame_(keeps_frame) {}

Painter::~Painter() {
    if (frame_) SDL_DestroyTexture(frame_);
    for (auto& [key, entry] : pictures_) SDL_DestroyTexture(entry.second);
    for (auto& [key, entry] : texts_) SDL_DestroyTexture(entry.texture);
}

void Painter::set_colour(Colour c) {
    SDL_SetRenderDrawColor(renderer_, static_cast<Uint8>(colour_red(c)), static_cast<Uint8>(colour_green(c)),
                           static_cast<Uint8>(colour_blue(c)), 255);
}

bool Painter::ensure_frame() {
    Size output{};
    SDL_GetRendererOutputSize(renderer_, &output.width, &output.height);
    output.width = std::max(output.width, 1);
    output.height = std::max(output.height, 1);
    if (output.width == frame_size_.width && output.height == frame_size_.height && (frame_ || keeps_frame_))
        return false;
    frame_size_ = output;
    if (frame_) SDL_DestroyTexture(frame_);
    frame_ = nullptr;
    if (keeps_frame_) return true;
    frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, output.width,
                               output.height);
    if (frame_) SDL_SetTextureBlendMode(frame_, SDL_BLENDMODE_NONE);
    return true;
}

std::vector<SDL_Rect> Painter::paint(const Window& window, const ScreenFit& fit, bool whole, bool muted) {
    // Textures of pictures that nobody holds any more are freed.
    for (auto it = pictures_.begin(); it != pictures_.end();) {
        if (it->second.first.expired()) {
            SDL_DestroyTexture(it->second.second);
            it = pictures_.erase(it);
        } else {
            ++it;
        }
    }
    if (ensure_frame()) whole = true;
    fit_ = fit;
    muted_ = muted;
    const SDL_Rect all{0, 0, frame_size_.width, frame_size_.height};
    std::vector<SDL_Rect> areas;
    if (whole) {
        areas.push_back(all);
    } else {
        for (const Rect& changed : window.damage()) {
            // Two pixels more on each side: rounded edges and filtered pictures.
            const Rect shown = fit_.to_display(changed);
            SDL_Rect area{shown.left - 2, shown.top - 2, shown.width + 4, shown.height + 4};
            area = intersect(area, all);
            if (area.w <= 0 || area.h <= 0) continue;
            // Overlapping areas are painted once, as one.
            for (auto it = areas.begin(); it != areas.end();) {
                if (SDL_HasIntersection(&*it, &area)) {
                    SDL_UnionRect(&*it, &area, &area);
                    it = areas.erase(it);
                } else {
                    ++it;
                }
            }
            areas.push_back(area);
        }
    }
    if (frame_) SDL_SetRenderTarget(renderer_, frame_);
    for (const SDL_Rect& area : areas) paint_area(window, area);
    SDL_RenderSetClipRect(renderer_, nullptr);
    if (frame_) {
        SDL_SetRenderTarget(renderer_, nullptr);
        SDL_RenderCopy(renderer_, frame_, nullptr, nullptr);
    }
    return areas;
}

std::vector<uint32_t> Painter::read_frame(Size& size) {
    size = frame_size_;
    std::vector<uint32_t> pixels(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    if (frame_) SDL_SetRenderTarget(renderer_, frame_);
    SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), size.width * 4);
    if (frame_) SDL_SetRenderTarget(renderer_, nullptr);
    return pixels;
}

void Painter::paint_area(const Window& window, const SDL_Rect& area) {
    SDL_RenderSetClipRect(renderer_, &area);
    set_colour(window.back_color());
    SDL_RenderFillRect(renderer_, &area);
    // The drawing surface lies beneath the controls, as on the old form.
    for (const Window::PrintedLine& line : window.printed())
        draw_text(*window.font(), line.text, line.colour, fit_.to_display_x(line.x), fit_.to_display_y(line.y));
    paint_children(window, nullptr, area);
    if (muted_) {
        SDL_RenderSetClipRect(renderer_, &area);
        paint_muted_mark();
    }
}

// Mended: while muted, a small speaker-off mark shows at the top right of
// the board, scaled with it, so a silent game says why.
SDL_Rect Painter::muted_mark(const ScreenFit& fit) {
    constexpr int kSize = 24, kMargin = 6;
    const Rect board = fit.board_on_display();
    const int size = fit.to_display_length(kSize), margin = fit.to_display_length(kMargin);
    return {board.left + board.width - margin - size, board.top + margin, size, size};
}

// A speaker, its cone and a cross, white on a dark square.
void Painter::paint_muted_mark() {
    const SDL_Rect m = muted_mark(fit_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 160);
    SDL_RenderFillRect(renderer_, &m);
    const SDL_Color white{255, 255, 255, 255};
    std::vector<SDL_Vertex> v;
    auto at = [&](float x, float y) {
        v.push_back(SDL_Vertex{SDL_FPoint{m.x + x * m.w, m.y + y * m.h}, white, SDL_FPoint{0, 0}});
    };
    auto quad = [&](float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
        at(x1, y1), at(x2, y2), at(x3, y3), at(x1, y1), at(x3, y3), at(x4, y4);
    };
    quad(0.16f, 0.38f, 0.34f, 0.38f, 0.34f, 0.62f, 0.16f, 0.62f);  // the body
    quad(0.34f, 0.38f, 0.54f, 0.18f, 0.54f, 0.82f, 0.34f, 0.62f);  // the cone
    constexpr float d = 0.05f;                                     // half the cross's stroke
    quad(0.62f - d, 0.36f + d, 0.62f + d, 0.36f - d, 0.86f + d, 0.64f - d, 0.86f - d, 0.64f + d);
    quad(0.62f - d, 0.64f - d, 0.62f + d, 0.64f + d, 0.86f + d, 0.36f + d, 0.86f - d, 0.36f - d);
    SDL_RenderGeometry(renderer_, nullptr, v.data(), static_cast<int>(v.size()), nullptr, 0);
}

void Painter::paint_children(const Window& window, const PictureBox* container, const SDL_Rect& clip) {
    for (const Control* c : window.controls()) {
        if (c->container() != container || !c->visible()) continue;
        const Rect shown = fit_.to_display(c->window_rect());
        const SDL_Rect rect{shown.left, shown.top, shown.width, shown.height};
        SDL_Rect visible = intersect(rect, clip);
        if (visible.w <= 0 || visible.h <= 0) continue;
        SDL_RenderSetClipRect(renderer_, &visible);
        paint_control(*c, rect);
        if (c->kind() == ControlKind::PictureBox) paint_children(window, static_cast<const PictureBox*>(c), visible);
    }
}

void Painter::paint_control(const Control& control, const SDL_Rect& rect) {
    switch (control.kind()) {
        case ControlKind::Image:
            paint_image(static_cast<const Image&>(control), rect);
            break;
        case ControlKind::Label:
            paint_label(static_cast<const Label&>(control), rect);
            break;
        case ControlKind::PictureBox:
            paint_picture_box(static_cast<const PictureBox&>(control), rect);
            break;
        case ControlKind::Shape: {
            const Shape& shape = static_cast<const Shape&>(control);
            if (shape.filled()) {
                set_colour(shape.fill_color());
                SDL_RenderFillRect(renderer_, &rect);
            }
            paint_outline(rect, shape.border_color());
            break;
        }
    }
}

// A one-pixel outline of the window, as wide as one window pixel on the display.
void Painter::paint_outline(const SDL_Rect& rect, Colour colour) {
    set_colour(colour);
    const int t = fit_.to_display_length(1);
    if (t <= 1) {
        SDL_RenderDrawRect(renderer_, &rect);
        return;
    }
    const SDL_Rect sides[4] = {{rect.x, rect.y, rect.w, t},
                               {rect.x, rect.y + rect.h - t, rect.w, t},
                               {rect.x, rect.y, t, rect.h},
                               {rect.x + rect.w - t, rect.y, t, rect.h}};
    SDL_RenderFillRects(renderer_, sides, 4);
}

// Each picture goes straight from its decoded size to its place on the
// display, so a picture larger than its control keeps its detail.
void Painter::paint_image(const Image& image, const SDL_Rect& rect) {
    if (const PictureRef& picture = image.picture()) {
        if (SDL_Texture* texture = picture_texture(*picture)) {
            SDL_Rect target = rect;
            if (!image.stretch()) {
                const Rect own = fit_.to_display({image.window_left(), image.window_top(), picture->width(),
                                                  picture->height()});
                target = {own.left, own.top, own.width, own.height};
            }
            SDL_RenderCopy(renderer_, texture, nullptr, &target);
        }
    }
    if (image.border()) paint_outline(rect, kBlack);
}

// Text is made, wrapped and aligned at the display's size, as it was
// measured (FontCache::measure at the same scale).
void Painter::paint_label(const Label& label, const SDL_Rect& rect) {
    if (!label.font() || label.caption().empty()) return;
    TTF_Font* font = fonts_.get(*label.font(), fit_.scale());
    if (!font) return;
    const int wrap_width = label.word_wrap() ? std::max(1, static_cast<int>(label.width() * fit_.scale())) : 0;
    int y = rect.y;
    for (const std::string& line : fonts_.wrap(font, to_utf8(label.caption()), wrap_width)) {
        CachedTexture text = text_texture(*label.font(), line, label.fore_color());
        int x = rect.x;
        if (label.alignment() == Alignment::Right) x = rect.x + rect.w - text.width;
        if (label.alignment() == Alignment::Centre) x = rect.x + (rect.w - text.width) / 2;
        if (text.texture) {
            SDL_Rect target{x, y, text.width, text.height};
            SDL_RenderCopy(renderer_, text.texture, nullptr, &target);
        }
        y += TTF_FontLineSkip(font);
    }
}

void Painter::paint_picture_box(const PictureBox& box, const SDL_Rect&) {
    if (const PictureRef& picture = box.picture()) {
        if (SDL_Texture* texture = picture_texture(*picture)) {
            const Rect own = fit_.to_display({box.window_left(), box.window_top(), picture->width(), picture->height()});
            const SDL_Rect target{own.left, own.top, own.width, own.height};
            SDL_RenderCopy(renderer_, texture, nullptr, &target);
        }
    }
    for (const DrawnLine& line : box.lines()) paint_line(line, box);
}

// A line of any width with round ends: a quad for its body and a disc at
// each end, so thick lines join the cards cleanly.
void Painter::paint_line(const DrawnLine& line, const Control& box) {
    float x1 = static_cast<float>(fit_.to_display_x(box.window_left() + line.x1));
    float y1 = static_cast<float>(fit_.to_display_y(box.window_top() + line.y1));
    float x2 = static_cast<float>(fit_.to_display_x(box.window_left() + line.x2));
    float y2 = static_cast<float>(fit_.to_display_y(box.window_top() + line.y2));
    const int width = fit_.to_display_length(line.width);
    if (width <= 1) {
        set_colour(line.colour);
        SDL_RenderDrawLineF(renderer_, x1, y1, x2, y2);
        return;
    }
    // An odd width is centred on the pixel's middle, an even one on its
    // corner, so a straight line covers exactly `width` whole pixels across,
    // from the point less half the width (rounded down).
    if (width % 2 == 1) {
        for (float* v : {&x1, &y1, &x2, &y2}) *v += 0.5f;
    }
    const SDL_Color c = sdl_colour(line.colour);
    const float r = static_cast<float>(width) / 2.0f;
    std::vector<SDL_Vertex> v;
    auto vertex = [&](float x, float y) { v.push_back(SDL_Vertex{SDL_FPoint{x, y}, c, SDL_FPoint{0, 0}}); };
    const float dx = x2 - x1, dy = y2 - y1;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0) {
        const float nx = -dy / length * r, ny = dx / length * r;
        vertex(x1 + nx, y1 + ny), vertex(x2 + nx, y2 + ny), vertex(x2 - nx, y2 - ny);
        vertex(x1 + nx, y1 + ny), vertex(x2 - nx, y2 - ny), vertex(x1 - nx, y1 - ny);
    }
    constexpr int kSegments = 16;
    auto disc = [&](float cx, float cy) {
        for (int i = 0; i < kSegments; ++i) {
            const double a0 = 2 * M_PI * i / kSegments, a1 = 2 * M_PI * (i + 1) / kSegments;
            vertex(cx, cy);
            vertex(cx + r * static_cast<float>(std::cos(a0)), cy + r * static_cast<float>(std::sin(a0)));
            vertex(cx + r * static_cast<float>(std::cos(a1)), cy + r * static_cast<float>(std::sin(a1)));
        }
    };
    disc(x1, y1);
    disc(x2, y2);
    SDL_RenderGeometry(renderer_, nullptr, v.data(), static_cast<int>(v.size()), nullptr, 0);
}

void Painter::draw_text(const Font& font, const std::string& text, Colour colour, int x, int y) {
    CachedTexture t = text_texture(font, to_utf8(text), colour);
    if (!t.texture) return;
    SDL_Rect target{x, y, t.width, t.height};
    SDL_RenderCopy(renderer_, t.texture, nullptr, &target);
}

SDL_Texture* Painter::picture_texture(const Picture& picture) {
    const void* key = picture.pixels().get();
    auto it = pictures_.find(key);
    if (it != pictures_.end()) return it->second.second;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, static_cast<SDL_Surface*>(picture.pixels().get()));
    if (texture) SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    pictures_[key] = {picture.pixels(), texture};
    return texture;
}

Painter::CachedTexture Painter::text_texture(const Font& font, const std::string& line, Colour colour) {
    if (line.empty()) return {};
    const std::string key = font.name + '\x01' + std::to_string(font_pixels(font.size, fit_.scale())) +
                            (font.bold ? "b" : "") + (font.italic ? "i" : "") + '\x01' + std::to_string(colour) +
                            '\x01' + line;
    auto it = texts_.find(key);
    if (it != texts_.end()) return it->second;
    if (texts_.size() >= kMaxCachedTexts) {
        for (auto& [k, entry] : texts_) SDL_DestroyTexture(entry.texture);
        texts_.clear();
    }
    CachedTexture made;
    if (TTF_Font* f = fonts_.get(font, fit_.scale())) {
        if (SDL_Surface* surface = TTF_RenderUTF8_Blended(f, line.c_str(), sdl_colour(colour))) {
            made.texture = SDL_CreateTextureFromSurface(renderer_, surface);
            made.width = surface->w;
            made.height = surface->h;
            SDL_FreeSurface(surface);
        }
    }
    texts_[key] = made;
    return made;
}

}  // namespace mem
