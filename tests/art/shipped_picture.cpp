// SDL_image decoding for the picture tests; see shipped_picture.h.
#include "shipped_picture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace {

// Reads one pixel value of 1 to 4 bytes in the machine's byte order, as SDL
// stores surface pixels.
Uint32 raw_pixel(const SDL_Surface* surface, int x, int y) {
  const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                   x * surface->format->BytesPerPixel;
  switch (surface->format->BytesPerPixel) {
    case 1:
      return *p;
    case 2: {
      Uint16 v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case 3:
      if (SDL_BYTEORDER == SDL_BIG_ENDIAN) return p[0] << 16 | p[1] << 8 | p[2];
      return p[0] | p[1] << 8 | p[2] << 16;
    default: {
      Uint32 v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

}  // namespace

shipped_picture::shipped_picture(const std::string& name) {
  std::string path = std::string(BLOB_IMAGES_DIR) + "/" + name;
  SDL_Surface* surface = IMG_Load(path.c_str());
  if (!surface) {
    error_ = "cannot decode " + path + ": " + IMG_GetError();
    return;
  }
  width_ = surface->w;
  height_ = surface->h;
  bytes_per_pixel_ = surface->format->BytesPerPixel;
  pixels_.reserve(static_cast<size_t>(width_) * height_);
  SDL_LockSurface(surface);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      Uint8 r, g, b, a;
      SDL_GetRGBA(raw_pixel(surface, x, y), surface->format, &r, &g, &b, &a);
      pixels_.push_back({r, g, b, a});
    }
  SDL_UnlockSurface(surface);
  SDL_FreeSurface(surface);
}
