// Writes the fixed scenes of tests/blob/data: the levels the determinism test
// runs through blobrun and the benchmark times. Run it only to change a
// scene (then regenerate the expected dumps with update_dumps.sh):
//   blob_make_scenes tests/blob/data
#include <cstdio>
#include <string>

#include "level_builder.h"

namespace {
// A blob dropped from above a flat floor: it falls, squashes and rests.
level_builder flat_drop() {
  level_builder b;
  b.box(-400, 100, 400, 200);
  b.object(1, 0, 0);
  return b;
}

// One controlled blob on a floor with a 45-degree ramp and a wall, for
// walking, jumping and pushing down.
level_builder walk_jump() {
  level_builder b;
  b.box(-600, 100, 600, 200);
  b.triangle(100, 100, 250, 100, 250, -50);  // ramp rising to the right
  b.box(250, -50, 300, 100);                 // the ramp's top, then a wall
  b.box(-620, -300, -600, 200);              // far left wall
  b.object(1, -200, 0);
  return b;
}

// Five blobs (one of each style), a moving crate and some slopes: control
// passes round with Tab.
level_builder five_blobs() {
  level_builder b;
  b.box(-700, 150, 700, 250);
  b.triangle(-700, 150, -500, 150, -700, 0);  // slope down to the right
  b.triangle(300, 150, 500, 150, 500, 70);    // gentle slope up to the right
  b.box(500, 70, 700, 150);
  b.object(1, -400, 60);
  b.object(2, -250, 100);
  b.object(0, -120, 110);  // the crate, starting just above the floor
  b.object(3, -90, 40);    // lands on the crate
  b.object(4, 100, 0);
  b.object(5, 250, 80);
  return b;
}

bool write(const std::string& path, const level_builder& level) {
  auto bytes = level.bytes();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: blob_make_scenes DIRECTORY\n");
    return 2;
  }
  std::string dir = argv[1];
  const struct {
    const char* name;
    level_builder level;
  } scenes[] = {{"flat_drop.map", flat_drop()},
                {"walk_jump.map", walk_jump()},
                {"five_blobs.map", five_blobs()}};
  for (const auto& s : scenes) {
    std::string path = dir + "/" + s.name;
    if (!write(path, s.level)) {
      std::fprintf(stderr, "blob_make_scenes: cannot write the level (%s)\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
