// The readers of picture files: the Exif orientation of camera pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/media/exif_orientation.h"

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

}  // namespace
}  // namespace mem::test
