// synthlevel: writes large level files made to order, to play or to time.
//
//   synthlevel terrain OUT.map TRIANGLES [BLOBS [CRATES]]
//       rolling ground of TRIANGLES triangles (1..10880) with BLOBS blobs
//       (default 5) and CRATES crates (default 2) on it
//   synthlevel huge OUT.map COPIES
//       COPIES (1..10880) copies of one triangle over the whole range
//   synthlevel random OUT.map BYTES SEED
//       BYTES seeded random bytes: what a damaged or hostile file looks like
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/version.h"
#include "synthetic_level.h"

namespace {
constexpr const char* USAGE =
    "usage: synthlevel terrain OUT.map TRIANGLES [BLOBS [CRATES]]\n"
    "         rolling ground of TRIANGLES triangles (1..10880) with BLOBS blobs (default 5)\n"
    "         and CRATES crates (default 2) on it\n"
    "       synthlevel huge OUT.map COPIES\n"
    "         COPIES (1..10880) copies of one triangle over the whole range\n"
    "       synthlevel random OUT.map BYTES SEED\n"
    "         BYTES seeded random bytes: what a damaged or hostile file looks like";
// A count is a number triple, so a file holds at most LEVEL_COORD_MAX
// vertices (10,880 whole triangles) and as many objects.
constexpr int MAX_TRIANGLES = LEVEL_COORD_MAX / 3;
constexpr int MAX_OBJECTS = LEVEL_COORD_MAX;

int usage() {
  std::fprintf(stderr, "%s\n", USAGE);
  return 2;
}

bool whole_number(const char* text, long long low, long long high, long long& out) {
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && out >= low && out <= high;
}

int write_file(const char* path, const std::vector<std::uint8_t>& bytes) {
  FILE* file = std::fopen(path, "wb");
  bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file && std::fclose(file) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "synthlevel: cannot write the level: %s (%s)\n", std::strerror(errno),
                 path);
    return 1;
  }
  return 0;
}

int make_terrain(int argc, char** argv) {
  long long triangles = 0, blobs = 5, crates = 2;
  if (argc < 4 || argc > 6 || !whole_number(argv[3], 1, MAX_TRIANGLES, triangles) ||
      (argc > 4 && !whole_number(argv[4], 0, MAX_OBJECTS, blobs)) ||
      (argc > 5 && !whole_number(argv[5], 0, MAX_OBJECTS - blobs, crates)))
    return usage();
  synthetic_request request{static_cast<int>(triangles), static_cast<int>(blobs),
                            static_cast<int>(crates)};
  return write_file(argv[2], encode_level(synthetic_level(request)));
}

int make_huge(int argc, char** argv) {
  long long copies = 0;
  if (argc != 4 || !whole_number(argv[3], 1, MAX_TRIANGLES, copies)) return usage();
  return write_file(argv[2], encode_level(huge_triangles(static_cast<int>(copies))));
}

int make_random(int argc, char** argv) {
  long long size = 0, seed = 0;
  if (argc != 5 || !whole_number(argv[3], 1, 1LL << 30, size) ||
      !whole_number(argv[4], 0, (1LL << 62), seed))
    return usage();
  return write_file(argv[2], random_level_bytes(static_cast<std::size_t>(size),
                                                static_cast<std::uint64_t>(seed)));
}
}  // namespace

int main(int argc, char** argv) {
  if (answered_version(argc, argv, "synthlevel")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("%s\n", USAGE);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "terrain") == 0) return make_terrain(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "huge") == 0) return make_huge(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "random") == 0) return make_random(argc, argv);
  return usage();
}
