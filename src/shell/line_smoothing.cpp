#include "shell/line_smoothing.h"

#include <GL/gl.h>

void smooth_lines() {
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glEnable(GL_LINE_SMOOTH);
}
