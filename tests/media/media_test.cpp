// The readers of picture files: the header checks that keep a decoder from allocating what a hostile header
// claims, and the Exif orientation of camera pictures.
#include <SDL_image.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/media/exif_orientation.h"
#include "platform/media/image_decoder.h"

namespace mem::test {
namespace {

std::string u16(uint32_t v, bool le) {
    return le ? std::string{char(v), char(v >> 8)} : std::string{char(v >> 8), char(v)};
}
std::string u32(uint32_t v, bool le) { return le ? u16(v, le) + u16(v >> 16, le) : u16(v >> 16, le) + u16(v, le); }

// A JPEG head whose Exif block holds `tiff`, after a JFIF block.
std::string jpeg_with_exif(const std::string& tiff) {
    const std::string exif = "Exif" + std::string(2, '\0') + tiff;
    return "\xFF\xD8\xFF\xE0" + u16(4, false) + "JF\xFF\xE1" + u16(2 + exif.size(), false) + exif + "\xFF\xDA";
}

// A first directory with a width entry, then the orientation entry of `type` and `value`.
std::string tiff(bool le, uint32_t value, uint32_t type = 3, uint32_t directory = 8, uint32_t entries = 2) {
    return (le ? "II*" + std::string(1, '\0') : "MM" + std::string(1, '\0') + "*") + u32(directory, le) +
           u16(entries, le) + u16(0x100, le) + u16(3, le) + u32(1, le) + u32(640, le) + u16(0x112, le) +
           u16(type, le) + u32(1, le) + u16(value, le) + u16(0, le) + u32(0, le);
}

int orientation_of(const std::string& bytes) {
    const std::vector<uint8_t> exact(bytes.begin(), bytes.end());  // nothing readable past the end
    return exif_orientation(exact.data(), exact.size());
}

TEST(ExifOrientation, ReadsTheTagInBothByteOrdersAndOneForAnythingElse) {
    for (bool le : {true, false}) {
        SCOPED_TRACE(le ? "II" : "MM");
        for (uint32_t value = 0; value <= 9; ++value)
            EXPECT_EQ(orientation_of(jpeg_with_exif(tiff(le, value))), value >= 1 && value <= 8 ? int(value) : 1);
        const std::string six = jpeg_with_exif(tiff(le, 6));
        // Cut anywhere: 1 until the tag is whole.
        for (size_t cut = 0; cut < six.size(); ++cut)
            EXPECT_EQ(orientation_of(six.substr(0, cut)), cut >= six.size() - 6 ? 6 : 1) << cut;
        const std::string odd[] = {
            jpeg_with_exif(tiff(le, 6, 4)),                       // a long, not a short
            jpeg_with_exif(tiff(le, 6, 3, 0xFFFFFFF0)),           // directory far past the end
            jpeg_with_exif(tiff(le, 6, 3, 0xFFFFFFFF)),
            jpeg_with_exif(tiff(le, 6, 3, 8, 1)),                 // the entry count stops before the tag
            jpeg_with_exif(tiff(le, 6, 3, 8, 0xFFFF).substr(0, 22)),
            "\xFF\xD8\xFF\xE1" + u16(0xFFFF, false) + "Exif" + std::string(2, '\0') + tiff(le, 6).substr(0, 12),
            "\xFF\xD8\xFF\xE1" + u16(1, false) + "Exif",           // a length shorter than itself
            "\xFF\xD8\xFF\xDA" + jpeg_with_exif(tiff(le, 6)).substr(2),  // after the picture data
            "\x89PNG" + jpeg_with_exif(tiff(le, 6)),
        };
        for (const std::string& bytes : odd) EXPECT_EQ(orientation_of(bytes), 1) << testing::PrintToString(bytes);
    }
}

TEST(ExifOrientation, TurnsAndFlipsAsViewersShow) {
    // Stored:  a b c     shown, row by row, for orientation 1 to 8
    //          d e f
    const char* shown[] = {"abc/def", "cba/fed", "fed/cba", "def/abc", "ad/be/cf", "da/eb/fc", "fc/eb/da", "cf/be/ad"};
    SDL_Surface* stored = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 24, SDL_PIXELFORMAT_RGB24);
    for (int i = 0; i < 6; ++i)
        static_cast<uint8_t*>(stored->pixels)[(i / 3) * stored->pitch + (i % 3) * 3] = uint8_t('a' + i);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SDL_Surface* turned = oriented_surface(stored, orientation);
        ASSERT_NE(turned, nullptr);
        EXPECT_EQ(turned == stored, orientation == 1);
        std::string rows;
        for (int y = 0; y < turned->h; ++y) {
            for (int x = 0; x < turned->w; ++x) rows += char(static_cast<uint8_t*>(turned->pixels)[y * turned->pitch + x * 3]);
            rows += '/';
        }
        EXPECT_EQ(rows, shown[orientation - 1] + std::string("/")) << orientation;
        if (turned != stored) SDL_FreeSurface(turned);
    }
    SDL_FreeSurface(stored);
}

