#include "shell/object.h"

#include "blob/wobblet.h"
#include "level/container.h"
#include "level/platform.h"

obj_parent* start_obj = nullptr;

namespace {
bool container_made = false;

// Constructs the object a type code names, or returns null for a code that
// names nothing. Blob codes 1..5 select control index and style 0..4.
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

void append_to_list(obj_parent* object) {
  if (!start_obj) {
    start_obj = object;
  } else {
    obj_parent* tail = start_obj;
    while (tail->next) tail = tail->next;
    tail->next = object;
  }
  object->next = nullptr;
}
}  // namespace

obj_parent* instance_create(int x, int y, int type) {
  if (type == TYPE_CONTAINER) {
    if (container_made) return nullptr;
    container_made = true;
  }
  obj_parent* object = construct(type);
  if (!object) return nullptr;
  object->type = type;
  object->x = static_cast<float>(x);
  object->y = static_cast<float>(y);
  object->create();
  // Only now, after create() may have made objects of its own, is the tail
  // found: those objects come first.
  append_to_list(object);
  return object;
}

void destroy_all_instances() {
  obj_parent* object = start_obj;
  while (object) {
    obj_parent* next = object->next;
    object->destroy();
    delete object;
    object = next;
  }
  start_obj = nullptr;
  container_made = false;
}
