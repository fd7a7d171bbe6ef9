// The levels the benchmarks measure: what was asked for, within what a file
// holds, the same every time, and playable (every blob and crate starts in
// the open, above ground it lands on).
#include "synthetic_level.h"

#include <gtest/gtest.h>

#include "level/terrain.h"

namespace {
void file_terrain(const level_data& level) {
  for (const level_triangle& t : level.triangles)
    addVertex(t.v[0].x, t.v[0].y, t.v[1].x, t.v[1].y, t.v[2].x, t.v[2].y);
}

std::uint64_t fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}
}  // namespace

TEST(SyntheticLevel, HoldsWhatWasAskedForInsideTheFileRangeAndStartsPlayable) {
  for (synthetic_request request : {synthetic_request{300, 1000, 0}, synthetic_request{10879, 5, 2},
                                    synthetic_request{1, 1, 1}}) {
    level_data level = synthetic_level(request);
    SCOPED_TRACE(request.triangles);
    std::vector<std::uint8_t> bytes = encode_level(level);
    EXPECT_EQ(bytes, encode_level(synthetic_level(request))) << "the same request, the same level";
    level_data read = parse_level(bytes.data(), bytes.size());
    ASSERT_EQ(read.triangles.size(), static_cast<std::size_t>(request.triangles));
    ASSERT_EQ(read.objects.size(), static_cast<std::size_t>(request.blobs + request.crates));
    EXPECT_FALSE(read.truncated);
    int crates = 0;
    for (const level_object& o : read.objects) crates += o.type == 0;
    EXPECT_EQ(crates, request.crates);
    for (const level_triangle& t : read.triangles)
      for (const level_vertex& v : t.v)
        ASSERT_TRUE(std::abs(v.x) <= LEVEL_COORD_MAX && std::abs(v.y) <= LEVEL_COORD_MAX);
    file_terrain(read);
    for (const level_object& o : read.objects) {
      int x = o.type == 0 ? o.x + 1 : o.x,
          y = o.type == 0 ? o.y + 32 : o.y;  // a crate: its bottom-left
      EXPECT_FALSE(collideAll(x, y))
          << "object at " << o.x << "," << o.y << " starts inside terrain";
      bool ground_below = false;
      for (int drop = 0; drop < 400 && !ground_below; ++drop)
        ground_below = collideAll(x, y + drop);
      EXPECT_TRUE(ground_below) << "nothing below the object at " << o.x << "," << o.y;
    }
    freeCollisions();
  }
}

TEST(SyntheticLevel, RandomBytesAndThePileAreFixedByTheirParameters) {
  EXPECT_EQ(random_level_bytes(1000, 9), random_level_bytes(1000, 9));
  EXPECT_NE(random_level_bytes(1000, 9), random_level_bytes(1000, 26));
  EXPECT_EQ(random_level_bytes(13, 9).size(), 13u);
  // The figures in bench/README.md name levels by their parameters: the
  // same parameters must give the same bytes in every build.
  EXPECT_EQ(fnv1a(random_level_bytes(1000, 9)), 16942713456536480344ull);
  EXPECT_EQ(fnv1a(encode_level(synthetic_level({300, 5, 2}))), 17030193722011083690ull);
  level_data pile = huge_triangles(10879);
  std::vector<std::uint8_t> bytes = encode_level(pile);
  level_data read = parse_level(bytes.data(), bytes.size());
  EXPECT_EQ(read.triangles.size(), 10879u);
  EXPECT_EQ(read.triangles.front().v[0].x, -PILE_EDGE);
  EXPECT_EQ(read.objects.size(), 5u);
}
