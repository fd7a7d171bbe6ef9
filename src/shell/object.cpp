#include "shell/object.h"

#include <cstdio>
#include <cstdlib>

obj_parent* start_obj = nullptr;

namespace {
bool container_made = false;
object_kinds kinds{};

// The list's tail, kept so that appending costs the same however long the
// list is (a level file can place 32,640 objects). Code and tests may set
// start_obj themselves, to empty the list or to hang in a list of their own;
// the tail is trusted only while the head it was found under is still the
// head and nothing hangs after it, and is found again by one walk otherwise.
obj_parent* tail = nullptr;
obj_parent* tail_head = nullptr;  // start_obj when tail was last right

obj_parent* list_tail() {
  if (!start_obj) return nullptr;
  obj_parent* from = tail && tail_head == start_obj ? tail : start_obj;
  while (from->next) from = from->next;
  return from;
}

void append_to_list(obj_parent* object) {
  object->next = nullptr;
  if (obj_parent* last = list_tail())
    last->next = object;
  else
    start_obj = object;
  tail = object;
  tail_head = start_obj;
}
}  // namespace

void install_object_kinds(const object_kinds& installed) { kinds = installed; }

void free_shared_world() {
  if (kinds.free_shared_world) kinds.free_shared_world();
}

obj_parent* instance_create(int x, int y, int type) {
  if (type == TYPE_CONTAINER) {
    if (container_made) return nullptr;
    container_made = true;
  }
  if (!kinds.construct) {
    std::fputs("instance_create: install the object kinds (world/object_kinds.h) first\n", stderr);
    std::abort();
  }
  obj_parent* object = kinds.construct(type);
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
  tail = nullptr;
  tail_head = nullptr;
  container_made = false;
}
