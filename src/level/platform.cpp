#include "level/platform.h"

#include "level/terrain.h"
#include "shell/texture.h"
#include "shell/view.h"

void obj_platform::create() {
  texture = loadTexture(".\\images\\crate.jpg");
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
void obj_platform::draw() {
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(1, 1, 1, 1);
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
