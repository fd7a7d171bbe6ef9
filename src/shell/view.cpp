#include "shell/view.h"

#include <GL/gl.h>

int view_x = 0;
int view_y = 0;
int view_scale = 1;

void world_vertex(double wx, double wy) {
  glVertex2f(static_cast<float>((wx - view_x) / 400), static_cast<float>((wy - view_y) / -300));
}

void screen_vertex(double px, double py) {
  glVertex2f(static_cast<float>(px / 400), static_cast<float>(py / -300));
}
