#include "platform/media/picture_size.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include "platform/translation.h"

namespace mem {
namespace {

// Readers of the file's bytes; each returns 0 past the end, so a cut-off
// header reads as a picture of no size, which is refused.
struct Bytes {
    const std::string& s;
    uint32_t byte(uint64_t i) const { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; }
    uint32_t le16(uint64_t i) const { return byte(i) | byte(i + 1) << 8; }
    uint32_t be16(uint64_t i) const { return byte(i) << 8 | byte(i + 1); }
    uint32_t le24(uint64_t i) const { return le16(i) | byte(i + 2) << 16; }
    uint32_t le32(uint64_t i) const { return le16(i) | le16(i + 2) << 16; }
    uint32_t be32(uint64_t i) const { return be16(i) << 16 | be16(i + 2); }
    bool has(uint64_t i, const std::string& text) const {
        return i <= s.size() && s.compare(i, text.size(), text) == 0;
    }
};

bool ends_with_tga(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".tga") == 0;
}

// The chunk after the one at `at` of an LBM or WebP file: an identifier, a
// length and the data, padded to an even length.
uint64_t next_chunk(uint64_t at, uint64_t length) { return at + 8 + length + (length & 1); }

// The larger width and height of two claims: a file is judged by its largest frame.
ClaimedSize widest(ClaimedSize a, ClaimedSize b) { return {std::max(a.width, b.width), std::max(a.height, b.height)}; }

std::optional<ClaimedSize> bmp(const Bytes& h) {
    if (h.s.size() < 26) return std::nullopt;
    if (h.le32(14) == 12) return ClaimedSize{h.le16(18), h.le16(20)};  // the old OS/2 header
    // Heights are negative for top-down pictures.
    return ClaimedSize{std::llabs(static_cast<int32_t>(h.le32(18))), std::llabs(static_cast<int32_t>(h.le32(22)))};
}

std::optional<ClaimedSize> jpeg(const Bytes& h) {
    // Walk the markers up to the frame header, which holds the size.
    uint64_t i = 2;
    while (i + 9 <= h.s.size()) {
        if (h.byte(i) != 0xFF) return std::nullopt;
        const uint32_t marker = h.byte(i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return ClaimedSize{h.be16(i + 7), h.be16(i + 5)};
        // Markers without a length, as the decoder passes them over.
        const bool alone = marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
        i += alone ? 2 : 2 + h.be16(i + 2);
    }
    return std::nullopt;
}

// Mended: the decoder can crash on compressed data that no encoder writes (a
// code past the next free one, a first code that is no colour). True when
// every code in `data` is one a decoder can take; data that ends early is
// left to the decoder, which keeps what it has.
bool lzw_well_formed(const std::string& data, uint32_t code_size) {
    if (code_size < 2 || code_size > 8) return false;
    const uint32_t clear = 1u << code_size, end = clear + 1;
    uint32_t width = code_size + 1, next = end + 1;
    bool first = true;  // after a clear code: no string to extend yet
    uint64_t buffer = 0;
    uint32_t bits = 0;
    for (size_t at = 0;;) {
        for (; bits < width && at < data.size(); bits += 8)
            buffer |= uint64_t{static_cast<unsigned char>(data[at++])} << bits;
        if (bits < width) return true;
        const uint32_t code = buffer & ((1u << width) - 1);
        buffer >>= width;
        bits -= width;
        if (code == clear) {
            width = code_size + 1, next = end + 1, first = true;
            continue;
        }
        if (code == end) return true;
        if (first ? code >= clear : code > next) return false;
        if (!first && next < 4096 && ++next == 1u << width && width < 12) ++width;
        first = false;
    }
}

// Mended: the decoder makes each frame at the size of its own descriptor,
// not of the logical screen; every frame is read, as the decoder reads them
// (a byte that starts no block is passed over).
std::optional<ClaimedSize> gif(const Bytes& h) {
    if (h.s.size() < 13) return std::nullopt;
    ClaimedSize size{h.le16(6), h.le16(8)};
    auto colour_table = [&h](uint64_t flags_at) {
        return h.byte(flags_at) & 0x80 ? 3ULL << ((h.byte(flags_at) & 7) + 1) : 0;
    };
    std::string data;  // the sub-blocks' bytes, one after the other
    auto after_blocks = [&h, &data](uint64_t at) {
        data.clear();
        for (; at < h.s.size() && h.byte(at) != 0; at += 1 + h.byte(at)) data += h.s.substr(at + 1, h.byte(at));
        return at + 1;
    };
    for (uint64_t at = 13 + colour_table(10); at < h.s.size();) {
        const uint32_t introducer = h.byte(at);
        if (introducer == ';') break;
        if (introducer == '!') {
            at = after_blocks(at + 2);
        } else if (introducer == ',') {
            const uint64_t code_size_at = at + 10 + colour_table(at + 9);
            const ClaimedSize frame{h.le16(at + 5), h.le16(at + 7)};
            // After a frame it cannot make (no pixels, a code size it refuses) the decoder reads the frame's data
            // as stray bytes, and may find frames in it that are not found here: such a file is refused.
            if (code_size_at >= h.s.size() || !frame.width || !frame.height) return std::nullopt;
            size = widest(size, frame);
            at = after_blocks(code_size_at + 1);
            if (!lzw_well_formed(data, h.byte(code_size_at))) return std::nullopt;
        } else {
            ++at;
        }
    }
    return size;
}

// Every bitmap header before the body: the decoder takes the last.
std::optional<ClaimedSize> lbm(const Bytes& h) {
    std::optional<ClaimedSize> size;
    for (uint64_t at = 12; at + 8 <= h.s.size() && !h.has(at, "BODY"); at = next_chunk(at, h.be32(at + 4))) {
        if (!h.has(at, "BMHD")) continue;
        if (at + 12 > h.s.size()) return std::nullopt;
        size = widest(size.value_or(ClaimedSize{}), {h.be16(at + 8), h.be16(at + 10)});
    }
    return size;
}

std::optional<ClaimedSize> pcx(const Bytes& h) {
    if (h.s.size() < 128) return std::nullopt;
    // Signed corners, as the decoder reads them.
    auto corner = [&h](uint64_t i) { return static_cast<int16_t>(h.le16(i)); };
    return ClaimedSize{corner(8) - corner(4) + 1LL, corner(10) - corner(6) + 1LL};
}

// Two decimal numbers after "P1" to "P6", with blanks and # comments between.
std::optional<ClaimedSize> pnm(const Bytes& h) {
    uint64_t at = 2;
    auto number = [&]() -> std::optional<long long> {
        while (at < h.s.size() && (std::isspace(static_cast<unsigned char>(h.s[at])) || h.s[at] == '#')) {
            // A comment ends at either line end, as the decoder reads it.
            at = h.s[at] == '#' ? std::min<uint64_t>(h.s.find_first_of("\r\n", at), h.s.size()) : at + 1;
        }
        long long value = 0;
        const uint64_t start = at;
        for (; at < h.s.size() && std::isdigit(static_cast<unsigned char>(h.s[at])); ++at)
            value = std::min(value * 10 + (h.s[at] - '0'), 1LL << 40);
        if (at == start) return std::nullopt;
        return value;
    };
    const auto width = number();
    const auto height = number();
    if (!width || !height) return std::nullopt;
    return ClaimedSize{*width, *height};
}

// The first directory's width, height and tile size: the largest of each
// entry given, and nothing for one whose value is not a single whole number
// held in the entry.
std::optional<ClaimedSize> tiff(const Bytes& h) {
    const bool le = h.byte(0) == 'I';
    auto u16 = [&](uint64_t i) { return le ? h.le16(i) : h.be16(i); };
    auto u32 = [&](uint64_t i) { return le ? h.le32(i) : h.be32(i); };
    const uint64_t directory = u32(4);
    ClaimedSize size, tile;
    for (uint64_t n = 0, entry = directory + 2; n < u16(directory) && entry + 12 <= h.s.size(); ++n, entry += 12) {
        const uint32_t tag = u16(entry);
        if (tag != 256 && tag != 257 && tag != 322 && tag != 323) continue;
        const uint32_t type = u16(entry + 2);  // bytes, 16 or 32 bits, unsigned or signed
        if (u32(entry + 4) != 1) return std::nullopt;
        long long value = 0;
        if (type == 1 || type == 6) value = h.byte(entry + 8);
        else if (type == 3 || type == 8) value = u16(entry + 8);
        else if (type == 4 || type == 9) value = u32(entry + 8);
        else return std::nullopt;
        long long& side = tag == 256 ? size.width : tag == 257 ? size.height : tag == 322 ? tile.width : tile.height;
        side = std::max(side, value);
    }
    if (size.width == 0 || size.height == 0) return std::nullopt;
    return widest(size, tile);
}

// The canvas of an extended file and the frame of a lossy or lossless picture.
std::optional<ClaimedSize> webp(const Bytes& h) {
    std::optional<ClaimedSize> size;
    for (uint64_t at = 12; at + 8 <= h.s.size(); at = next_chunk(at, h.le32(at + 4))) {
        const uint64_t data = at + 8;
        const uint32_t lossless = h.le32(data + 1);  // 14 bits each of width and height, less 1
        ClaimedSize chunk;
        const uint64_t header = h.has(at, "VP8L") ? 5 : 10;
        if (h.has(at, "VP8X")) chunk = {1LL + h.le24(data + 4), 1LL + h.le24(data + 7)};
        else if (h.has(at, "VP8 ")) chunk = {h.le16(data + 6) & 0x3FFF, h.le16(data + 8) & 0x3FFF};
        else if (h.has(at, "VP8L")) chunk = {1LL + (lossless & 0x3FFF), 1LL + (lossless >> 14 & 0x3FFF)};
        else continue;
        if (data + header > h.s.size()) return std::nullopt;
        size = widest(size.value_or(ClaimedSize{}), chunk);
    }
    return size;
}

}  // namespace

PictureFormat picture_format(const std::string& file, const std::string& name) {
    const Bytes h{file};
    if (h.has(0, "BM")) return PictureFormat::kBmp;
    if (h.has(0, "GIF87a") || h.has(0, "GIF89a")) return PictureFormat::kGif;
    if (h.has(0, "\xFF\xD8")) return PictureFormat::kJpeg;
    if (h.has(0, "FORM") && (h.has(8, "PBM ") || h.has(8, "ILBM"))) return PictureFormat::kLbm;
    if (h.byte(0) == 0x0A && h.byte(1) == 5 && h.byte(2) <= 1 && file.size() >= 3) return PictureFormat::kPcx;
    if (h.has(0, "\x89PNG\r\n\x1a\n")) return PictureFormat::kPng;
    if (h.byte(0) == 'P' && h.byte(1) >= '1' && h.byte(1) <= '6' && std::isspace(static_cast<int>(h.byte(2))))
        return PictureFormat::kPnm;
    if (h.has(0, std::string("II*\0", 4)) || h.has(0, std::string("MM\0*", 4))) return PictureFormat::kTiff;
    if (h.has(0, "gimp xcf ")) return PictureFormat::kXcf;
    if (h.has(0, "RIFF") && h.has(8, "WEBP")) return PictureFormat::kWebp;
    if (h.has(0, "qoif")) return PictureFormat::kQoi;
    if (ends_with_tga(name)) return PictureFormat::kTga;
    return PictureFormat::kUnknown;
}

std::optional<ClaimedSize> claimed_picture_size(const std::string& file, PictureFormat format) {
    const Bytes h{file};
    switch (format) {
        case PictureFormat::kBmp: return bmp(h);
        case PictureFormat::kGif: return gif(h);
        case PictureFormat::kJpeg: return jpeg(h);
        case PictureFormat::kLbm: return lbm(h);
        case PictureFormat::kPcx: return pcx(h);
        case PictureFormat::kPng:
            if (file.size() < 24) return std::nullopt;
            return ClaimedSize{h.be32(16), h.be32(20)};
        case PictureFormat::kPnm: return pnm(h);
        case PictureFormat::kQoi:
            if (file.size() < 14) return std::nullopt;
            return ClaimedSize{h.be32(4), h.be32(8)};
        case PictureFormat::kTga:
            if (file.size() < 18) return std::nullopt;
            return ClaimedSize{h.le16(12), h.le16(14)};
        case PictureFormat::kTiff: return tiff(h);
        case PictureFormat::kWebp: return webp(h);
        case PictureFormat::kXcf:
            if (file.size() < 22) return std::nullopt;
            return ClaimedSize{h.be32(14), h.be32(18)};
        case PictureFormat::kUnknown: break;
    }
    return std::nullopt;
}

std::string picture_refusal(const std::string& file, PictureFormat format) {
    if (format == PictureFormat::kUnknown) return tr("the file is not a picture in a format the game reads");
    if (!png_complete(file)) return tr("the PNG file ends before its last chunk");
    const auto size = claimed_picture_size(file, format);
    if (!size || size->width <= 0 || size->height <= 0) return tr("the picture's header is cut off or unreadable");
    if (size->width > kMaxPictureSide || size->height > kMaxPictureSide ||
        size->width * size->height > kMaxPicturePixels)
        return format_text(tr("the picture claims to be %d x %d pixels, more than a game can use"),
                           static_cast<int>(size->width), static_cast<int>(size->height));
    return "";
}

bool png_complete(const std::string& file) {
    if (file.rfind("\x89PNG\r\n\x1a\n", 0) != 0) return true;
    const Bytes h{file};
    uint64_t at = 8;
    while (at + 12 <= file.size()) {
        if (h.has(at + 4, "IEND")) return true;
        at += 12 + static_cast<uint64_t>(h.be32(at));  // length, type, data and checksum
    }
    return false;
}

}  // namespace mem
