#pragma once
// Draws a window as a player sees it: its printed lines, then its controls
// in drawing order, each container's children inside it, all scaled from
// window coordinates to the display. The frame is kept between paints, so
// only what changed is drawn again.
#include <SDL.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/screen_fit.h"
#include "platform/window.h"
#include "platform/sdl/font_cache.h"

namespace mem {

class Painter {
public:
    // `keeps_frame`: the renderer's own output is kept between paints (a
    // software renderer drawing on the window's surface); otherwise the
    // painter keeps the frame in a texture and copies it out every time.
    Painter(SDL_Renderer* renderer, FontCache& fonts, bool keeps_frame);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Draws what changed in the window (all of it when `whole`) onto the
    // kept frame; returns the display areas painted. The caller presents.
    // `muted`: the speaker-off mark shows at the top right of the board.
    std::vector<SDL_Rect> paint(const Window& window, const ScreenFit& fit, bool whole, bool muted = false);
    // The kept frame, 32-bit RGBA row by row; its size in `size`.
    std::vector<uint32_t> read_frame(Size& size);

private:
    struct CachedTexture {
        SDL_Texture* texture = nullptr;
        int width = 0, height = 0;
    };

    bool ensure_frame();
    void paint_area(const Window& window, const SDL_Rect& area);
    void paint_children(const Window& window, const PictureBox* container, const SDL_Rect& clip);
    void paint_control(const Control& control, const SDL_Rect& rect);
    void paint_image(const Image& image, const SDL_Rect& rect);
    void paint_label(const Label& label, const SDL_Rect& rect);
    void paint_picture_box(const PictureBox& box, const SDL_Rect& rect);
    void paint_line(const DrawnLine& line, const Control& box);
    void paint_outline(const SDL_Rect& rect, Colour colour);
    void paint_muted_mark();
    // Where the speaker-off mark lies on the display.
    static SDL_Rect muted_mark(const ScreenFit& fit);
    void draw_text(const Font& font, const std::string& text, Colour colour, int x, int y);
    void set_colour(Colour c);

    SDL_Texture* picture_texture(const Picture& picture);
    CachedTexture text_texture(const Font& font, const std::string& line, Colour colour);

    SDL_Renderer* renderer_;
    FontCache& fonts_;
    ScreenFit fit_;
    bool keeps_frame_;
    bool muted_ = false;
    // The kept frame at the renderer's output size, when the renderer keeps none.
    SDL_Texture* frame_ = nullptr;
    Size frame_size_{};
    // Picture textures, dropped when the picture itself is gone.
    std::map<const void*, std::pair<std::weak_ptr<void>, SDL_Texture*>> pictures_;
    std::map<std::string, CachedTexture> texts_;
};

}  // namespace mem
