#include "theme.h"

namespace mem::make {
namespace {

const Theme kThemes[] = {
    {"ocean", {29, 59, 110}, {11, 24, 48}, {156, 196, 255}, {246, 241, 228}, {40, 40, 48}, {42, 74, 154}, {58, 98, 192}},
    {"forest", {38, 96, 52}, {12, 36, 20}, {180, 230, 150}, {244, 246, 232}, {36, 52, 30}, {46, 110, 58}, {84, 150, 80}},
    {"sunset", {200, 92, 60}, {70, 24, 72}, {255, 214, 140}, {255, 246, 232}, {70, 30, 40}, {150, 48, 70}, {220, 120, 70}},
    {"night", {40, 40, 52}, {8, 8, 14}, {240, 200, 90}, {236, 236, 240}, {30, 30, 40}, {36, 36, 60}, {200, 160, 60}},
};

}  // namespace

const Theme* find_theme(const std::string& name) {
    for (const Theme& theme : kThemes)
        if (name == theme.name) return &theme;
    return nullptr;
}

std::string theme_names() {
    std::string names;
    for (const Theme& theme : kThemes) names += (names.empty() ? "" : ", ") + std::string(theme.name);
    return names;
}

}  // namespace mem::make
