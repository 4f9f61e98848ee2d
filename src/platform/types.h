#pragma once
// Small value types shared by the platform interface and the game.
#include <cstdint>
#include <memory>
#include <string>

namespace mem {

// Red + 256 * green + 65536 * blue, each 0..255.
using Colour = int32_t;
constexpr Colour kWhite = 16777215;
constexpr Colour kBlack = 0;

inline int colour_red(Colour c) { return c & 0xFF; }
inline int colour_green(Colour c) { return (c >> 8) & 0xFF; }
inline int colour_blue(Colour c) { return (c >> 16) & 0xFF; }

// A font object. Labels hold it by shared pointer, so changing the object
// shows on every label that holds it.
struct Font {
    std::string name = "MS Sans Serif";
    float size = 8.25f;  // points at 96 dpi
    bool bold = false;
    bool italic = false;
};
using FontRef = std::shared_ptr<Font>;

inline FontRef make_font(std::string name, float size, bool bold = false, bool italic = false) {
    return std::make_shared<Font>(Font{std::move(name), size, bold, italic});
}

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
    bool operator==(const Rect&) const = default;
};

// A decoded image. The backend keeps its own pixel data behind `pixels`.
class Picture {
public:
    Picture(std::string path, int width, int height, std::shared_ptr<void> pixels)
        : path_(std::move(path)), width_(width), height_(height), pixels_(std::move(pixels)) {}
    const std::string& path() const { return path_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::shared_ptr<void>& pixels() const { return pixels_; }

private:
    std::string path_;
    int width_;
    int height_;
    std::shared_ptr<void> pixels_;
};
using PictureRef = std::shared_ptr<const Picture>;

// Message box styles and answers.
constexpr int kStyleOk = 0;
constexpr int kStyleCritical = 16;          // OK only, critical-stop icon
constexpr int kStyleCriticalOkCancel = 17;  // OK and Cancel, critical-stop icon
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;

// Exit statuses of the program.
constexpr int kExitNormal = 0;
constexpr int kExitFailure = 1;
constexpr int kExitNoDisplay = 2;  // also a usage error

}  // namespace mem
