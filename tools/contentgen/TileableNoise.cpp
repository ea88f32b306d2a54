#include "tools/contentgen/TileableNoise.h"

#include <cmath>

namespace {

std::uint32_t Mix(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int Wrap(int i, int period)
{
    const int r = i % period;
    return r < 0 ? r + period : r;
}

float Smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

float TileableNoise::Hash(int ix, int iy, std::uint32_t salt) const
{
    std::uint32_t h = Mix(m_seed ^ 0x9e3779b9U);
    h = Mix(h ^ static_cast<std::uint32_t>(ix));
    h = Mix(h ^ static_cast<std::uint32_t>(iy) * 0x27d4eb2dU);
    h = Mix(h ^ salt * 0x165667b1U);
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

float TileableNoise::Value(float x, float y, int periodX, int periodY) const
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int x0 = Wrap(static_cast<int>(fx), periodX);
    const int y0 = Wrap(static_cast<int>(fy), periodY);
    const int x1 = Wrap(x0 + 1, periodX);
    const int y1 = Wrap(y0 + 1, periodY);
    const float tx = Smooth(x - fx);
    const float ty = Smooth(y - fy);
    const float top = Hash(x0, y0) + (Hash(x1, y0) - Hash(x0, y0)) * tx;
    const float bottom = Hash(x0, y1) + (Hash(x1, y1) - Hash(x0, y1)) * tx;
    return top + (bottom - top) * ty;
}

float TileableNoise::Fractal(float x, float y, int periodX, int periodY, int octaves, float persistence) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * Value(x, y, periodX, periodY);
        total += weight;
        weight *= persistence;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / total;
}

CellularSample TileableNoise::Cellular(float x, float y, int period) const
{
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    CellularSample sample{1e9f, 1e9f, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int ix = Wrap(cx + dx, period);
            const int iy = Wrap(cy + dy, period);
            const float px = static_cast<float>(cx + dx) + 0.1f + 0.8f * Hash(ix, iy, 1);
            const float py = static_cast<float>(cy + dy) + 0.1f + 0.8f * Hash(ix, iy, 2);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < sample.nearest) {
                sample.second = sample.nearest;
                sample.nearest = d;
                sample.cellId = static_cast<std::uint32_t>(iy * period + ix);
            } else if (d < sample.second) {
                sample.second = d;
            }
        }
    }
    return sample;
}
