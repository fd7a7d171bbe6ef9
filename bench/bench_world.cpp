#include "bench_world.h"

#include "level/container.h"
#include "level/terrain.h"
#include "shell/object.h"
#include "shell/texture.h"
#include "shell/view.h"
#include "synthetic_level.h"

void load_world(const std::vector<std::uint8_t>& bytes) {
  unload_world();
  make_level(bytes.data(), bytes.size(), "benchmark level");
  view_x = -WINDOW_WIDTH / 2;
  view_y = -WINDOW_HEIGHT / 2;
}

void unload_world() {
  destroy_all_instances();
  freeCollisions();
}

std::vector<std::uint8_t> ground_level(int triangles, int blobs, int crates) {
  return encode_level(synthetic_level({triangles, blobs, crates}));
}

int blob_count() {
  int count = 0;
  for (obj_parent* o = start_obj; o; o = o->next)
    if (o->type >= TYPE_BLOB_FIRST && o->type <= TYPE_BLOB_LAST) ++count;
  return count;
}
