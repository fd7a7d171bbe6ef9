#include "shell/picture_io.h"

#include <SDL_image.h>

// SDL_image knows most formats by their content; the extension is its hint
// for those it cannot (TGA).
SDL_Surface* decode_picture(SDL_RWops* rw, const char* type) {
  return IMG_LoadTyped_RW(rw, 1, const_cast<char*>(type));
}

void begin_pixel_access(SDL_Surface* surface) { SDL_LockSurface(surface); }

void end_pixel_access(SDL_Surface* surface) { SDL_UnlockSurface(surface); }
