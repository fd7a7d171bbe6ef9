// The two places where decoding a picture differs between the desktop and the
// browser build: the decoder's entry point, and access to a decoded surface's
// pixels. picture_io.cpp serves the desktop (SDL_image), picture_io_web.cpp
// the browser (Emscripten's SDL); the build picks one.
#pragma once

#include <SDL.h>

// Decodes the picture held by `rw` and frees `rw`. `type` is the file's
// extension ("png", "jpg"), for decoders that are told the format rather
// than guessing it. Returns null when the picture cannot be decoded.
SDL_Surface* decode_picture(SDL_RWops* rw, const char* type);

// Brackets reading surface->pixels: afterwards the pixels are readable until
// end_pixel_access.
void begin_pixel_access(SDL_Surface* surface);
void end_pixel_access(SDL_Surface* surface);
