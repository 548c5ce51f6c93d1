#pragma once

#include <cstdint>

namespace orvel {

// A well-mixed 32-bit hash of three values; the same input gives the same
// output on every machine, which keeps the pictures reproducible.
uint32_t Hash(uint32_t a, uint32_t b, uint32_t c);
// The hash mapped to 0..1.
float HashUnit(uint32_t a, uint32_t b, uint32_t c);

// Gradient noise on a lattice of periodX × periodY cells that wraps around:
// sampling x over 0..periodX and y over 0..periodY covers exactly one period,
// so a picture drawn that way tiles without seams. Roughly -1..1.
float PeriodicNoise(float x, float y, int periodX, int periodY, uint32_t seed);

// Octaves of PeriodicNoise at u, v (0..1 across the tile), the first with
// periodX × periodY cells, each further one with twice the cells and `gain`
// times the amplitude. Roughly -1..1.
float PeriodicFbm(float u, float v, int periodX, int periodY, int octaves, uint32_t seed,
                  float gain = 0.5f);

}  // namespace orvel
