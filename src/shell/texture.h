// Turns a PNG or JPEG picture into a GL texture. Every picture the game shows
// comes through here; nothing is cached, so each caller owns its copy.
#pragma once

#include <GL/gl.h>

#include <cstddef>

// Decodes the picture and uploads it as a repeating, linearly filtered
// GL_TEXTURE_2D, left bound. The path may use backslash separators. Returns
// the texture name, or 0 when the file is missing or cannot be decoded, with
// one line on stderr, once for each file, naming the program, the file, the
// reason and, for the game's own pictures, what is drawn without it; 0 is
// safe to bind and to delete. Without an OpenGL window there is nothing to
// load into: it then reads nothing and returns 0, which is how programs run
// the game's objects headless (the runner, fuzzing, the simulation tests).
// When `opaque` is given, it tells whether every texel's alpha is 255, so
// that what the texture is drawn over can never show through; it is true for
// 0 too, as no texture leaves the colours alone, which GL takes as opaque.
GLuint loadTexture(const char* path, bool* opaque = nullptr);

// How many picture files could not be read so far, each counted once.
std::size_t pictures_not_read();
