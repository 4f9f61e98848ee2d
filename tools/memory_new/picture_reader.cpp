#include "picture_reader.h"

#include <SDL.h>
#include <SDL_image.h>
#include <libheif/heif.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "every_core.h"
#include "platform/media/exif_orientation.h"
#include "platform/media/image_decoder.h"
#include "platform/media/picture_size.h"
#include "platform/translation.h"

namespace mem::make {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool starts_with(const Bytes& bytes, size_t at, const char* text) {
    const size_t n = std::char_traits<char>::length(text);
    return bytes.size() >= at + n && std::equal(text, text + n, bytes.begin() + static_cast<long>(at));
}

bool is_jpeg(const Bytes& b) { return b.size() > 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF; }

// An ISO base media file whose brand is one of HEIF's.
bool is_heif(const Bytes& b) {
    if (!starts_with(b, 4, "ftyp")) return false;
    for (const char* brand : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif"})
        if (starts_with(b, 8, brand)) return true;
    return false;
}

// Owns an SDL surface until it is handed to a canvas.
struct SurfaceOwner {
    SDL_Surface* surface = nullptr;
    ~SurfaceOwner() { SDL_FreeSurface(surface); }
};

// Read at the smallest of libjpeg-turbo's scaling factors (1/8 to 1) that
// still covers the fit into the box.
void read_jpeg(const Bytes& bytes, int box_w, int box_h, ReadPicture& out, SurfaceOwner& decoded) {
    tjhandle jpeg = tjInitDecompress();
    if (!jpeg) {
        out.error = tr("libjpeg-turbo could not start");
        return;
    }
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(jpeg, bytes.data(), bytes.size(), &w, &h, &subsampling, &colourspace) != 0 || w <= 0 ||
        h <= 0) {
        out.error = tjGetErrorStr2(jpeg);
        tjDestroy(jpeg);
        return;
    }
    out.width = w;
    out.height = h;
    const double need = std::min(1.0, std::min(static_cast<double>(box_w) / w, static_cast<double>(box_h) / h));
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor chosen{1, 1};
    for (int i = 0; i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num <= f.denom && static_cast<double>(f.num) / f.denom >= need &&
            static_cast<double>(f.num) / f.denom < static_cast<double>(chosen.num) / chosen.denom)
            chosen = f;
    }
    const int sw = TJSCALED(w, chosen), sh = TJSCALED(h, chosen);
    // As the game's reader does, no more memory than a picture of its largest.
    if (static_cast<long long>(sw) * sh > kMaxPicturePixels) {
        out.error = format_text(tr("a picture of %d x %d pixels is too large"), static_cast<int>(w), static_cast<int>(h));
        tjDestroy(jpeg);
        return;
    }
    // BGRA is ARGB8888's byte order; libjpeg-turbo sets the alpha opaque.
    // A CMYK picture is read as its four inks and mixed here.
    const bool cmyk = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;
    decoded.surface = SDL_CreateRGBSurfaceWithFormat(0, sw, sh, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!decoded.surface) {
        out.error = SDL_GetError();
    } else if (tjDecompress2(jpeg, bytes.data(), bytes.size(), static_cast<unsigned char*>(decoded.surface->pixels),
                             sw, decoded.surface->pitch, sh, cmyk ? TJPF_CMYK : TJPF_BGRA, TJFLAG_FASTDCT) != 0 &&
               tjGetErrorCode(jpeg) == TJERR_FATAL) {
        // A warning (a truncated file) still gives what could be read.
        out.error = tjGetErrorStr2(jpeg);
    } else if (cmyk) {
        // As Adobe's programs write them, inverted: each ink's byte is 255 where there is none.
        for (int y = 0; y < sh; ++y) {
            auto* row = static_cast<std::uint8_t*>(decoded.surface->pixels) + y * decoded.surface->pitch;
            for (int x = 0; x < sw; ++x) {
                std::uint8_t* p = row + 4 * x;
                const int c = p[0], m = p[1], yellow = p[2], k = p[3];
                p[0] = static_cast<std::uint8_t>(yellow * k / 255);
                p[1] = static_cast<std::uint8_t>(m * k / 255);
                p[2] = static_cast<std::uint8_t>(c * k / 255);
                p[3] = 255;
            }
        }
    }
    tjDestroy(jpeg);
}

