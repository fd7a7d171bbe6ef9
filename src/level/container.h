// The level object: made once at start-up, it loads the terrain texture and
// the level file (which makes every other object), and draws the terrain.
// It is always the last object of the list, so the terrain is drawn last.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/object.h"

struct primitive;

class obj_container : public obj_parent {
 public:
  GLuint texture = 0;           // the terrain picture
  bool texture_opaque = false;  // no texel of it lets anything show through

  void create() override;
  void draw() override;
  void destroy() override;

  // Reads the level file: its triangles go into the triangle list and each
  // object record goes through instance_create, in file order. Returns 1 when
  // the file was read, 0 (with one line on stderr) when it could not be
  // opened. Reads only whole records that lie within the file.
  int loadLevel(const char* file_name);
};

// Names the level file that the level object reads when it is made: the
// game's ".\\level.map" in the working folder until a program names another
// (the headless runner, the level tool; a command-line argument).
void set_level_file(const std::string& path);

// Has the level object make the level from these bytes of a level file
// instead of reading one; `name` names the level in messages. Used for a
// level already read, or built from a source, by the caller.
void set_level_bytes(std::vector<std::uint8_t> bytes, const std::string& name);

// Makes the level's triangles and objects from the bytes of a level file;
// `name` is the file's name for messages. The loader's work after reading.
void make_level(const std::uint8_t* bytes, std::size_t size, const std::string& name);

// Draws every drawn triangle not wholly beyond one side of the view, filled
// and outlined, with the given texture fixed to the world. When the texture
// is opaque (see loadTexture), triangles that a later one covering the whole
// window paints over are left out: the picture is the same, and a level of
// thousands of huge overlapping triangles costs a few of them a frame.
void draw_terrain(GLuint texture, bool texture_opaque = false);

// Draws the triangle, filled and outlined, as draw_terrain does.
void draw_terrain_triangle(const primitive& p);
