// Decoding and encoding of the level file, including every way a file can
// end early. Levels are written as literal bytes where the layout matters.
#include "level/level_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "level_encoder.h"

namespace {
using bytes = std::vector<std::uint8_t>;

level_data parse(const bytes& b) { return parse_level(b.data(), b.size()); }

// The 41-byte level: one triangle (0,0) red, (100,0) green, (0,100) blue, and
// one platform at (0, 0).
const bytes FORTY_ONE = {0x00, 0x01, 0x00, 0x03, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0xFF,
                         0x00, 0x00, 0x01, 0x00, 0x64, 0x01, 0x00, 0x00, 0x00, 0xFF, 0x00,
                         0x01, 0x00, 0x00, 0x01, 0x00, 0x64, 0x00, 0x00, 0xFF, 0x01, 0x00,
                         0x01, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00};

bytes vertex(std::uint8_t x_low, std::uint8_t y_low) { return {1, 0, x_low, 1, 0, y_low, 1, 2, 3}; }

bytes triangle_record(std::uint8_t base) {
  bytes t;
  for (int k = 0; k < 3; ++k) {
    bytes v = vertex(static_cast<std::uint8_t>(base + k), static_cast<std::uint8_t>(base + 10 + k));
    t.insert(t.end(), v.begin(), v.end());
  }
  return t;
}

bytes concat(std::initializer_list<bytes> parts) {
  bytes out;
  for (const bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
}  // namespace

TEST(MakeShort, DecodesTheBase255Triples) {
  auto decode = [](int s, int h, int l) {
    return makeShort(static_cast<std::int8_t>(s), static_cast<std::int8_t>(h),
                     static_cast<std::int8_t>(l));
  };
  EXPECT_EQ(decode(1, 0, 0), 0);
  EXPECT_EQ(decode(0, 0, 0), 0);
  EXPECT_EQ(decode(1, 1, 0), 255);
  EXPECT_EQ(decode(1, 2, 10), 520);
  EXPECT_EQ(decode(0, 2, 10), -520);
  EXPECT_EQ(decode(1, 0, 127), 127);
  EXPECT_EQ(decode(1, 0, 128), 127);
  EXPECT_EQ(decode(1, 0, 129), 128);
  EXPECT_EQ(decode(1, 0, 200), 199);
  EXPECT_EQ(decode(1, 127, 255), 32639);
  EXPECT_EQ(decode(1, 128, 0), -32640);
  EXPECT_EQ(decode(0, 128, 0), 32640) << "the largest a triple yields: LEVEL_COORD_MAX";
  EXPECT_EQ(decode(0, 1, 0), -255);
  EXPECT_EQ(decode(200, 0, 5), 5) << "any nonzero sign byte means positive";
}

TEST(EncodeNumber, EveryValueInRangeSurvivesTheRoundTrip) {
  for (int v = -LEVEL_COORD_MAX; v <= LEVEL_COORD_MAX; ++v) {
    std::uint8_t t[3];
    encode_number(v, t);
    ASSERT_EQ(makeShort(static_cast<std::int8_t>(t[0]), static_cast<std::int8_t>(t[1]),
                        static_cast<std::int8_t>(t[2])),
              v);
  }
}

TEST(ParseLevel, TheFortyOneByteLevel) {
  level_data level = parse(FORTY_ONE);
  EXPECT_FALSE(level.truncated);
  ASSERT_EQ(level.triangles.size(), 1u);
  const level_vertex* v = level.triangles[0].v;
  EXPECT_EQ(v[0].x, 0);
  EXPECT_EQ(v[0].y, 0);
  EXPECT_EQ(v[1].x, 100);
  EXPECT_EQ(v[1].y, 0);
  EXPECT_EQ(v[2].x, 0);
  EXPECT_EQ(v[2].y, 100);
  EXPECT_EQ(v[0].r, -1);  // 0xFF arrives as a signed byte and draws as 255
  EXPECT_EQ(v[1].g, -1);
  EXPECT_EQ(v[2].b, -1);
  EXPECT_EQ(v[0].g, 0);
  ASSERT_EQ(level.objects.size(), 1u);
  EXPECT_EQ(level.objects[0].type, 0);
  EXPECT_EQ(level.objects[0].x, 0);
  EXPECT_EQ(level.objects[0].y, 0);
}

TEST(ParseLevel, VertexCountIsRoundedUpToWholeTriangles) {
  bytes four = concat(
      {{0, 1, 0, 4}, triangle_record(1), triangle_record(20), {1, 0, 1}, {2, 1, 0, 5, 1, 0, 6}});
  level_data level = parse(four);
  EXPECT_EQ(level.triangles.size(), 2u);
  ASSERT_EQ(level.objects.size(), 1u);
  EXPECT_EQ(level.objects[0].type, 2);
  EXPECT_EQ(level.objects[0].x, 5);
  EXPECT_EQ(level.triangles[1].v[2].y, 32);
}

TEST(ParseLevel, NegativeOrZeroCountsReadNothing) {
  // V = -3: no triangle; the object count is read at offset 4.
  level_data level = parse({0, 0, 0, 3, 1, 0, 1, 1, 1, 0, 9, 1, 0, 8});
  EXPECT_TRUE(level.triangles.empty());
  ASSERT_EQ(level.objects.size(), 1u);
  EXPECT_EQ(level.objects[0].x, 9);
  level = parse({0, 1, 0, 0, 0, 0, 2});
  EXPECT_TRUE(level.triangles.empty());
  EXPECT_TRUE(level.objects.empty());
  EXPECT_FALSE(level.truncated);
}

TEST(ParseLevel, FirstByteAndTrailingBytesChangeNothing) {
  bytes other = FORTY_ONE;
  other[0] = 0xAB;
  other.push_back(10);
  other.push_back(0);
  level_data a = parse(FORTY_ONE), b = parse(other);
  EXPECT_EQ(b.triangles.size(), a.triangles.size());
  EXPECT_EQ(b.objects.size(), a.objects.size());
  EXPECT_FALSE(b.truncated);
}

TEST(ParseLevel, BytesZeroTenAndThirteenAreOrdinaryData) {
  // Coordinates with low bytes 10, 13 and 0, a colour of 10, and a file
  // that ends with a 10 or without one.
  bytes file = concat({{10, 1, 0, 3},
                       {1, 0, 10, 1, 0, 13, 10, 13, 0},
                       {1, 10, 0, 0, 0, 10, 0, 0, 0},
                       {1, 0, 13, 1, 13, 10, 13, 10, 10},
                       {1, 0, 1},
                       {1, 1, 0, 10, 1, 0, 10}});
  for (bool ends_in_ten : {true, false}) {
    bytes b = file;
    if (!ends_in_ten) b.back() = 13;
    level_data level = parse(b);
    ASSERT_EQ(level.triangles.size(), 1u);
    const level_vertex* v = level.triangles[0].v;
    EXPECT_EQ(v[0].x, 10);
    EXPECT_EQ(v[0].y, 13);
    EXPECT_EQ(v[0].r, 10);
    EXPECT_EQ(v[0].g, 13);
    EXPECT_EQ(v[1].x, 2550);
    EXPECT_EQ(v[1].y, -10);
    EXPECT_EQ(v[2].y, 3325);
    ASSERT_EQ(level.objects.size(), 1u);
    EXPECT_EQ(level.objects[0].y, ends_in_ten ? 10 : 13);
  }
}

TEST(ParseLevel, NeverReadsPastTheData) {
  // Every prefix of a valid file decodes to the whole records it holds.
  bytes file = concat({{0, 1, 0, 6},
                       triangle_record(1),
                       triangle_record(2),
                       {1, 0, 2},
                       {0, 1, 0, 1, 1, 0, 2},
                       {1, 1, 0, 3, 1, 0, 4}});
  for (std::size_t size = 0; size <= file.size(); ++size) {
    bytes prefix(file.begin(), file.begin() + static_cast<long>(size));
    level_data level = parse(prefix);
    std::size_t whole_triangles = size < 4 ? 0 : std::min<std::size_t>(2, (size - 4) / 27);
    EXPECT_EQ(level.triangles.size(), whole_triangles) << size;
    std::size_t objects_start = 4 + 54 + 3;
    std::size_t whole_objects =
        size < objects_start ? 0 : std::min<std::size_t>(2, (size - objects_start) / 7);
    EXPECT_EQ(level.objects.size(), whole_objects) << size;
    EXPECT_EQ(level.truncated, size != file.size()) << size;
  }
}

TEST(ParseLevel, DataEndingInsideTheTrianglesReadsNoObjectCount) {
  // V says 6 but only one triangle and a few bytes follow: those bytes are
  // the start of a triangle, not an object count.
  bytes file = concat({{0, 1, 0, 6}, triangle_record(1), {1, 0, 1, 1, 1, 0, 5, 1, 0, 5}});
  level_data level = parse(file);
  EXPECT_EQ(level.triangles.size(), 1u);
  EXPECT_TRUE(level.objects.empty());
  EXPECT_TRUE(level.truncated);
}

TEST(EncodeLevel, ParseGivesBackWhatWasEncoded) {
  level_data level;
  level.triangles.push_back(
      {{{-32639, 32639, -128, 0, 127}, {200, -200, 5, 6, 7}, {0, 0, -1, -2, -3}}});
  level.objects = {{0, 1, 2}, {5, -300, 400}, {-7, 0, 0}};
  bytes b = encode_level(level);
  EXPECT_EQ(b.size(), 4 + 27 + 3 + 3 * 7u);
  level_data back = parse(b);
  EXPECT_EQ(back.vertex_count, 3);
  ASSERT_EQ(back.triangles.size(), 1u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(back.triangles[0].v[k].x, level.triangles[0].v[k].x);
    EXPECT_EQ(back.triangles[0].v[k].y, level.triangles[0].v[k].y);
    EXPECT_EQ(back.triangles[0].v[k].r, level.triangles[0].v[k].r);
    EXPECT_EQ(back.triangles[0].v[k].b, level.triangles[0].v[k].b);
  }
  ASSERT_EQ(back.objects.size(), 3u);
  EXPECT_EQ(back.objects[1].x, -300);
  EXPECT_EQ(back.objects[2].type, -7);
  EXPECT_EQ(encode_level(back), b);
}
