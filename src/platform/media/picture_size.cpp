#include "platform/media/picture_size.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

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
    bool has(uint64_t i, const std::string& text) const { return i <= s.size() && s.compare(i, text.size(), text) == 0; }
};

bool ends_with_tga(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".tga") == 0;
}

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
        i += 2 + h.be16(i + 2);
    }
    return std::nullopt;
}

// Mended: the decoder makes each frame at the size of its own descriptor,
// not of the logical screen; every frame is read, as the decoder reads them
// (a byte that starts no block is passed over).
std::optional<ClaimedSize> gif(const Bytes& h) {
    if (h.s.size() < 13) return std::nullopt;
    ClaimedSize size{h.le16(6), h.le16(8)};
    auto colour_table = [&h](uint64_t flags_at) { return h.byte(flags_at) & 0x80 ? 3ULL << ((h.byte(flags_at) & 7) + 1) : 0; };
    auto after_blocks = [&h](uint64_t at) {
        while (at < h.s.size() && h.byte(at) != 0) at += 1 + h.byte(at);
        return at + 1;
    };
    for (uint64_t at = 13 + colour_table(10); at < h.s.size();) {
        const uint32_t introducer = h.byte(at);
        if (introducer == ';') break;
        if (introducer == '!') {
            at = after_blocks(at + 2);
        } else if (introducer == ',') {
            if (at + 10 > h.s.size()) return std::nullopt;
            size = widest(size, {h.le16(at + 5), h.le16(at + 7)});
            at = after_blocks(at + 10 + colour_table(at + 9) + 1);  // the code size byte, then the data
        } else {
            ++at;
        }
    }
    return size;
}

std::optional<ClaimedSize> lbm(const Bytes& h) {
    // Chunks of an identifier, a length and the data, each padded to an even length.
    for (uint64_t at = 12; at + 8 <= h.s.size() && !h.has(at, "BODY"); at += 8 + h.be32(at + 4) + (h.be32(at + 4) & 1))
        if (h.has(at, "BMHD")) return ClaimedSize{h.be16(at + 8), h.be16(at + 10)};
    return std::nullopt;
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

// The first directory's width, height and tile size, 16 or 32 bits each.
std::optional<ClaimedSize> tiff(const Bytes& h) {
    const bool le = h.byte(0) == 'I';
    auto u16 = [&](uint64_t i) { return le ? h.le16(i) : h.be16(i); };
    auto u32 = [&](uint64_t i) { return le ? h.le32(i) : h.be32(i); };
    const uint64_t directory = u32(4);
    ClaimedSize size, tile;
    for (uint64_t n = 0, entry = directory + 2; n < u16(directory) && entry + 12 <= h.s.size(); ++n, entry += 12) {
        const uint32_t type = u16(entry + 2);
        const long long value = type == 3 ? u16(entry + 8) : type == 4 ? u32(entry + 8) : 0;
        switch (u16(entry)) {
            case 256: size.width = value; break;
            case 257: size.height = value; break;
            case 322: tile.width = value; break;
            case 323: tile.height = value; break;
        }
    }
    if (size.width == 0 || size.height == 0) return std::nullopt;
    return widest(size, tile);
}

// The canvas of an extended file and the frame of a lossy or lossless picture.
std::optional<ClaimedSize> webp(const Bytes& h) {
    std::optional<ClaimedSize> size;
    for (uint64_t at = 12; at + 8 <= h.s.size(); at += 8 + h.le32(at + 4) + (h.le32(at + 4) & 1)) {
        const uint64_t data = at + 8;
        ClaimedSize chunk;
        uint64_t header = 10;
        if (h.has(at, "VP8X")) chunk = {1LL + h.le24(data + 4), 1LL + h.le24(data + 7)};
        else if (h.has(at, "VP8 ")) chunk = {h.le16(data + 6) & 0x3FFF, h.le16(data + 8) & 0x3FFF};
        else if (h.has(at, "VP8L")) chunk = {1LL + (h.le32(data + 1) & 0x3FFF), 1LL + (h.le32(data + 1) >> 14 & 0x3FFF)}, header = 5;
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
