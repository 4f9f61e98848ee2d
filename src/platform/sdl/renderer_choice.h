#pragma once
// Which of SDL's renderers draws the game's windows.
#include <SDL.h>

#include <string>

namespace mem {

enum class RendererKind { Accelerated, Software };

// Without a graphics device, OpenGL is only a software rasteriser (Mesa's
// llvmpipe or softpipe): it costs more start-up time, memory and idle CPU
// than SDL's own software renderer and draws the game no faster. So the
// software renderer is chosen there, and the accelerated one on a GPU.
// `video_driver` is SDL's current video driver; `gpu_device` whether this
// process can open a graphics device.
RendererKind choose_renderer(const std::string& video_driver, bool gpu_device);

// The renderer for a window: the chosen kind, or the other one when that
// fails; null when neither can be made.
SDL_Renderer* create_renderer(SDL_Window* window);

}  // namespace mem
