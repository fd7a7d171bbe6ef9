// The two places where decoding a picture differs between the desktop and the
// browser build: the decoder's entry point, and access to a decoded surface's
// pixels. picture_io.cpp serves the desktop (SDL_image), picture_io_web.cpp
// the browser (Emscripten's SDL); the build picks one.
#pragma once

#include <SDL.h>

#include <string>

// Decodes the picture held by `rw`, which stays open for the caller to free.
// Returns the surface, or null with the reason in `problem`.
SDL_Surface* run_picture_decoder(SDL_RWops* rw, std::string& problem);

// Brackets reading surface->pixels: afterwards the pixels are readable until
// end_pixel_access.
void begin_pixel_access(SDL_Surface* surface);
void end_pixel_access(SDL_Surface* surface);
