#pragma once
// Wave files of silence for tests that play sounds.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace mem::test {

// A mono 8-bit wave of silence, `ms` long.
inline void write_wave(const std::filesystem::path& path, int ms) {
    const uint32_t rate = 8000, bytes = rate * static_cast<uint32_t>(ms) / 1000;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + bytes);
    out << "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(rate), u32(rate), u16(1), u16(8);
    out << "data";
    u32(bytes);
    out << std::string(bytes, '\x80');
}

}  // namespace mem::test
