#include "level/platform.h"

#include <map>
#include <utility>
#include <vector>

#include "level/terrain.h"
#include "shell/state_text.h"
#include "shell/texture.h"
#include "shell/view.h"

void obj_platform::create() {
  texture = loadTexture(".\\images\\crate.jpg", &texture_opaque);
  int left = static_cast<int>(x);
  int top = static_cast<int>(y);
  int right = left + PLATFORM_WIDTH;
  int bottom = top + PLATFORM_HEIGHT;
  // Two triangles sharing the diagonal cover the whole box, edges included.
  prim1 = addVertex(left, top, right, top, left, bottom);
  prim2 = addVertex(right, top, left, bottom, right, bottom);
  prim1->drawn = false;  // the crate draws itself
  prim2->drawn = false;
  speed_y = -1;
  timer = 0;
}

void obj_platform::step() {
  timer += 1;
  y += speed_y;
  moveTriangle(prim1, 0, speed_y);
  moveTriangle(prim2, 0, speed_y);
  if (timer > PLATFORM_HALF_PERIOD - 1) {
    speed_y = -speed_y;
    timer = 0;
  }
}

// The crate picture shows twice across and once down: a 64x32 crate of two
// square faces.
// A crate that a later opaque one covers exactly leaves GL as drawing
// would (what is drawn between the two may rely on it) and draws nothing:
// the later one, blended at full alpha, replaces every pixel of the box.
void obj_platform::draw() {
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(1, 1, 1, 1);
  if (covered_by && covered_by->texture_opaque && covered_by->x == x && covered_by->y == y) return;
  glBegin(GL_QUADS);
  glTexCoord2i(0, 0);
  world_vertex(x, y);
  glTexCoord2i(0, 1);
  world_vertex(x, y + PLATFORM_HEIGHT);
  glTexCoord2i(2, 1);
  world_vertex(x + PLATFORM_WIDTH, y + PLATFORM_HEIGHT);
  glTexCoord2i(2, 0);
  world_vertex(x + PLATFORM_WIDTH, y);
  glEnd();
}

void obj_platform::destroy() { glDeleteTextures(1, &texture); }

void link_stacked_crates() {
  std::vector<obj_platform*> crates;
  for (obj_parent* o = start_obj; o; o = o->next)
    if (auto* crate = dynamic_cast<obj_platform*>(o)) crates.push_back(crate);
  std::map<std::pair<float, float>, const obj_platform*> next_at;
  for (auto crate = crates.rbegin(); crate != crates.rend(); ++crate) {
    const obj_platform*& next = next_at[{(*crate)->x, (*crate)->y}];
    (*crate)->covered_by = next;
    next = *crate;
  }
}

void obj_platform::write_state(state_text& out) const {
  out.format("P %.17g %.17g %d %d\n", static_cast<double>(x), static_cast<double>(y), timer,
             speed_y);
}
