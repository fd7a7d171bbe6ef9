#include "state_dump.h"

#include "blob/wobblet.h"
#include "level/platform.h"
#include "shell/object.h"
#include "shell/view.h"

namespace {
void put_real(std::FILE* out, double value) { std::fprintf(out, " %.17g", value); }

void put_slots(std::FILE* out, const double* slots, int count) {
  for (int k = 0; k < count; ++k) put_real(out, slots[k]);
}

void dump_platform(std::FILE* out, const obj_platform& p) {
  std::fputc('P', out);
  put_real(out, p.x);
  put_real(out, p.y);
  std::fprintf(out, " %d %d\n", p.timer, p.speed_y);
}

void dump_blob(std::FILE* out, const obj_wobblet& b) {
  std::fputc('B', out);
  put_real(out, b.x);
  put_real(out, b.y);
  put_real(out, b.speed);
  put_real(out, b.direction);
  std::fprintf(out, " %d %d %d", b.control_index, b.move_left ? 1 : 0, b.move_right ? 1 : 0);
  const int slots = b.point_count + 1;
  put_slots(out, b.rim_x, slots);
  put_slots(out, b.rim_y, slots);
  put_slots(out, b.rim_speed, slots);
  put_slots(out, b.rim_direction, slots);
  std::fputc('\n', out);
}
}  // namespace

void dump_state(std::FILE* out, long tick) {
  std::fprintf(out, "tick %ld view %d %d\n", tick, view_x, view_y);
  for (const obj_parent* o = start_obj; o; o = o->next) {
    if (auto* p = dynamic_cast<const obj_platform*>(o)) dump_platform(out, *p);
    if (auto* b = dynamic_cast<const obj_wobblet*>(o)) dump_blob(out, *b);
  }
}
