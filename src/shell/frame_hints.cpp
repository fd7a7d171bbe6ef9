#include "shell/frame_hints.h"

#include <GL/gl.h>

void set_frame_hints() {
  glShadeModel(GL_SMOOTH);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glEnable(GL_LINE_SMOOTH);
}
