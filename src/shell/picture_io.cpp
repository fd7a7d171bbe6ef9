#include "shell/picture_io.h"

#include <SDL_image.h>

// The format is given rather than guessed, so a file named .png that holds
// something else is refused instead of decoded as whatever it resembles.
SDL_Surface* decode_picture(SDL_RWops* rw, const char* type) {
  return IMG_LoadTyped_RW(rw, 1, const_cast<char*>(type));
}

void begin_pixel_access(SDL_Surface* surface) { SDL_LockSurface(surface); }

void end_pixel_access(SDL_Surface* surface) { SDL_UnlockSurface(surface); }
