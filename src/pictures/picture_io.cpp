#include "pictures/picture_io.h"

#include <SDL_image.h>

#include "files/quiet_stderr.h"

namespace {
using picture_loader = SDL_Surface* (*)(SDL_RWops*);

// The game's pictures are PNG and JPEG; BMP, which SDL reads itself, is
// taken too. The decoder library knows a dozen other formats by their
// content, whatever a file's name says; they are refused, since the game
// needs none of them and some of their readers crash on damaged files.
picture_loader loader_for(SDL_RWops* rw) {
  if (IMG_isPNG(rw)) return IMG_LoadPNG_RW;
  if (IMG_isJPG(rw)) return IMG_LoadJPG_RW;
  if (IMG_isBMP(rw)) return IMG_LoadBMP_RW;
  return nullptr;
}
}  // namespace

// The decoder (libpng in particular) prints warnings and errors of its own
// on a broken picture, up to eight lines; they stay off the terminal, and
// the caller reports the failure in one line.
SDL_Surface* run_picture_decoder(SDL_RWops* rw, std::string& problem) {
  picture_loader load = loader_for(rw);
  if (!load) {
    problem = "not a PNG, JPEG or BMP picture";
    return nullptr;
  }
  quiet_stderr quiet;
  SDL_Surface* surface = load(rw);
  if (!surface) problem = IMG_GetError();
  return surface;
}

void begin_pixel_access(SDL_Surface* surface) { SDL_LockSurface(surface); }

void end_pixel_access(SDL_Surface* surface) { SDL_UnlockSurface(surface); }
