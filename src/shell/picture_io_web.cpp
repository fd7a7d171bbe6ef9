// The browser's side of picture_io.h. Emscripten's SDL has no typed loader
// (IMG_LoadTyped_RW is missing); its IMG_Load_RW tells PNG from JPEG by the
// content. It hands back surfaces whose pixels are already in memory, and
// locking one in an OpenGL program fails (the surface has no canvas to read
// from), so pixel access needs no bracket.
#include <SDL_image.h>

#include "shell/picture_io.h"

SDL_Surface* decode_picture(SDL_RWops* rw, const char*) { return IMG_Load_RW(rw, 1); }

void begin_pixel_access(SDL_Surface*) {}

void end_pixel_access(SDL_Surface*) {}
