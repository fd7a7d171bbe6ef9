// The ring check as plainly as it can be written, pair by pair in O(n²):
// the reference the fast check is held against by the tests and the
// benchmarks. And rings to check: a saw-tooth ridge of any size.
#pragma once

#include <string>
#include <vector>

#include "polygon.h"

// What ring_problem says of the ring, found by walking the edges in order
// and testing each against every earlier one: the first edge that goes
// wrong by itself (length 0, folding back) or meets an earlier edge that is
// not its neighbour, and the first such earlier edge.
std::string plain_ring_problem(const std::vector<point2>& ring);

// A simple ring of `points` points (at least 4): a block whose top is a
// saw-tooth ridge of points - 2 corners, half of them convex. Any 40,000
// points fit in a level's coordinates.
std::vector<point2> sawtooth_ring(int points);
