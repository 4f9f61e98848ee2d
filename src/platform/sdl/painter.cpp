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

Painter::Painter(SDL_Renderer* renderer, FontCache& fonts) : renderer_(renderer), fonts_(fonts) {}

Painter::~Painter() {
    for (auto& [key, entry] : pictures_) SDL_DestroyTexture(entry.second);
    for (auto& [key, entry] : texts_) SDL_DestroyTexture(entry.texture);
}

void Painter::set_colour(Colour c) {
    SDL_SetRenderDrawColor(renderer_, static_cast<Uint8>(colour_red(c)), static_cast<Uint8>(colour_green(c)),
                           static_cast<Uint8>(colour_blue(c)), 255);
}

void Painter::paint(const Window& window) {
    // Textures of pictures that nobody holds any more are freed.
    for (auto it = pictures_.begin(); it != pictures_.end();) {
        if (it->second.first.expired()) {
            SDL_DestroyTexture(it->second.second);
            it = pictures_.erase(it);
        } else {
            ++it;
        }
    }
    SDL_RenderSetClipRect(renderer_, nullptr);
    set_colour(window.back_color());
    SDL_RenderClear(renderer_);
    // The drawing surface lies beneath the controls, as on the old form.
    for (const Window::PrintedLine& line : window.printed())
        draw_text(*window.font(), line.text, line.colour, line.x, line.y);
    SDL_Rect whole{0, 0, std::max(window.width(), 1), std::max(window.height(), 1)};
    paint_children(window, nullptr, whole);
    SDL_RenderSetClipRect(renderer_, nullptr);
}

void Painter::paint_children(const Window& window, const PictureBox* container, const SDL_Rect& clip) {
    for (const Control* c : window.controls()) {
        if (c->container() != container || !c->visible()) continue;
        SDL_Rect rect{c->window_left(), c->window_top(), c->width(), c->height()};
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
        case ControlKind::Shape:
            set_colour(static_cast<const Shape&>(control).border_color());
            SDL_RenderDrawRect(renderer_, &rect);
            break;
    }
}

void Painter::paint_image(const Image& image, const SDL_Rect& rect) {
    if (const PictureRef& picture = image.picture()) {
        if (SDL_Texture* texture = picture_texture(*picture)) {
            SDL_Rect target = rect;
            if (!image.stretch()) target = {rect.x, rect.y, picture->width(), picture->height()};
            SDL_RenderCopy(renderer_, texture, nullptr, &target);
        }
    }
    if (image.border()) {
        set_colour(kBlack);
        SDL_RenderDrawRect(renderer_, &rect);
    }
}

void Painter::paint_label(const Label& label, const SDL_Rect& rect) {
    if (!label.font() || label.caption().empty()) return;
    TTF_Font* font = fonts_.get(*label.font());
    if (!font) return;
    const int wrap_width = label.word_wrap() ? rect.w : 0;
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

void Painter::paint_picture_box(const PictureBox& box, const SDL_Rect& rect) {
    if (const PictureRef& picture = box.picture()) {
        if (SDL_Texture* texture = picture_texture(*picture)) {
            SDL_Rect target{rect.x, rect.y, picture->width(), picture->height()};
            SDL_RenderCopy(renderer_, texture, nullptr, &target);
        }
    }
    for (const DrawnLine& line : box.lines()) paint_line(line, rect.x, rect.y);
}

// A line of any width with round ends: a quad for its body and a disc at
// each end, so thick lines join the cards cleanly.
void Painter::paint_line(const DrawnLine& line, int origin_x, int origin_y) {
    float x1 = static_cast<float>(origin_x + line.x1), y1 = static_cast<float>(origin_y + line.y1);
    float x2 = static_cast<float>(origin_x + line.x2), y2 = static_cast<float>(origin_y + line.y2);
    if (line.width <= 1) {
        set_colour(line.colour);
        SDL_RenderDrawLineF(renderer_, x1, y1, x2, y2);
        return;
    }
    // An odd width is centred on the pixel's middle, an even one on its
    // corner, so a straight line covers exactly `width` whole pixels across,
    // from the point less half the width (rounded down).
    if (line.width % 2 == 1) {
        for (float* v : {&x1, &y1, &x2, &y2}) *v += 0.5f;
    }
    const SDL_Color c = sdl_colour(line.colour);
    const float r = static_cast<float>(line.width) / 2.0f;
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
    pictures_[key] = {picture.pixels(), texture};
    return texture;
}

Painter::CachedTexture Painter::text_texture(const Font& font, const std::string& line, Colour colour) {
    if (line.empty()) return {};
    const std::string key = font.name + '\x01' + std::to_string(font.size) + (font.bold ? "b" : "") +
                            (font.italic ? "i" : "") + '\x01' + std::to_string(colour) + '\x01' + line;
    auto it = texts_.find(key);
    if (it != texts_.end()) return it->second;
    if (texts_.size() >= kMaxCachedTexts) {
        for (auto& [k, entry] : texts_) SDL_DestroyTexture(entry.texture);
        texts_.clear();
    }
    CachedTexture made;
    if (TTF_Font* f = fonts_.get(font)) {
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
