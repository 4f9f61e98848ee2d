#include "platform/media/picture_size.h"

#include <cstdint>
#include <cstdlib>

namespace mem {
namespace {

uint32_t byte(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }
uint32_t le16(const std::string& s, size_t i) { return byte(s, i) | byte(s, i + 1) << 8; }
uint32_t be16(const std::string& s, size_t i) { return byte(s, i) << 8 | byte(s, i + 1); }
uint32_t le32(const std::string& s, size_t i) { return le16(s, i) | le16(s, i + 2) << 16; }
uint32_t be32(const std::string& s, size_t i) { return be16(s, i) << 16 | be16(s, i + 2); }

std::optional<ClaimedSize> bmp(const std::string& h) {
    if (h.size() < 26) return std::nullopt;
    if (le32(h, 14) == 12) return ClaimedSize{le16(h, 18), le16(h, 20)};  // the old OS/2 header
    // Heights are negative for top-down pictures.
    return ClaimedSize{std::llabs(static_cast<int32_t>(le32(h, 18))), std::llabs(static_cast<int32_t>(le32(h, 22)))};
}

std::optional<ClaimedSize> jpeg(const std::string& h) {
    // Walk the markers up to the frame header, which holds the size.
    size_t i = 2;
    while (i + 9 <= h.size()) {
        if (byte(h, i) != 0xFF) return std::nullopt;
        const uint32_t marker = byte(h, i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return ClaimedSize{be16(h, i + 7), be16(h, i + 5)};
        i += 2 + be16(h, i + 2);
    }
    return std::nullopt;
}

}  // namespace

std::optional<ClaimedSize> claimed_picture_size(const std::string& h) {
    if (h.rfind("BM", 0) == 0) return bmp(h);
    if (h.rfind("\x89PNG\r\n\x1a\n", 0) == 0 && h.size() >= 24) return ClaimedSize{be32(h, 16), be32(h, 20)};
    if (h.rfind("GIF8", 0) == 0 && h.size() >= 10) return ClaimedSize{le16(h, 6), le16(h, 8)};
    if (h.rfind("\xFF\xD8", 0) == 0) return jpeg(h);
    return std::nullopt;
}

bool png_complete(const std::string& file) {
    if (file.rfind("\x89PNG\r\n\x1a\n", 0) != 0) return true;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint64_t length = be32(file, at);
        if (file.compare(at + 4, 4, "IEND") == 0) return true;
        at += 12 + length;  // length, type, data and checksum
    }
    return false;
}

}  // namespace mem
