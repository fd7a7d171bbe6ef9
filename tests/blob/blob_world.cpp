#include "blob_world.h"

#include <cmath>
#include <cstring>

#include "level/terrain.h"
#include "shell/angles.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"

void blob_world::reset() {
  destroy_all_instances();
  freeCollisions();
  view_x = 0;
  view_y = 0;
}

obj_wobblet* blob_world::add_blob(int code, int x, int y) {
  return dynamic_cast<obj_wobblet*>(instance_create(x, y, code));
}

obj_platform* blob_world::add_platform(int x, int y) {
  return dynamic_cast<obj_platform*>(instance_create(x, y, TYPE_PLATFORM));
}

void blob_world::add_box(int left, int top, int right, int bottom) {
  addVertex(left, top, right, top, left, bottom);
  addVertex(right, top, right, bottom, left, bottom);
}

void blob_world::step_all(int ticks) {
  for (int t = 0; t < ticks; ++t) step_pass();
}

namespace {
SDL_Event key_event(SDLKey key, Uint8 type) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = type;
  event.key.keysym.sym = key;
  return event;
}
}  // namespace

void blob_world::press(SDLKey key) { dispatch_event(key_event(key, SDL_KEYDOWN)); }
void blob_world::release(SDLKey key) { dispatch_event(key_event(key, SDL_KEYUP)); }

void settle_on_circle(obj_wobblet& blob) {
  for (int i = 0; i <= blob.point_count; ++i) {
    double angle = (i % blob.point_count) * 18.0;
    blob.rim_x[i] = static_cast<double>(blob.x) + lengthdir_x(blob.radius, angle);
    blob.rim_y[i] = static_cast<double>(blob.y) + lengthdir_y(blob.radius, angle);
    blob.rim_speed[i] = 0;
    blob.rim_direction[i] = 0;
  }
  blob.speed = 0;
}

namespace {
bool sane_value(double v) { return std::isfinite(v) && std::fabs(v) < 1e6; }
}  // namespace

::testing::AssertionResult blob_sane(const obj_wobblet& b) {
  if (!sane_value(b.x) || !sane_value(b.y) || !sane_value(b.speed) || !sane_value(b.direction) ||
      !sane_value(b.prev_x) || !sane_value(b.prev_y))
    return ::testing::AssertionFailure() << "centre (" << b.x << ", " << b.y << ") speed "
                                         << b.speed << " direction " << b.direction;
  for (int i = 0; i <= b.point_count; ++i)
    if (!sane_value(b.rim_x[i]) || !sane_value(b.rim_y[i]) || !sane_value(b.rim_speed[i]) ||
        !sane_value(b.rim_direction[i]))
      return ::testing::AssertionFailure()
             << "rim point " << i << " (" << b.rim_x[i] << ", " << b.rim_y[i] << ")";
  int n = b.point_count;
  if (b.rim_x[n] != b.rim_x[0] || b.rim_y[n] != b.rim_y[0] || b.rim_speed[n] != b.rim_speed[0] ||
      b.rim_direction[n] != b.rim_direction[0])
    return ::testing::AssertionFailure() << "the wrap slot differs from slot 0";
  return ::testing::AssertionSuccess();
}

double rim_bottom(const obj_wobblet& blob) {
  double bottom = blob.rim_y[0];
  for (int i = 1; i < blob.point_count; ++i)
    if (blob.rim_y[i] > bottom) bottom = blob.rim_y[i];
  return bottom;
}
