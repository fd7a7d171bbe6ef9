#include "terrain_reference.h"

#include "level/container.h"
#include "level/terrain.h"
#include "level/terrain_choice.h"
#include "level/triangle_test.h"

bool collideAllScan(int x, int y) {
  for (const primitive* p = start_ptr; p; p = p->next)
    if (p->solid &&
        triangle_test::box_and_area_hold(p->x1, p->y1, p->x2, p->y2, p->x3, p->y3, x, y))
      return true;
  return false;
}

void draw_terrain_by_walk(GLuint texture) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  for (const primitive* p = start_ptr; p; p = p->next)
    if (terrain_triangle_shown(*p)) draw_terrain_triangle(*p);
}
