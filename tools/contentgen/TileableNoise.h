#pragma once

#include <cstdint>

// Nearest and second-nearest distances to the feature points of cellular noise, and the
// identity of the nearest cell (stable, usable as a hash salt).
struct CellularSample {
    float nearest;
    float second;
    std::uint32_t cellId;
};

// Deterministic noise on an integer lattice that wraps with a given period, so that a texture
// sampled over exactly one period tiles without seams. Pure integer hashing and float
// arithmetic: the same seed gives the same bits on every run and machine.
class TileableNoise {
public:
    explicit TileableNoise(std::uint32_t seed) : m_seed(seed) {}

    // Uniform value in [0, 1) for a lattice point (wrapped by the caller) and a salt.
    float Hash(int ix, int iy, std::uint32_t salt = 0) const;
    // Smooth value noise in [0, 1]; x and y in lattice cells, wrapping every periodX cells
    // across and periodY cells down.
    float Value(float x, float y, int periodX, int periodY) const;
    float Value(float x, float y, int period) const { return Value(x, y, period, period); }
    // Sum of `octaves` value-noise layers, each with twice the frequency and `persistence`
    // times the weight of the one before; normalised to [0, 1].
    float Fractal(float x, float y, int periodX, int periodY, int octaves, float persistence = 0.5f) const;
    float Fractal(float x, float y, int period, int octaves) const { return Fractal(x, y, period, period, octaves); }
    // Worley noise with one jittered feature point per cell; distances in cell units.
    CellularSample Cellular(float x, float y, int period) const;

private:
    std::uint32_t m_seed;
};
