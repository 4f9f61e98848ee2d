#include "platform/media/wave_info.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>

#include "platform/files.h"

namespace mem {
namespace {

uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

std::optional<int> wave_length_ms(const std::string& path) {
    std::ifstream in(native_path(path), std::ios::binary);
    if (!in) return std::nullopt;
    unsigned char riff[12];
    if (!in.read(reinterpret_cast<char*>(riff), 12)) return std::nullopt;
    if (std::string(reinterpret_cast<char*>(riff), 4) != "RIFF" ||
        std::string(reinterpret_cast<char*>(riff + 8), 4) != "WAVE")
        return std::nullopt;
    uint32_t byte_rate = 0;
    // Walk the chunks: "fmt " gives the byte rate, "data" the length.
    for (int chunks = 0; chunks < 64; ++chunks) {
        unsigned char header[8];
        if (!in.read(reinterpret_cast<char*>(header), 8)) return std::nullopt;
        std::string id(reinterpret_cast<char*>(header), 4);
        uint32_t size = le32(header + 4);
        if (id == "fmt ") {
            unsigned char fmt[16];
            if (size < 16 || !in.read(reinterpret_cast<char*>(fmt), 16)) return std::nullopt;
            if (le16(fmt + 2) == 0) return std::nullopt;  // no channels
            byte_rate = le32(fmt + 8);
            in.seekg(size - 16 + (size & 1), std::ios::cur);
        } else if (id == "data") {
            if (byte_rate == 0) return std::nullopt;
            // Mended: a header may claim more sound than the file holds: only the
            // bytes that are there play.
            const std::streamoff here = in.tellg();
            in.seekg(0, std::ios::end);
            const auto present = static_cast<uint64_t>(std::max<std::streamoff>(in.tellg() - here, 0));
            const uint64_t ms = std::min<uint64_t>(size, present) * 1000 / byte_rate;
            return static_cast<int>(std::min<uint64_t>(ms, std::numeric_limits<int>::max()));
        } else {
            in.seekg(size + (size & 1), std::ios::cur);
        }
        if (!in) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace mem
