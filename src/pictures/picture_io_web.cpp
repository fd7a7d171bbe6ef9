// The browser's side of picture_io.h. Emscripten's SDL has neither the typed
// loaders nor the format probes; its IMG_Load_RW tells PNG from JPEG by the
// content. It hands back surfaces whose pixels are already in memory, and
// locking one in an OpenGL program fails (the surface has no canvas to read
// from), so pixel access needs no bracket.
#include <SDL_image.h>

#include "pictures/picture_io.h"

SDL_Surface* run_picture_decoder(SDL_RWops* rw, std::string& problem) {
  SDL_Surface* surface = IMG_Load_RW(rw, 0);
  if (!surface) problem = IMG_GetError();
  return surface;
}

void begin_pixel_access(SDL_Surface*) {}

void end_pixel_access(SDL_Surface*) {}
