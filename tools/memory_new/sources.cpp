#include "sources.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "canvas.h"
#include "name_order.h"

namespace mem::make {
namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool is_wave(const fs::path& path) { return lower(path.extension().string()) == ".wav"; }

// A wave file with the picture's name beside it, in any letter case of ".wav".
std::string sound_beside(const fs::path& picture) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(picture.parent_path().empty() ? "." : picture.parent_path(), error)) {
        const fs::path& candidate = entry.path();
        if (candidate.stem() == picture.stem() && is_wave(candidate) && entry.is_regular_file(error))
            return candidate.string();
    }
    return "";
}

}  // namespace

std::string caption_of(const std::string& path) {
    std::string caption = fs::path(path).stem().string();
    std::replace(caption.begin(), caption.end(), '_', ' ');
    return caption;
}

std::unique_ptr<Canvas> load_picture(const std::string& path, std::string& error) {
    SDL_Surface* decoded = IMG_Load(path.c_str());
    if (!decoded) {
        error = IMG_GetError();
        return nullptr;
    }
    std::unique_ptr<Canvas> picture;
    if (decoded->w > 0 && decoded->h > 0) picture = Canvas::from_surface(decoded);
    if (!picture) error = decoded->w > 0 && decoded->h > 0 ? SDL_GetError() : "the picture is empty";
    SDL_FreeSurface(decoded);
    return picture;
}

std::vector<SourcePicture> find_pictures(const std::vector<std::string>& inputs, std::ostream& err) {
    std::vector<fs::path> files;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (fs::is_directory(input, error)) {
            std::vector<fs::path> inside;
            for (const auto& entry : fs::directory_iterator(input, error))
                if (entry.is_regular_file(error) && !is_wave(entry.path()) && entry.path().filename().string()[0] != '.')
                    inside.push_back(entry.path());
            // By name, then by extension.
            std::sort(inside.begin(), inside.end(), [](const fs::path& a, const fs::path& b) {
                const std::string x = a.stem().string(), y = b.stem().string();
                return x != y ? natural_less(x, y) : a.filename() < b.filename();
            });
            files.insert(files.end(), inside.begin(), inside.end());
        } else if (!fs::exists(input, error)) {
            err << "memory-new: skipped \"" << input << "\": no such file or folder\n";
        } else if (!is_wave(input)) {
            files.push_back(input);
        }
    }
    std::vector<SourcePicture> pictures;
    std::vector<fs::path> seen;
    for (const fs::path& file : files) {
        // A picture named twice (by itself and in its folder) makes one pair.
        std::error_code error;
        const fs::path canonical = fs::weakly_canonical(file, error);
        if (std::find(seen.begin(), seen.end(), canonical) != seen.end()) continue;
        seen.push_back(canonical);
        std::string reason;
        // Decoded once here to test it; drawn from the file again later, so
        // that large pictures are not all held at once.
        if (!load_picture(file.string(), reason)) {
            err << "memory-new: skipped \"" << file.string() << "\": not a picture it can read (" << reason << ")\n";
            continue;
        }
        pictures.push_back({file.string(), caption_of(file.string()), sound_beside(file)});
    }
    return pictures;
}

}  // namespace mem::make
