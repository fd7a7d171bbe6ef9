// Large levels made to order, for measuring how the game scales: the
// benchmarks build them in memory and synthlevel writes them to files, so
// anyone can play or time the very levels the benchmark table was made from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/level_file.h"
#include "level_encoder.h"

struct synthetic_request {
  int triangles = 10879;  // terrain triangles; a level file holds 10,880
  int blobs = 5;          // blobs resting above the first ground strip, styles in turn
  int crates = 2;         // crates above the first ground strip
};

// Rolling ground in strips of 40-pixel columns, each column two triangles
// from a wavy surface down to a flat bottom 200 pixels lower. Strips are at
// most 1,600 columns (64,000 pixels) wide; more triangles stack further
// strips 700 pixels apart, downward. Everything stays within the ±32,640
// pixels a level file holds. The same request always gives the same level.
level_data synthetic_level(const synthetic_request& request);

// `copies` copies of the triangle over the whole range a file holds (to a
// pixel: its corners lie at ±PILE_EDGE, where every figure in
// bench/README.md was measured), its long edge the diagonal from bottom left
// to top right, with five blobs falling onto that edge: the worst pile of
// overlapping triangles a file can hold.
constexpr int PILE_EDGE = 32639;
level_data huge_triangles(int copies);

// `count` bytes from a seeded generator: the file a fuzzer or a damaged disk
// might hand the game, the same for the same seed on every machine.
std::vector<std::uint8_t> random_level_bytes(std::size_t count, std::uint64_t seed);
