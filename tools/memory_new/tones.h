#pragma once
// The game's short sounds, synthesised and written as 16-bit mono wave files.
#include <string>
#include <vector>

namespace mem::make {

constexpr int kSampleRate = 22050;

enum class Tone { Turn, Match, NoMatch, Good, Bad, Click };

// Samples from -1 to 1 at kSampleRate.
std::vector<float> synthesise(Tone tone);

// The wave file bytes of `samples`.
std::string wave_file(const std::vector<float>& samples);

}  // namespace mem::make
