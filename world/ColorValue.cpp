#include "world/ColorValue.h"

namespace {

std::uint32_t PackChannel(float value)
{
    if (value >= 1.0f)
        return 0xFF;
    if (value <= 0.0f)
        return 0x00;
    return static_cast<std::uint32_t>(value * 255.0f + 0.5f);
}

}  // namespace

std::uint32_t PackColor(const ColorValue& color)
{
    return (PackChannel(color.a) << 24) | (PackChannel(color.r) << 16) | (PackChannel(color.g) << 8) |
        PackChannel(color.b);
}
