// Loading levels into the game for the benchmarks, the way blobrun does:
// no window, no pictures, the game's own loader and step pass.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level_file.h"

// Loads a level from its file bytes: triangles, crates and blobs, with the
// view where the game starts it. Replaces whatever was loaded before.
void load_world(const std::vector<std::uint8_t>& bytes);

// Frees every object and triangle.
void unload_world();

// The synthetic rolling ground with `triangles` triangles and `blobs` blobs.
std::vector<std::uint8_t> ground_level(int triangles, int blobs, int crates = 0);

// How many blobs the loaded world holds.
int blob_count();
