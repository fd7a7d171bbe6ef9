#include "world/object_kinds.h"

#include "blob/wobblet.h"
#include "level/container.h"
#include "level/platform.h"
#include "level/terrain.h"
#include "shell/object.h"

namespace {
// Blob codes 1..5 select control index and style 0..4.
obj_parent* construct(int type) {
  if (type == TYPE_CONTAINER) return new obj_container;
  if (type == TYPE_PLATFORM) return new obj_platform;
  if (type >= TYPE_BLOB_FIRST && type <= TYPE_BLOB_LAST) {
    auto* blob = new obj_wobblet;
    blob->setStyle(type - 1, type - 1);
    return blob;
  }
  return nullptr;
}
}  // namespace

void install_blob_demo_kinds() { install_object_kinds({construct, freeCollisions}); }
