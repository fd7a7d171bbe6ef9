// The binary level file: how its numbers are encoded and what records it
// holds. Pure data handling with no game objects, so the level tool and the
// fuzz targets use exactly the decoding the game does. The game only reads
// level files; the level tool writes them (src/level/source/level_encoder.h).
//
// Layout: 1 unused byte; vertex count V; ceil(V/3) triangle records of 27
// bytes (three vertices of x, y, red, green, blue); object count N; N object
// records of 7 bytes (signed type code, x, y). Every count and coordinate is a
// "number triple" of sign, high and low bytes in base 255.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Decodes a number triple given as signed byte values. Any nonzero sign means
// positive. A negative low byte (stored 128..255) is raised by 255, so a
// stored 200 (-56) becomes 199: the encoder never writes 128 for a value.
int makeShort(int sign, int high, int low);

// The largest magnitude a triple decodes to, and so the limit of every
// coordinate and count: 255 * -128 with a zero sign byte gives +32,640, with
// any other -32,640. A level file holds at most 32,640 / 3 = 10,880
// triangles and 32,640 objects.
constexpr int LEVEL_COORD_MAX = 32640;
constexpr std::size_t TRIANGLE_RECORD_BYTES = 27;
constexpr std::size_t OBJECT_RECORD_BYTES = 7;

struct level_vertex {
  int x, y;
  int r, g, b;  // the file's bytes as signed values (-128..127)
};

struct level_triangle {
  level_vertex v[3];
};

struct level_object {
  int type;  // signed byte
  int x, y;
};

struct level_data {
  int vertex_count = 0;  // V as stored
  int object_count = 0;  // N as stored (0 when the file ends before it)
  std::vector<level_triangle> triangles;
  std::vector<level_object> objects;
  // How a level source names each object, one per object when a source was
  // read ("object 11 \"hero\" in layer \"things\""); empty for a level file,
  // which holds no names. Messages name objects by it.
  std::vector<std::string> object_names;
  // Set when a count reaches past the end of the data: only whole records
  // before that point were read.
  bool truncated = false;
  // Level sources only: the fewest triangles their polygons would have made
  // where they were not split, because the level could not hold them.
  std::size_t triangles_refused = 0;
};

// Decodes a level from its bytes, never reading past them.
level_data parse_level(const std::uint8_t* bytes, std::size_t size);
