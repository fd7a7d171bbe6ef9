// Whether a chain of a ring's edges meets itself, in O(n log n): a sweep
// from left to right that keeps the edges it crosses sorted from bottom to
// top and tests only edges that become neighbours in that order. If any two
// edges meet, the first place they do (in sweep order) is found, because
// just before it the two are neighbours, or become neighbours when an edge
// between them ends there. polygon.cpp builds the ring check on it.
#pragma once

#include <cstddef>
#include <vector>

#include "polygon.h"

// Sign of the turn a -> b -> c: 1 left, -1 right, 0 straight (64-bit exact).
int turn(const point2& a, const point2& b, const point2& c);

// Closed segments a-b and c-d share at least one point.
bool segments_meet(const point2& a, const point2& b, const point2& c, const point2& d);

// True when two edges of the chain made of the ring's first `edges` edges
// (edge i runs from point i to point i + 1) share a point, other than two
// neighbours sharing their common end. With `edges` equal to the ring's size
// the chain is the whole ring, whose last and first edges are neighbours.
// The chain must have no edge of length 0 and no two neighbours that run
// back along one line: ring_problem finds those first.
bool chain_meets_itself(const std::vector<point2>& ring, std::size_t edges);
