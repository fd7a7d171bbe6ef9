// Turns a PNG or JPEG picture into a GL texture. Every picture the game shows
// comes through here; nothing is cached, so each caller owns its copy.
#pragma once

#include <GL/gl.h>
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// Decodes the picture and uploads it as a repeating, linearly filtered
// GL_TEXTURE_2D, left bound. The path may use backslash separators. Returns
// the texture name, or 0 when the file is missing or cannot be decoded, with
// one line on stderr naming the file and the reason (said once per file and
// reason, however often the file is asked for); 0 is safe to bind and to
// delete. Without an OpenGL window there is nothing to load into: it then
// reads nothing and returns 0, which is how programs run the game's objects
// headless (the runner, fuzzing, the simulation tests).
GLuint loadTexture(const char* path);

// The decoding half of loadTexture, which needs no window: checks the bytes
// of a picture file, decodes them with the decoder's own messages kept off
// the terminal, and converts the result to 3 or 4 bytes per pixel. Returns
// the surface (the caller frees it), or null with one line on stderr naming
// `name` and the reason.
SDL_Surface* decode_picture(std::vector<std::uint8_t> bytes, const std::string& name);
