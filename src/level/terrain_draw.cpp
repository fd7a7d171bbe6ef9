#include <vector>

#include "level/container.h"
#include "level/terrain.h"
#include "level/terrain_index.h"
#include "shell/view.h"

namespace {
// True when all three corners lie beyond the same side of the view; a
// triangle that spans the view with no corner inside it is still drawn.
bool beyond_view(const primitive& p) {
  int left = view_x, right = view_x + WINDOW_WIDTH;
  int top = view_y, bottom = view_y + WINDOW_HEIGHT;
  return (p.x1 < left && p.x2 < left && p.x3 < left) ||
         (p.x1 > right && p.x2 > right && p.x3 > right) ||
         (p.y1 < top && p.y2 < top && p.y3 < top) ||
         (p.y1 > bottom && p.y2 > bottom && p.y3 > bottom);
}

// One corner: its colour (low 8 bits of each field), a texture coordinate
// fixed to the world (the picture repeats every 400 x 300 pixels, t growing
// upwards), and its place on screen.
void corner(int x, int y, int r, int g, int b) {
  glColor3ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b));
  glTexCoord2f(static_cast<float>(x) / 400, static_cast<float>(-y) / 300);
  glVertex2f(static_cast<float>(x - view_x) / 400, static_cast<float>(view_y - y) / 300);
}

void draw_triangle(const primitive& p) {
  glBegin(GL_TRIANGLES);
  corner(p.x1, p.y1, p.r1, p.g1, p.b1);
  corner(p.x2, p.y2, p.r2, p.g2, p.b2);
  corner(p.x3, p.y3, p.r3, p.g3, p.b3);
  glEnd();
  glBegin(GL_LINE_STRIP);
  corner(p.x1, p.y1, p.r1, p.g1, p.b1);
  corner(p.x2, p.y2, p.r2, p.g2, p.b2);
  corner(p.x3, p.y3, p.r3, p.g3, p.b3);
  corner(p.x1, p.y1, p.r1, p.g1, p.b1);
  glEnd();
}
}  // namespace

// The index hands over the triangles whose boxes may meet the view, in list
// order, so the picture is the one a walk of the whole list would draw. The
// buffer keeps its size from frame to frame: drawing allocates nothing once
// it has seen the busiest view.
void draw_terrain(GLuint texture) {
  static std::vector<const primitive*> near_view;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  terrain_index::triangles_near(view_x, view_y, view_x + WINDOW_WIDTH, view_y + WINDOW_HEIGHT,
                                near_view);
  for (const primitive* p : near_view)
    if (p->drawn && !beyond_view(*p)) draw_triangle(*p);
}

void draw_terrain_by_walk(GLuint texture) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  for (const primitive* p = start_ptr; p; p = p->next)
    if (p->drawn && !beyond_view(*p)) draw_triangle(*p);
}
