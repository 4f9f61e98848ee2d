// The readers of picture files: the header checks that keep a decoder from allocating what a hostile header
// claims, and the Exif orientation of camera pictures.
#include <SDL_image.h>
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fstream>

#include "platform/media/exif_orientation.h"
#include "platform/media/image_decoder.h"
#include "support/scratch.h"

namespace mem::test {
namespace {

std::string le16(uint32_t v) { return {char(v), char(v >> 8)}; }
std::string be16(uint32_t v) { return {char(v >> 8), char(v)}; }
std::string le32(uint32_t v) { return le16(v) + le16(v >> 16); }
std::string be32(uint32_t v) { return be16(v >> 16) + be16(v); }
const std::string zero(1, '\0');

// A JPEG head whose Exif block holds `tiff`, after a JFIF block.
std::string jpeg_with_exif(const std::string& tiff) {
    const std::string exif = "Exif" + zero + zero + tiff;
    return "\xFF\xD8\xFF\xE0" + be16(4) + "JF\xFF\xE1" + be16(2 + exif.size()) + exif + "\xFF\xDA";
}

// A first directory with a width entry, then the orientation entry of `type` and `value`.
std::string tiff(bool le, uint32_t value, uint32_t type = 3, uint32_t directory = 8, uint32_t entries = 2) {
    auto u16 = le ? le16 : be16;
    auto u32 = le ? le32 : be32;
    return (le ? "II*" + zero : "MM" + zero + "*") + u32(directory) + u16(entries) + u16(0x100) + u16(3) + u32(1) +
           u32(640) + u16(0x112) + u16(type) + u32(1) + u16(value) + u16(0) + u32(0);
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
            jpeg_with_exif(tiff(le, 6, 4)),  // a long, not a short
            jpeg_with_exif(tiff(le, 6, 3, 0xFFFFFFF0)), jpeg_with_exif(tiff(le, 6, 3, 0xFFFFFFFF)),  // far past the end
            // The entry count stops before the tag, or runs past the end.
            jpeg_with_exif(tiff(le, 6, 3, 8, 1)), jpeg_with_exif(tiff(le, 6, 3, 8, 0xFFFF).substr(0, 22)),
            "\xFF\xD8\xFF\xE1" + be16(0xFFFF) + "Exif" + zero + zero + tiff(le, 6).substr(0, 12),
            "\xFF\xD8\xFF\xE1" + be16(1) + "Exif",  // a length shorter than itself
            "\xFF\xD8\xFF\xDA" + six.substr(2), "\x89PNG" + six,  // after the picture data; not a JPEG
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
        ASSERT_TRUE(turned && (turned == stored) == (orientation == 1)) << orientation;
        std::string rows;
        for (int y = 0; y < turned->h; ++y, rows += '/')
            for (int x = 0; x < turned->w; ++x)
                rows += char(static_cast<uint8_t*>(turned->pixels)[y * turned->pitch + x * 3]);
        EXPECT_EQ(rows, shown[orientation - 1] + std::string("/")) << orientation;
        if (turned != stored) SDL_FreeSurface(turned);
    }
    SDL_FreeSurface(stored);
}

// Decodes in a child process: "W x H, opaque" (or see-through) or the refusal, and the MB the child grew by.
std::pair<std::string, long> decode_in_child(const std::string& path) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {"no pipe", 0};
    if (::fork() == 0) {
        rusage before{}, after{};
        ::getrusage(RUSAGE_SELF, &before);
        std::string error;
        const PictureRef picture = decode_picture(path, error);
        ::getrusage(RUSAGE_SELF, &after);
        const std::string report = std::to_string((after.ru_maxrss - before.ru_maxrss) / 1024) + " " +
            (!picture ? error : std::to_string(picture->width()) + " x " + std::to_string(picture->height()) +
                 (static_cast<SDL_Surface*>(picture->pixels().get())->format->Amask ? ", see-through" : ", opaque"));
        (void)!::write(pipe_ends[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipe_ends[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, size_t(n));
    ::close(pipe_ends[0]);
    ::wait(nullptr);
    const size_t space = report.find(' ');
    if (space == std::string::npos) return {"the child ended without a word", 0};
    return {report.substr(space + 1), std::stol(report.substr(0, space))};
}

std::string jpeg_16x8(int orientation) {
    SDL_Surface* stored = SDL_CreateRGBSurfaceWithFormat(0, 16, 8, 24, SDL_PIXELFORMAT_RGB24);
    std::vector<char> saved(4096);
    SDL_RWops* out = SDL_RWFromMem(saved.data(), int(saved.size()));
    if (IMG_SaveJPG_RW(stored, out, 0, 90) == 0) saved.resize(size_t(SDL_RWtell(out)));
    SDL_RWclose(out);
    SDL_FreeSurface(stored);
    const std::string head = jpeg_with_exif(tiff(true, orientation));
    return head.substr(0, head.size() - 2) + std::string(saved.begin() + 2, saved.end());
}

// Every format has its size checked before decoding, each GIF frame too; a header cut off, or a format whose size
// cannot be read first, is refused. Small pictures still decode, a JPEG turned as its Exif orientation says.
TEST(PictureDecoder, HostileHeadersAreRefusedBeforeTheyCostMemory) {
    const std::string gif_2x1 = "GIF89a" + le16(2) + le16(1) + "\x80" + zero + zero + std::string(6, '\xFF');
    const std::string gif_pause = "\x21\xF9\x04" + le32(0) + zero;
    // One frame of 2 pixels.
    auto gif_frame = [](int w, int h) { return "," + le32(0) + le16(w) + le16(h) + zero + "\2\2\4\n" + zero; };
    auto gif_hiding = [&](uint32_t width, char code_size) {
        return gif_2x1 + "," + le32(0) + le16(width) + le16(1) + zero + code_size + "\x0B," + le32(0) +
               le16(12000) + le16(12000) + zero + "\2" + zero + ";";
    };
    auto tga = [](uint32_t w, uint32_t h) {
        return zero + zero + "\2" + std::string(9, '\0') + le16(w) + le16(h) + "\x18" + zero;
    };
    const std::string pcx_wide =
        "\x0A\x05\x01\x08" + le16(0x8000) + le16(0) + le16(0x7FFF) + le16(0) + std::string(116, '\1');
    auto tiff_entry = [](uint32_t tag, uint32_t value) { return le16(tag) + le16(4) + le32(1) + le32(value); };
    // The decoder takes the first of two widths.
    const std::string tiff_giant = "II*" + zero + le32(8) + le16(3) + tiff_entry(256, 65535) +
                                   tiff_entry(257, 65535) + tiff_entry(256, 1);
    auto tiff_short = [](uint32_t tag, uint32_t v) { return be16(tag) + be16(3) + be32(1) + be16(v) + be16(0); };
    const std::string tiff_tiles = "MM" + zero + "*" + be32(8) + be16(3) + tiff_short(256, 1) + tiff_short(257, 1) +
                                   be16(322) + be16(4) + be32(1) + be32(65535);
    auto webp = [](const std::string& chunk, const std::string& data) {
        return "RIFF" + le32(12 + data.size()) + "WEBP" + chunk + le32(data.size()) + data;
    };
    // The decoder takes the last of two bitmap headers.
    auto bmhd = [](uint32_t sides) { return "BMHD" + be32(20) + be32(sides) + std::string(16, '\0'); };
    const std::string lbm = "FORM" + be32(40) + "ILBMANNO" + be32(3) + "abc" + zero + bmhd(0x10001) + bmhd(~0u);
    // Two pixels, the second with `alpha` when the picture has 4 channels.
    auto qoi = [](char channels, const std::string& alpha) {
        return "qoif" + be32(2) + be32(1) + channels + zero + "\xFE\x10\x20\x30\xFF\x40\x50\x60" + alpha +
               std::string(7, '\0') + "\1";
    };
    const std::string huge = "claims to be 65535 x 65535", big = "claims to be 12000 x 12000";
    // A file, its bytes, and its size when decoded or the words of its refusal.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"x.gif", "GIF89a" + le16(1) + le16(1) + zero + zero + zero + gif_frame(12000, 12000) + ";", big},
        {"x.gif", gif_2x1 + gif_frame(2, 1) + gif_pause + "stray" + gif_frame(1, 65535), "claims to be 2 x 65535"},
        {"x.gif", gif_2x1 + gif_frame(2, 1) + gif_pause + gif_frame(2, 1) + ";", "2 x 1, opaque"},
        {"x.ppm", "P6\n# a\r12000 # b\n 12000\n255\n" + std::string(20, '\0'), big},
        {"x.ppm", "P6\n# by hand\r2 1\n255\n" + std::string(6, '\x7F'), "2 x 1, opaque"},
        {"x.TGA", tga(65535, 65535), huge},
        {"x.tga", tga(2, 1) + std::string(6, '\x7F'), "2 x 1, opaque"},
        {"x.pcx", pcx_wide, "claims to be 65536 x 1"},
        {"x.qoi", "qoif" + be32(65535) + be32(65535) + "\3" + zero, huge},
        {"x.qoi", qoi('\3', "\xFF"), "2 x 1, opaque"}, {"x.qoi", qoi('\4', "\xFF"), "2 x 1, opaque"},
        {"x.qoi", qoi('\4', "\x80"), "2 x 1, see-through"},
        {"x.tif", tiff_giant, huge}, {"x.tif", tiff_tiles, "claims to be 65535 x 1"},
        {"x.webp", webp("VP8X", le32(0) + std::string("\xFF\x3F\0\xFF\x3F\0", 6)), "claims to be 16384 x 16384"},
        {"x.webp", webp("VP8L", "\x2F" + le32(0x0FFFFFFF)), "claims to be 16384 x 16384"},
        {"x.xcf", "gimp xcf file" + zero + be32(65535) + be32(65535) + be32(0), huge}, {"x.lbm", lbm, huge},
        {"x.jpg", "\xFF\xD8\xFF\xD0\xFF\xC0" + be16(17) + "\x08" + be32(~0u) + "\x03", huge},
        {"x.jpg", jpeg_16x8(6), "8 x 16, opaque"}, {"x.jpg", jpeg_16x8(3), "16 x 8, opaque"},
        // Cut off before the size, or a format that cannot tell its size.
        {"x.gif", "GIF89a" + le16(1), "cut off"}, {"x.gif", gif_2x1 + ",\0\0", "cut off"},
        // A frame the decoder cannot make (a code size it refuses, no pixels), after which it takes the data for a
        // frame of 12000 x 12000.
        {"x.gif", gif_hiding(2, '\x5F'), "cut off"}, {"x.gif", gif_hiding(0, '\2'), "cut off"},
        // A code past the next free one, on which the decoder crashes.
        {"x.gif", gif_2x1 + "," + le32(0) + le16(2) + le16(17) + zero + "\2\2!,\x0B^ETSCAPE2.0\3\1" + zero + zero,
         "cut off"},
        {"x.ppm", "P6\n12000", "cut off"}, {"x.tga", tga(1, 1).substr(0, 13), "cut off"},
        {"x.pcx", pcx_wide.substr(0, 12), "cut off"}, {"x.qoi", "qoif" + be32(1), "cut off"},
        {"x.tif", tiff_giant.substr(0, 20), "cut off"}, {"x.webp", webp("VP8X", le32(0)), "cut off"},
        {"x.xcf", "gimp xcf file" + zero + be32(1), "cut off"}, {"x.lbm", lbm.substr(0, 30), "cut off"},
        {"x.xpm", "/* XPM */\nstatic char *x[] = {\"65535 65535 1 1\",", "not a picture in a format"},
        {"x.svg", "<svg width=\"100000\" height=\"100000\"/>", "not a picture in a format"},
    };
    const ScratchDir scratch("memory-guard");
    const std::filesystem::path& dir = scratch.path;
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name + (" " + testing::PrintToString(bytes)));
        std::ofstream(dir / name, std::ios::binary) << bytes;
        const auto [outcome, grown_mb] = decode_in_child((dir / name).string());
        EXPECT_THAT(outcome, testing::HasSubstr(expected));
        EXPECT_LT(grown_mb, 100);
    }
    // A file larger than any picture is not read (a sparse file: it takes no room on disk).
    std::ofstream(dir / "x.bmp") << "BM";
    std::filesystem::resize_file(dir / "x.bmp", 1ULL << 30);
    EXPECT_THAT(decode_in_child((dir / "x.bmp").string()),
                testing::Pair(testing::HasSubstr("larger"), testing::Lt(100)));
}

}  // namespace
}  // namespace mem::test
