#pragma once
// Shared by the SDL backend tests: solid pictures on disk and reading back
// what a window shows.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "platform/window.h"

namespace mem::test {

constexpr Colour kRed = 255, kGreen = 65280, kBlue = 16711680, kYellow = 65535;

// Writes a BMP of one colour; returns its path.
inline std::string write_solid_bmp(const std::filesystem::path& path, int w, int h, Colour c) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, static_cast<Uint8>(colour_red(c)),
                                        static_cast<Uint8>(colour_green(c)), static_cast<Uint8>(colour_blue(c))));
    SDL_SaveBMP(s, path.string().c_str());
    SDL_FreeSurface(s);
    return path.string();
}

// Pixels of a window as read back by the backend (RGBA32, row by row).
struct Pixels {
    std::vector<uint32_t> data;
    int width = 0, height = 0;

    // What a window shows on the display, read back.
    Pixels(SdlPlatform& platform, Window& window) {
        Size size;
        data = platform.read_pixels(window, size);
        width = size.width;
        height = size.height;
    }

    Colour at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return -1;
        const uint32_t p = data[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        // RGBA32 is R, G, B, A in memory order.
        const auto* b = reinterpret_cast<const uint8_t*>(&p);
        return b[0] + 256 * b[1] + 65536 * b[2];
    }
    // How many pixels of a rectangle have the colour.
    int count(int left, int top, int w, int h, Colour c) const {
        int n = 0;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) n += at(x, y) == c;
        return n;
    }
};

// A test suite sharing one started SDL platform and a temporary directory.
class SdlSuite : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = std::filesystem::temp_directory_path() /
              ("sdl-" + std::string(testing::UnitTest::GetInstance()->current_test_suite()->name()) + "-" +
               std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        platform = new SdlPlatform("", dir.string(), dir.string());
        std::string error;
        ASSERT_TRUE(platform->start(error)) << error;
    }
    static void TearDownTestSuite() {
        delete platform;
        platform = nullptr;
        std::filesystem::remove_all(dir);
    }

    static inline std::filesystem::path dir;
    static inline SdlPlatform* platform = nullptr;
};

}  // namespace mem::test
