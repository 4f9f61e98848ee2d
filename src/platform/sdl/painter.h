#pragma once
// Draws a window as a player sees it: its printed lines, then its controls
// in drawing order, each container's children inside it.
#include <SDL.h>

#include <map>
#include <memory>
#include <string>

#include "platform/window.h"
#include "platform/sdl/font_cache.h"

namespace mem {

class Painter {
public:
    Painter(SDL_Renderer* renderer, FontCache& fonts);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Draws the whole window; the caller presents it.
    void paint(const Window& window);

private:
    struct CachedTexture {
        SDL_Texture* texture = nullptr;
        int width = 0, height = 0;
    };

    void paint_children(const Window& window, const PictureBox* container, const SDL_Rect& clip);
    void paint_control(const Control& control, const SDL_Rect& clip);
    void paint_image(const Image& image, const SDL_Rect& rect);
    void paint_label(const Label& label, const SDL_Rect& rect);
    void paint_picture_box(const PictureBox& box, const SDL_Rect& rect);
    void paint_line(const DrawnLine& line, int origin_x, int origin_y);
    void draw_text(const Font& font, const std::string& text, Colour colour, int x, int y);
    void set_colour(Colour c);

    SDL_Texture* picture_texture(const Picture& picture);
    CachedTexture text_texture(const Font& font, const std::string& line, Colour colour);

    SDL_Renderer* renderer_;
    FontCache& fonts_;
    // Picture textures, dropped when the picture itself is gone.
    std::map<const void*, std::pair<std::weak_ptr<void>, SDL_Texture*>> pictures_;
    std::map<std::string, CachedTexture> texts_;
};

}  // namespace mem
