#include "tools/contentgen/TextureLibrary.h"

#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/SunShading.h"
#include "tools/contentgen/TileableNoise.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

struct Rgb {
    float r, g, b;
};

Rgb operator*(const Rgb& c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

Rgb Mix(const Rgb& a, const Rgb& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb FromBytes(int r, int g, int b)
{
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

float Clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

float SmoothStep(float edge0, float edge1, float x)
{
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float Sin(float radians)
{
    return static_cast<float>(PortableSin(radians));
}

// Fills a texture pixel by pixel; colours are clamped and rounded to bytes here.
cv::Mat Paint(int width, int height, const std::function<Rgb(int x, int y)>& shader)
{
    cv::Mat image(height, width, CV_8UC3);
    for (int y = 0; y < height; ++y) {
        auto* row = image.ptr<cv::Vec3b>(y);
        for (int x = 0; x < width; ++x) {
            const Rgb c = shader(x, y);
            row[x] = cv::Vec3b(static_cast<uchar>(Clamp01(c.b) * 255.0f + 0.5f),
                               static_cast<uchar>(Clamp01(c.g) * 255.0f + 0.5f),
                               static_cast<uchar>(Clamp01(c.r) * 255.0f + 0.5f));
        }
    }
    return image;
}

constexpr int kSize = 256;

// Coordinates of a pixel in lattice cells of a noise with `period` cells across the tile.
float Cells(int pixel, int period, int size = kSize)
{
    return static_cast<float>(pixel) * static_cast<float>(period) / static_cast<float>(size);
}

cv::Mat Stone()
{
    const TileableNoise noise(11);
    const int rows = 8;
    const int rowHeight = kSize / rows;
    return Paint(kSize, kSize, [&](int x, int y) {
        const int row = y / rowHeight;
        const int blocks = 3 + static_cast<int>(noise.Hash(row, 0, 7) * 2.0f);
        const int offset = static_cast<int>(noise.Hash(row, 0, 8) * kSize);
        const int local = (x - offset + kSize) % kSize;
        int block = 0;
        float left = 0.0f;
        float right = static_cast<float>(kSize);
        for (int k = 1; k < blocks; ++k) {
            const float edge = (k + 0.4f * (noise.Hash(row, k, 9) - 0.5f)) * kSize / blocks;
            if (local >= edge) {
                block = k;
                left = edge;
            } else {
                right = edge;
                break;
            }
        }
        const float fx = static_cast<float>(local);
        const float fy = static_cast<float>(y - row * rowHeight);
        const float edgeDistance =
            std::min(std::min(fx - left, right - fx), std::min(fy + 0.5f, rowHeight - fy - 0.5f));
        const float wobble = 1.2f * noise.Fractal(Cells(x, 32), Cells(y, 32), 32, 3);
        const float grain = noise.Fractal(Cells(x, 16), Cells(y, 16), 16, 5);
        const float pits = noise.Hash(x, y, 3);
        if (edgeDistance < 1.2f + wobble) {
            const Rgb mortar = FromBytes(118, 112, 100);
            return mortar * (0.8f + 0.3f * grain);
        }
        const float tone = 0.82f + 0.32f * noise.Hash(row, block, 10);
        const Rgb warm = FromBytes(150, 140, 124);
        const Rgb cool = FromBytes(128, 130, 132);
        const Rgb base = Mix(warm, cool, noise.Hash(row, block, 11));
        const float bevel = 0.78f + 0.22f * SmoothStep(0.0f, 5.0f, edgeDistance);
        const float shade = tone * bevel * (0.78f + 0.4f * grain) * (0.93f + 0.1f * pits);
        const float dirt = SmoothStep(0.55f, 0.8f, noise.Fractal(Cells(x, 4), Cells(y, 4), 4, 4));
        return Mix(base * shade, FromBytes(80, 78, 64) * shade, 0.5f * dirt);
    });
}

cv::Mat MossyWall()
{
    const TileableNoise noise(23);
    return Paint(kSize, kSize, [&](int x, int y) {
        const CellularSample cell = noise.Cellular(Cells(x, 7), Cells(y, 7), 7);
        const float crack = cell.second - cell.nearest;
        const float grain = noise.Fractal(Cells(x, 16), Cells(y, 16), 16, 5);
        const float wobble = 0.05f * noise.Fractal(Cells(x, 24), Cells(y, 24), 24, 2);
        const Rgb stoneA = FromBytes(132, 126, 112);
        const Rgb stoneB = FromBytes(112, 108, 104);
        const float tone = 0.8f + 0.35f * noise.Hash(static_cast<int>(cell.cellId), 0, 5);
        const float bulge = 0.7f + 0.3f * SmoothStep(0.0f, 0.35f, crack);
        Rgb colour = Mix(stoneA, stoneB, noise.Hash(static_cast<int>(cell.cellId), 0, 6)) *
            (tone * bulge * (0.8f + 0.35f * grain));
        if (crack < 0.07f + wobble)
            colour = FromBytes(62, 60, 50) * (0.8f + 0.4f * grain);
        const float mossField =
            noise.Fractal(Cells(x, 4), Cells(y, 4), 4, 5) + 0.18f * (1.0f - SmoothStep(0.0f, 0.18f, crack));
        const float moss = SmoothStep(0.52f, 0.66f, mossField);
        const float tuft = noise.Hash(x, y, 4);
        const Rgb mossColour = Mix(FromBytes(62, 86, 34), FromBytes(104, 122, 52), tuft);
        return Mix(colour, mossColour * (0.8f + 0.3f * grain), moss * 0.9f);
    });
}

cv::Mat Grass()
{
    const TileableNoise noise(37);
    return Paint(kSize, kSize, [&](int x, int y) {
        const float patches = noise.Fractal(Cells(x, 6), Cells(y, 6), 6, 5);
        const float dry = SmoothStep(0.6f, 0.75f, noise.Fractal(Cells(x, 3), Cells(y, 3), 3, 4));
        const float blades = noise.Hash(x, y, 1);
        const float clumps = noise.Value(Cells(x, 64), Cells(y, 64), 64);
        const Rgb lush = FromBytes(66, 104, 40);
        const Rgb pale = FromBytes(122, 128, 64);
        const Rgb base = Mix(lush, pale, 0.6f * dry);
        return base * ((0.72f + 0.45f * patches) * (0.75f + 0.25f * clumps + 0.22f * blades));
    });
}

cv::Mat Gravel()
{
    const TileableNoise noise(41);
    return Paint(kSize, kSize, [&](int x, int y) {
        // Two sizes of pebble over a sandy ground.
        const CellularSample large = noise.Cellular(Cells(x, 18), Cells(y, 18), 18);
        const CellularSample small = noise.Cellular(Cells(x, 40), Cells(y, 40), 40);
        const float grit = noise.Hash(x, y, 3);
        const float patches = noise.Fractal(Cells(x, 5), Cells(y, 5), 5, 4);
        Rgb colour = Mix(FromBytes(150, 138, 114), FromBytes(126, 116, 98), patches) * (0.85f + 0.25f * grit);
        auto pebble = [&](const CellularSample& cell, float size, std::uint32_t salt) {
            const int id = static_cast<int>(cell.cellId);
            if (noise.Hash(id, 0, salt) < 0.35f || cell.nearest > size * (0.7f + 0.5f * noise.Hash(id, 0, salt + 1)))
                return;
            Rgb stone = Mix(FromBytes(184, 176, 160), FromBytes(140, 140, 138), noise.Hash(id, 0, salt + 2));
            stone = Mix(stone, FromBytes(170, 136, 100), 0.5f * noise.Hash(id, 0, salt + 3));
            const float rim = SmoothStep(0.0f, size, cell.nearest);
            colour = stone * ((1.0f - 0.35f * rim) * (0.9f + 0.15f * grit));
        };
        pebble(small, 0.5f, 10);
        pebble(large, 0.45f, 20);
        return colour;
    });
}

cv::Mat RoofTiles()
{
    const TileableNoise noise(53);
    const int rows = 8;
    const int rowHeight = kSize / rows;
    const int tileWidth = 32;
    return Paint(kSize, kSize, [&](int x, int y) {
        const int row = y / rowHeight;
        const int shifted = x + (row % 2) * (tileWidth / 2);
        const int tile = (shifted / tileWidth) % (kSize / tileWidth);
        const float across = static_cast<float>(shifted % tileWidth) / tileWidth;
        const float down = static_cast<float>(y % rowHeight) / rowHeight;
        const float round = 0.72f + 0.28f * (0.5f + 0.5f * Sin(2.0f * static_cast<float>(kPi) * (across - 0.25f)));
        const float overlap = 0.55f + 0.45f * SmoothStep(0.0f, 0.3f, down);
        const float lip = down > 0.92f ? 0.7f : 1.0f;
        const float tone = 0.8f + 0.35f * noise.Hash(row, tile, 1);
        const Rgb clay = Mix(FromBytes(168, 82, 52), FromBytes(150, 96, 66), noise.Hash(row, tile, 2));
        const float grain = noise.Fractal(Cells(x, 16), Cells(y, 16), 16, 4);
        Rgb colour = clay * (round * overlap * lip * tone * (0.85f + 0.25f * grain));
        const float lichen = SmoothStep(0.66f, 0.76f, noise.Fractal(Cells(x, 6), Cells(y, 6), 6, 5));
        return Mix(colour, FromBytes(128, 128, 96) * (0.8f + 0.3f * grain), 0.45f * lichen);
    });
}

cv::Mat Wood()
{
    const TileableNoise noise(67);
    const int plankWidth = 64;
    return Paint(kSize, kSize, [&](int x, int y) {
        const int plank = x / plankWidth;
        const float across = static_cast<float>(x % plankWidth);
        const float warp = noise.Fractal(Cells(x, 8), Cells(y, 2), 8, 2, 4);
        const float rings =
            Sin(2.0f * static_cast<float>(kPi) * (across * 0.09f + 4.0f * warp + 10.0f * noise.Hash(plank, 0, 1)));
        const float fibre = noise.Value(Cells(x, 128), Cells(y, 8), 128, 8);
        const float tone = 0.82f + 0.3f * noise.Hash(plank, 0, 2);
        const Rgb light = FromBytes(142, 100, 60);
        const Rgb dark = FromBytes(96, 62, 36);
        Rgb colour = Mix(dark, light, 0.5f + 0.5f * rings) * (tone * (0.85f + 0.2f * fibre));
        if (across < 2.0f || across > plankWidth - 1.0f)
            colour = FromBytes(42, 28, 18);
        const float weather = SmoothStep(0.55f, 0.8f, noise.Fractal(Cells(x, 4), Cells(y, 4), 4, 4));
        return Mix(colour, FromBytes(110, 104, 96), 0.2f * weather);
    });
}

cv::Mat Marble()
{
    const TileableNoise noise(71);
    return Paint(kSize, kSize, [&](int x, int y) {
        const float turbulence = noise.Fractal(Cells(x, 4), Cells(y, 4), 4, 6);
        const float phase =
            2.0f * static_cast<float>(kPi) * (static_cast<float>(x) / kSize + 2.0f * static_cast<float>(y) / kSize) +
            7.0f * turbulence;
        const float vein = 1.0f - std::fabs(Sin(phase));
        const float fine = SmoothStep(0.9f, 1.0f, vein);
        const float cloud = noise.Fractal(Cells(x, 8), Cells(y, 8), 8, 4);
        const Rgb white = FromBytes(226, 222, 212);
        const Rgb cream = FromBytes(214, 204, 186);
        const Rgb veinColour = FromBytes(128, 128, 136);
        const Rgb base = Mix(white, cream, cloud);
        return Mix(base, veinColour, 0.65f * fine + 0.15f * vein * vein);
    });
}

cv::Mat Bronze()
{
    const TileableNoise noise(83);
    return Paint(kSize, kSize, [&](int x, int y) {
        const float metal = noise.Fractal(Cells(x, 8), Cells(y, 8), 8, 5);
        const float patinaField =
            noise.Fractal(Cells(x, 4), Cells(y, 4), 4, 5) + 0.25f * noise.Fractal(Cells(x, 16), Cells(y, 2), 16, 2, 3);
        const float patina = SmoothStep(0.6f, 0.78f, patinaField);
        const Rgb bronze = Mix(FromBytes(96, 64, 34), FromBytes(150, 108, 58), metal);
        const Rgb verdigris = Mix(FromBytes(70, 132, 112), FromBytes(112, 164, 140), noise.Hash(x, y, 1));
        return Mix(bronze, verdigris, 0.85f * patina);
    });
}

cv::Mat Iron()
{
    const TileableNoise noise(97);
    const int size = 64;
    return Paint(size, size, [&](int x, int y) {
        const float metal = noise.Fractal(Cells(x, 4, size), Cells(y, 4, size), 4, 4);
        const float rust = SmoothStep(0.58f, 0.75f, noise.Fractal(Cells(x, 4, size), Cells(y, 8, size), 4, 8, 4));
        const Rgb iron = FromBytes(52, 52, 56) * (0.8f + 0.4f * metal);
        return Mix(iron, FromBytes(112, 62, 36), 0.8f * rust);
    });
}

cv::Mat StainedGlass()
{
    const TileableNoise noise(109);
    const int size = 128;
    static const Rgb palette[] = {FromBytes(40, 70, 170), FromBytes(170, 36, 40), FromBytes(214, 170, 50),
                                  FromBytes(50, 130, 70), FromBytes(90, 50, 140), FromBytes(60, 120, 190)};
    return Paint(size, size, [&](int x, int y) {
        const CellularSample cell = noise.Cellular(Cells(x, 5, size), Cells(y, 5, size), 5);
        if (cell.second - cell.nearest < 0.08f)
            return FromBytes(28, 26, 24);
        const int pick = static_cast<int>(noise.Hash(static_cast<int>(cell.cellId), 0, 1) * 6.0f);
        const float glow = 0.8f + 0.3f * noise.Fractal(Cells(x, 8, size), Cells(y, 8, size), 8, 3);
        return palette[pick] * glow;
    });
}

cv::Mat Foliage()
{
    const TileableNoise noise(113);
    const int size = 128;
    return Paint(size, size, [&](int x, int y) {
        const float clumps = noise.Fractal(Cells(x, 8, size), Cells(y, 8, size), 8, 4);
        const float leaves = noise.Hash(x, y, 1);
        const Rgb dark = FromBytes(30, 52, 30);
        const Rgb light = FromBytes(64, 92, 48);
        return Mix(dark, light, clumps) * (0.75f + 0.35f * leaves);
    });
}

// Zenith at the top row, horizon at the bottom; tiles only around the horizon.
cv::Mat Sky()
{
    const TileableNoise noise(101);
    const int width = 512;
    const int height = 256;
    return Paint(width, height, [&](int x, int y) {
        const float down = static_cast<float>(y) / (height - 1);
        const Rgb zenith = FromBytes(78, 118, 178);
        const Rgb horizon = FromBytes(196, 206, 216);
        const Rgb sky = Mix(zenith, horizon, down * down);
        // Clouds flatten towards the horizon, as seen in perspective.
        const float squash = 1.0f + 3.0f * down;
        const float field = noise.Fractal(Cells(x, 8, width), Cells(y, 4, height) * squash, 8, 64, 6);
        const float cover = SmoothStep(0.48f, 0.7f, field) * (1.0f - 0.5f * down);
        const float body = noise.Fractal(Cells(x, 16, width), Cells(y, 8, height) * squash, 16, 64, 4);
        const Rgb cloud = Mix(FromBytes(150, 154, 164), FromBytes(244, 244, 246), body);
        return Mix(sky, cloud, cover);
    });
}

}  // namespace

cv::Mat MakeSurfaceTexture(Surface surface)
{
    switch (surface) {
    case Surface::Stone: return Stone();
    case Surface::MossyWall: return MossyWall();
    case Surface::Grass: return Grass();
    case Surface::Gravel: return Gravel();
    case Surface::RoofTiles: return RoofTiles();
    case Surface::Wood: return Wood();
    case Surface::Marble: return Marble();
    case Surface::Bronze: return Bronze();
    case Surface::Iron: return Iron();
    case Surface::StainedGlass: return StainedGlass();
    case Surface::Foliage: return Foliage();
    case Surface::Sky: return Sky();
    }
    return Stone();
}

cv::Mat ShadeTexture(const cv::Mat& texture, int level)
{
    cv::Mat shaded;
    texture.convertTo(shaded, -1, ShadeFactor(level));
    return shaded;
}
