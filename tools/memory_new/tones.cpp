#include "tones.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace mem::make {
namespace {

enum class Shape { Pluck, Square, Noise };

// One note appended to `out`: a plucked string (sine with overtones, decaying),
// a soft square wave, or a burst of noise; short fades at both ends keep it
// free of clicks.
void note(std::vector<float>& out, double frequency, double seconds, Shape shape, double level) {
    const int count = static_cast<int>(seconds * kSampleRate);
    const int fade = std::min(count / 4, kSampleRate / 200);
    std::mt19937 noise(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double phase = 2 * M_PI * frequency * t;
        double v = 0;
        switch (shape) {
            case Shape::Pluck:
                v = (std::sin(phase) + 0.4 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase)) / 1.55 *
                    std::exp(-4.0 * t / seconds);
                break;
            case Shape::Square:
                v = (std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5) * 0.8 *
                    (1.0 - 0.6 * t / seconds);
                break;
            case Shape::Noise:
                v = uniform(noise) * std::exp(-6.0 * t / seconds);
                break;
        }
        const double edge = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - i) / fade});
        out.push_back(static_cast<float>(v * edge * level));
    }
}

double pitch(int semitones_from_a4) { return 440.0 * std::pow(2.0, semitones_from_a4 / 12.0); }

}  // namespace

std::vector<float> synthesise(Tone tone) {
    std::vector<float> s;
    const int c5 = 3, e5 = 7, g5 = 10, c6 = 15;
    switch (tone) {
        case Tone::Turn:
            note(s, 0, 0.05, Shape::Noise, 0.5);
            break;
        case Tone::Click:
            note(s, pitch(c6 + 12), 0.04, Shape::Pluck, 0.5);
            break;
        case Tone::Match:
            note(s, pitch(c5), 0.1, Shape::Pluck, 0.7);
            note(s, pitch(e5), 0.1, Shape::Pluck, 0.7);
            note(s, pitch(g5), 0.35, Shape::Pluck, 0.7);
            break;
        case Tone::NoMatch:
            note(s, 220, 0.15, Shape::Square, 0.35);
            note(s, 165, 0.3, Shape::Square, 0.35);
            break;
        case Tone::Good:
            for (int step : {c5, e5, g5}) note(s, pitch(step), 0.14, Shape::Pluck, 0.7);
            note(s, pitch(c6), 0.6, Shape::Pluck, 0.7);
            break;
        case Tone::Bad:
            for (double f : {392.0, 370.0, 349.0}) note(s, f, 0.3, Shape::Square, 0.3);
            note(s, 330, 0.7, Shape::Square, 0.3);
            break;
    }
    return s;
}

std::string wave_file(const std::vector<float>& samples) {
    std::string bytes;
    auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
    bytes += "RIFF";
    put(36 + data, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(kSampleRate, 4);
    put(kSampleRate * 2, 4);
    put(2, 2);
    put(16, 2);
    bytes += "data";
    put(data, 4);
    for (float v : samples) {
        const int sample = static_cast<int>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767));
        put(static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(sample))), 2);
    }
    return bytes;
}

}  // namespace mem::make
