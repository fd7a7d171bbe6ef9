// Drawing a blob: a filled body and an outline through the midpoints of the
// rim edges (which rounds off the polygon's corners), then the eyes and the
// mouth, which lead the centre in the direction of motion. Blobs that are not
// controlled are drawn at half brightness; their faces are not dimmed.
#include "blob/tuning.h"
#include "blob/wobblet.h"
#include "shell/angles.h"
#include "shell/view.h"

using namespace blob_tuning;

namespace {
void set_colour(int r, int g, int b, bool dimmed) {
  if (dimmed) {
    r /= 2;
    g /= 2;
    b /= 2;
  }
  glColor4ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b), 255);
}

// One upright 32x32-pixel picture centred on the centre (cx, cy) moved by
// (ahead_x, ahead_y).
void draw_face_square(GLuint texture, double cx, double cy, double ahead_x, double ahead_y) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glBegin(GL_QUADS);
  glTexCoord2i(0, 0);
  world_vertex(cx - FACE_HALF_SIZE + ahead_x, cy - FACE_HALF_SIZE + ahead_y);
  glTexCoord2i(1, 0);
  world_vertex(cx + FACE_HALF_SIZE + ahead_x, cy - FACE_HALF_SIZE + ahead_y);
  glTexCoord2i(1, 1);
  world_vertex(cx + FACE_HALF_SIZE + ahead_x, cy + FACE_HALF_SIZE + ahead_y);
  glTexCoord2i(0, 1);
  world_vertex(cx - FACE_HALF_SIZE + ahead_x, cy + FACE_HALF_SIZE + ahead_y);
  glEnd();
}

// Runs through the midpoint of every rim edge and back to the first one; the
// wrap slot makes edge point_count - 1 end at point 0.
void emit_rim_midpoints(const obj_wobblet& blob) {
  for (int i = 0; i <= blob.point_count; ++i) {
    int edge = i == blob.point_count ? 0 : i;
    world_vertex((blob.rim_x[edge] + blob.rim_x[edge + 1]) / 2,
                 (blob.rim_y[edge] + blob.rim_y[edge + 1]) / 2);
  }
}
}  // namespace

// Leaves texturing and blending on, the colour white and the mouth bound.
// Each colour is set before its glBegin: the same current colour as setting
// it first thing inside, and the browser's GL emulation draws only this way.
void obj_wobblet::draw() {
  bool dimmed = control_index != 0;
  glDisable(GL_TEXTURE_2D);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  if (style != OUTLINE_ONLY_STYLE) {
    set_colour(fill_r, fill_g, fill_b, dimmed);
    glBegin(GL_TRIANGLE_FAN);
    world_vertex(x, y);
    emit_rim_midpoints(*this);
    glEnd();
  }
  set_colour(line_r, line_g, line_b, dimmed);
  glBegin(GL_LINE_STRIP);
  emit_rim_midpoints(*this);
  glEnd();

  glEnable(GL_TEXTURE_2D);
  double ahead_x = lengthdir_x(speed * LOOK_AHEAD, direction);
  double ahead_y = lengthdir_y(speed * LOOK_AHEAD, direction);
  glColor4ub(255, 255, 255, 255);
  draw_face_square(tex_eyes, x, y, ahead_x, ahead_y);
  draw_face_square(tex_mouth, x, y, ahead_x, ahead_y + MOUTH_DROP);
}