void read_heif(const Bytes& bytes, ReadPicture& out, SurfaceOwner& decoded) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    heif_error status = heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr);
    if (status.code == heif_error_Ok) status = heif_context_get_primary_image_handle(context, &handle);
    // HEIF has no reduced reading; a phone's largest photos (48 megapixels) are read whole.
    const long long pixels = handle ? static_cast<long long>(heif_image_handle_get_width(handle)) *
                                          heif_image_handle_get_height(handle)
                                    : 0;
    // libheif turns and mirrors the picture as the file says: it comes upright.
    if (status.code == heif_error_Ok && pixels <= 4 * kMaxPicturePixels)
        status = heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
    if (status.code == heif_error_Ok && !image) {
        out.error = format_text(tr("a picture of %llu pixels is too large"), static_cast<unsigned long long>(pixels));
    } else if (status.code != heif_error_Ok) {
        out.error = status.message;
    } else {
        int stride = 0;
        const std::uint8_t* rgba = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
        const int w = heif_image_get_width(image, heif_channel_interleaved);
        const int h = heif_image_get_height(image, heif_channel_interleaved);
        SDL_Surface* view = rgba ? SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgba), w, h, 32,
                                                                      stride, SDL_PIXELFORMAT_RGBA32)
                                 : nullptr;
        decoded.surface = view ? SDL_ConvertSurfaceFormat(view, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
        if (!decoded.surface) out.error = rgba ? SDL_GetError() : tr("no picture in the file");
        out.width = w;
        out.height = h;
        SDL_FreeSurface(view);
    }
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
}

// Through the game's own reader, which checks the header's size first.
void read_other(const std::string& path, ReadPicture& out, SurfaceOwner& decoded) {
    const PictureRef picture = decode_picture(path, out.error);
    if (!picture) return;
    decoded.surface = SDL_ConvertSurfaceFormat(static_cast<SDL_Surface*>(picture->pixels().get()),
                                               SDL_PIXELFORMAT_ARGB8888, 0);
    out.width = picture->width();
    out.height = picture->height();
}

}  // namespace

ReadPicture read_picture(const std::string& path, int box_width, int box_height) {
    ReadPicture out;
    std::ifstream file(path, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof()) {
        out.error = tr("cannot read the file");
        return out;
    }
    SurfaceOwner decoded;
    if (is_jpeg(bytes)) {
        // Read lying as stored, then turned upright as its Exif data says.
        const int orientation = exif_orientation(bytes.data(), bytes.size());
        const bool quarter_turn = orientation >= 5 && orientation <= 8;
        read_jpeg(bytes, quarter_turn ? box_height : box_width, quarter_turn ? box_width : box_height, out, decoded);
        if (quarter_turn) std::swap(out.width, out.height);
        if (decoded.surface && orientation != 1) {
            SDL_Surface* upright = oriented_surface(decoded.surface, orientation);
            if (upright != decoded.surface) {
                SDL_FreeSurface(decoded.surface);
                decoded.surface = upright;
            }
        }
    } else if (is_heif(bytes)) {
        read_heif(bytes, out, decoded);
    } else {
        read_other(path, out, decoded);
    }
    if (!decoded.surface || !out.error.empty()) {
        if (out.error.empty()) out.error = tr("the picture could not be decoded");
        return out;
    }
    if (decoded.surface->w <= 0 || decoded.surface->h <= 0) {
        out.error = tr("the picture is empty");
        return out;
    }
    out.picture = Canvas::from_surface(decoded.surface);
    if (!out.picture) {
        out.error = SDL_GetError();
        return out;
    }
    // Kept no larger than its fit into the box: a game may hold hundreds of photos.
    const int w = out.picture->width(), h = out.picture->height();
    const double scale = std::min(static_cast<double>(box_width) / w, static_cast<double>(box_height) / h);
    if (box_width > 0 && box_height > 0 && scale < 1) {
        const int fw = std::max(1, static_cast<int>(std::lround(w * scale)));
        const int fh = std::max(1, static_cast<int>(std::lround(h * scale)));
        auto fitted = std::make_unique<Canvas>(fw, fh);
        fitted->draw_scaled(*out.picture, 0, 0, fw, fh);
        out.picture = std::move(fitted);
    }
    return out;
}

std::vector<ReadPicture> read_pictures(const std::vector<std::string>& paths, int box_width, int box_height) {
    std::vector<ReadPicture> read(paths.size());
    // SDL2_image sets its decoders up on first use: once, before the threads.
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG | IMG_INIT_TIF | IMG_INIT_WEBP);
    on_every_core(paths.size(), [&](size_t i) { read[i] = read_picture(paths[i], box_width, box_height); });
    return read;
}

}  // namespace mem::make
