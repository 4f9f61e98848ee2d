#include "platform/sdl/renderer_choice.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace mem {
namespace {

// A DRM device node (Mesa's drivers) or the NVIDIA driver's control node
// that this process may open.
bool can_open_gpu_device() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        const std::string name = entry.path().filename().string();
        if ((name.starts_with("renderD") || name.starts_with("card")) &&
            access(entry.path().c_str(), R_OK | W_OK) == 0)
            return true;
    }
    return access("/dev/nvidiactl", R_OK | W_OK) == 0;
}

}  // namespace

RendererKind choose_renderer(const std::string& video_driver, bool gpu_device) {
    // Direct rendering on the console always has a GPU behind it.
    if (video_driver == "kmsdrm") return RendererKind::Accelerated;
    return gpu_device ? RendererKind::Accelerated : RendererKind::Software;
}

SDL_Renderer* create_renderer(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool software = choose_renderer(driver ? driver : "", can_open_gpu_device()) == RendererKind::Software;
    // SDL would otherwise show a software renderer's window surface through
    // an OpenGL texture: the cost that the software renderer is to avoid.
    if (software) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const Uint32 first = software ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED;
    const Uint32 second = software ? SDL_RENDERER_ACCELERATED : SDL_RENDERER_SOFTWARE;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, first);
    return renderer ? renderer : SDL_CreateRenderer(window, -1, second);
}

}  // namespace mem