// The picture in a child process: its size or the reason it was refused, and the memory the child grew by, in MB.
std::pair<std::string, long> decode_in_child(const std::string& path) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {"no pipe", 0};
    if (::fork() == 0) {
        rusage before{}, after{};
        ::getrusage(RUSAGE_SELF, &before);
        std::string error;
        const PictureRef picture = decode_picture(path, error);
        ::getrusage(RUSAGE_SELF, &after);
        const std::string outcome = picture ? std::to_string(picture->width()) + " x " + std::to_string(picture->height()) : error;
        const std::string report = std::to_string((after.ru_maxrss - before.ru_maxrss) / 1024) + " " + outcome;
        (void)!::write(pipe_ends[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipe_ends[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(n));
    ::close(pipe_ends[0]);
    ::wait(nullptr);
    const size_t space = report.find(' ');
    if (space == std::string::npos) return {"the child ended without a word", 0};
    return {report.substr(space + 1), std::stol(report.substr(0, space))};
}

// Mended: every format the decoders read has its size checked before decoding, each GIF frame too; a header that is
// cut off, or a format whose size cannot be read first, is refused. Small pictures of each format still decode.
TEST(PictureGuard, HostileHeadersAreRefusedBeforeTheyCostMemory) {
    const std::string zero(1, '\0'), le = "", be = "";
    auto le16 = [](uint32_t v) { return u16(v, true); };
    auto le32 = [](uint32_t v) { return u32(v, true); };
    auto be32 = [](uint32_t v) { return u32(v, false); };
    const std::string gif_1x1 = "GIF89a" + le16(2) + le16(1) + "\x80" + zero + zero + std::string(6, '\xFF');
    auto gif_frame = [&](uint32_t w, uint32_t h) { return "," + le32(0) + le16(w) + le16(h) + zero + "\x02\x02\x04\x0A" + zero; };
    auto tga = [&](uint32_t w, uint32_t h) { return std::string(2, '\0') + "\x02" + std::string(9, '\0') + le16(w) + le16(h) + "\x18" + zero; };
    const std::string pcx_wide = "\x0A\x05\x01\x08" + le16(0x8000) + le16(0) + le16(0x7FFF) + le16(0) + std::string(116, '\1');
    auto tiff_entry = [&](uint32_t tag, uint32_t value) { return le16(tag) + le16(4) + le32(1) + le32(value); };
    const std::string tiff_giant = "II*" + zero + le32(8) + le16(2) + tiff_entry(256, 65535) + tiff_entry(257, 65535);
    const std::string tiff_tiles = "MM" + zero + "*" + be32(8) + u16(3, false) + u16(256, false) + u16(3, false) +
                                   be32(1) + be32(1 << 16) + u16(257, false) + u16(3, false) + be32(1) + be32(1 << 16) +
                                   u16(322, false) + u16(4, false) + be32(1) + be32(65535);
    auto webp = [&](const std::string& chunk, const std::string& data) { return "RIFF" + le32(12 + data.size()) + "WEBP" + chunk + le32(data.size()) + data; };
    const std::string lbm = "FORM" + be32(40) + "ILBMANNO" + be32(3) + "abc" + zero + "BMHD" + be32(20) + be32(0xFFFFFFFF) + std::string(16, '\0');
    const std::string qoi = "qoif" + be32(2) + be32(1) + "\x03" + zero + "\xFE\x10\x20\x30\xFE\x40\x50\x60" + std::string(7, '\0') + "\1";
    // A file, its bytes, and its size when decoded or the words of its refusal.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"x.gif", "GIF89a" + le16(1) + le16(1) + zero + zero + zero + gif_frame(12000, 12000) + ";", "claims to be 12000 x 12000"},
        {"x.gif", gif_1x1 + gif_frame(2, 1) + "\x21\xF9\x04" + le32(0) + zero + "stray" + gif_frame(1, 65535), "claims to be 2 x 65535"},
        {"x.gif", gif_1x1 + gif_frame(2, 1) + "\x21\xF9\x04" + le32(0) + zero + gif_frame(2, 1) + ";", "2 x 1"},
        {"x.ppm", "P6\n# a\r12000 # b\n 12000\n255\n" + std::string(20, '\0'), "claims to be 12000 x 12000"},
        {"x.ppm", "P6\n# by hand\r2 1\n255\n" + std::string(6, '\x7F'), "2 x 1"},
        {"x.TGA", tga(65535, 65535), "claims to be 65535 x 65535"},
        {"x.tga", tga(2, 1) + std::string(6, '\x7F'), "2 x 1"},
        {"x.pcx", pcx_wide, "claims to be 65536 x 1"},
        {"x.qoi", "qoif" + be32(65535) + be32(65535) + "\x03" + zero, "claims to be 65535 x 65535"},
        {"x.qoi", qoi, "2 x 1"},
        {"x.tif", tiff_giant, "claims to be 65535 x 65535"},
        {"x.tif", tiff_tiles, "claims to be 65535 x 1"},
        {"x.webp", webp("VP8X", le32(0) + std::string("\xFF\x3F\0\xFF\x3F\0", 6)), "claims to be 16384 x 16384"},
        {"x.webp", webp("VP8L", "\x2F" + le32(0x0FFFFFFF)), "claims to be 16384 x 16384"},
        {"x.xcf", "gimp xcf file" + zero + be32(65535) + be32(65535) + be32(0), "claims to be 65535 x 65535"},
        {"x.lbm", lbm, "claims to be 65535 x 65535"},
        {"x.jpg", "\xFF\xD8\xFF\xC0" + u16(17, false) + "\x08" + u32(0xFFFFFFFF, false) + "\x03", "claims to be 65535 x 65535"},
        // Cut off before the size, or a format that cannot tell its size.
        {"x.gif", "GIF89a" + le16(1), "cut off"},
        {"x.gif", gif_1x1 + ",\0\0", "cut off"},
        {"x.ppm", "P6\n12000", "cut off"},
        {"x.tga", tga(1, 1).substr(0, 13), "cut off"},
        {"x.pcx", pcx_wide.substr(0, 12), "cut off"},
        {"x.qoi", "qoif" + be32(1), "cut off"},
        {"x.tif", tiff_giant.substr(0, 20), "cut off"},
        {"x.webp", webp("VP8X", le32(0)), "cut off"},
        {"x.xcf", "gimp xcf file" + zero + be32(1), "cut off"},
        {"x.lbm", lbm.substr(0, 30), "cut off"},
        {"x.xpm", "/* XPM */\nstatic char *x[] = {\"65535 65535 1 1\",", "not a picture in a format"},
        {"x.svg", "<svg width=\"100000\" height=\"100000\"/>", "not a picture in a format"},
    };
    const auto dir = std::filesystem::temp_directory_path() / ("memory-guard-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name + (" " + testing::PrintToString(bytes)));
        std::ofstream(dir / name, std::ios::binary) << bytes;
        const auto [outcome, grown_mb] = decode_in_child((dir / name).string());
        EXPECT_THAT(outcome, testing::HasSubstr(expected));
        EXPECT_LT(grown_mb, 100);
    }
    std::filesystem::remove_all(dir);
}

// Mended: a JPEG is shown as its Exif orientation says.
TEST(PictureGuard, AJpegIsTurnedAsItsExifSays) {
    SDL_Surface* stored = SDL_CreateRGBSurfaceWithFormat(0, 16, 8, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(stored, nullptr, SDL_MapRGB(stored->format, 0, 0, 255));
    const SDL_Rect left{0, 0, 8, 8};
    SDL_FillRect(stored, &left, SDL_MapRGB(stored->format, 255, 0, 0));  // red on the left, blue on the right
    std::vector<char> saved(4096);
    SDL_RWops* out = SDL_RWFromMem(saved.data(), static_cast<int>(saved.size()));
    ASSERT_EQ(IMG_SaveJPG_RW(stored, out, 0, 95), 0);
    saved.resize(static_cast<size_t>(SDL_RWtell(out)));
    SDL_RWclose(out);
    SDL_FreeSurface(stored);
    const std::string path = std::filesystem::temp_directory_path() / ("memory-exif-" + std::to_string(::getpid()) + ".jpg");
    // An orientation, the size shown and where the red half shows.
    const std::tuple<int, int, int, const char*> cases[] = {
        {1, 16, 8, "left"}, {3, 16, 8, "right"}, {6, 8, 16, "top"}, {8, 8, 16, "bottom"}};
    for (const auto& [orientation, width, height, red] : cases) {
        SCOPED_TRACE(orientation);
        const std::string exif = jpeg_with_exif(tiff(true, orientation));
        std::ofstream(path, std::ios::binary) << exif.substr(0, exif.size() - 2) << std::string(saved.begin() + 2, saved.end());
        std::string error;
        const PictureRef picture = decode_picture(path, error);
        ASSERT_NE(picture, nullptr) << error;
        EXPECT_EQ(picture->width(), width);
        EXPECT_EQ(picture->height(), height);
        auto* pixels = static_cast<SDL_Surface*>(picture->pixels().get());
        auto is_red = [pixels](int x, int y) {
            uint8_t r, g, b;
            SDL_GetRGB(static_cast<uint32_t*>(pixels->pixels)[y * pixels->pitch / 4 + x], pixels->format, &r, &g, &b);
            return r > 200 && b < 60;
        };
        const std::string shown = is_red(1, 1) ? (is_red(width - 2, height - 2) ? "all" : width > height ? "left" : "top")
                                               : (width > height ? "right" : "bottom");
        EXPECT_EQ(shown, red);
    }
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace mem::test
