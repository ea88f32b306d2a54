#pragma once

#include <cstdint>

// A colour as four floats, the form of materials and of the program's colour constants.
struct ColorValue {
    float r;
    float g;
    float b;
    float a;
};

// Packs a colour into 0xAARRGGBB: each channel is 255 at or above 1, 0 at or below 0, and
// otherwise the integer part of v * 255 + 0.5.
std::uint32_t PackColor(const ColorValue& color);

// Background of the 3D view: a light grey, also the fog colour.
inline constexpr ColorValue kClearColor = {0.6666667f, 0.6666667f, 0.6666667f, 0.0f};
// Text of the statistics overlay: opaque red.
inline constexpr ColorValue kOverlayColor = {1.0f, 0.0f, 0.0f, 1.0f};
