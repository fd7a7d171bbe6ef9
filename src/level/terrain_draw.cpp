// The terrain drawn with GL: what terrain_choice.h chooses, each triangle
// filled and outlined in its corner colours with the picture fixed to the
// world.
#include <algorithm>
#include <vector>

#include "level/container.h"
#include "level/index/terrain_index.h"
#include "level/terrain.h"
#include "level/terrain_choice.h"
#include "shell/view.h"

namespace {
// One corner: its colour (low 8 bits of each field), a texture coordinate
// fixed to the world (the picture repeats every 400 x 300 pixels, t growing
// upwards), and its place on screen.
void corner(int x, int y, int r, int g, int b) {
  glColor3ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b));
  glTexCoord2f(static_cast<float>(x) / 400, static_cast<float>(-y) / 300);
  glVertex2f(static_cast<float>(x - view_x) / 400, static_cast<float>(view_y - y) / 300);
}

// The window shows the view and nothing else: the game's projection (none),
// its view frame (a shift by (-1, 1), scaled down by view_scale) and the
// whole window as viewport. A test that zooms out sees beyond the view, and
// then everything is drawn.
bool window_is_the_view() {
  GLfloat projection[16] = {}, frame[16] = {};
  GLint viewport[4] = {};
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, frame);
  glGetIntegerv(GL_VIEWPORT, viewport);
  const GLfloat scaled = 1.0f / static_cast<GLfloat>(view_scale);
  for (int k = 0; k < 16; ++k) {
    GLfloat diagonal = k % 5 == 0 ? 1 : 0;
    GLfloat shift = k == 12 ? -1 : k == 13 ? 1 : 0;
    GLfloat frame_diagonal = k == 0 || k == 5 ? scaled : diagonal;
    if (projection[k] != diagonal || frame[k] != frame_diagonal + shift) return false;
  }
  return viewport[0] == 0 && viewport[1] == 0 && viewport[2] == WINDOW_WIDTH &&
         viewport[3] == WINDOW_HEIGHT;
}

void draw_fill(const primitive& p) {
  glBegin(GL_TRIANGLES);
  corner(p.x1, p.y1, p.r1, p.g1, p.b1);
  corner(p.x2, p.y2, p.r2, p.g2, p.b2);
  corner(p.x3, p.y3, p.r3, p.g3, p.b3);
  glEnd();
}

void draw_outline(const primitive& p) {
  glBegin(GL_LINE_STRIP);
  corner(p.x1, p.y1, p.r1, p.g1, p.b1);
  corner(p.x2, p.y2, p.r2, p.g2, p.b2);
  corner(p.x3, p.y3, p.r3, p.g3, p.b3);
  corner(p.x1, p.y1, p.r1, p.g1, p.b1);
  glEnd();
}

// How many times in a row one outline drawn over itself can change a pixel.
// Each time, every channel of a pixel the smoothed line touches is blended
// towards the line's colour: the result lies between the two and depends
// on the old value only through an order-keeping map, so a channel's values
// go one way, each change at least one step, until one time changes
// nothing and every time after it changes nothing either. A channel of b
// bits has 2^b values.
int outline_repeats_that_count() {
  GLint bits = 0, most = 8;
  for (GLenum channel : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS}) {
    glGetIntegerv(channel, &bits);
    most = std::max(most, bits);
  }
  return 1 << std::min(most, 16);
}

}  // namespace

void draw_terrain_triangle(const primitive& p) {
  draw_fill(p);
  draw_outline(p);
}

// The index hands over the triangles whose boxes may meet the view, in list
// order, so the picture is the one a walk of the whole list would draw. The
// buffers keep their size from frame to frame: drawing allocates nothing
// once it has seen the busiest view.
void draw_terrain(GLuint texture, bool texture_opaque) {
  static std::vector<const primitive*> near_view;
  static std::vector<terrain_stroke> strokes;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  terrain_index::triangles_near(view_x, view_y, view_right(), view_bottom(), near_view);
  terrain_window window{window_is_the_view(), texture_opaque,
                        static_cast<std::size_t>(outline_repeats_that_count())};
  choose_terrain_strokes(near_view, window, strokes);
  for (const terrain_stroke& s : strokes) {
    if (s.fill)
      draw_terrain_triangle(*s.p);
    else
      draw_outline(*s.p);
  }
}
