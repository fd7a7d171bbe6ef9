// The Windows build's side of picture_io.h, for a system without SDL_image:
// PNG and JPEG are decoded by stb_image (Debian's libstb-dev, the decoder
// the browser build uses too), BMP by SDL itself, as SDL_image does. The
// surfaces are laid out as SDL_image lays them out for the game's pictures:
// three bytes a pixel, or four with alpha, red first.
#include <SDL.h>

#include <cstring>
#include <vector>

#include "pictures/picture_io.h"

#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {
std::vector<stbi_uc> read_all(SDL_RWops* rw) {
  std::vector<stbi_uc> bytes;
  stbi_uc chunk[65536];
  int got;
  while ((got = SDL_RWread(rw, chunk, 1, sizeof chunk)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  return bytes;
}

bool starts_with(const std::vector<stbi_uc>& bytes, const char* magic, std::size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

// Copies stb's tightly packed rows into a surface of SDL's own, whose rows
// are padded to 4 bytes as the texture upload expects.
SDL_Surface* surface_from(const stbi_uc* pixels, int width, int height, int channels) {
  Uint32 alpha = channels == 4 ? 0xFF000000 : 0;
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, channels * 8,
                                              0x000000FF, 0x0000FF00, 0x00FF0000, alpha);
  if (!surface) return nullptr;
  std::size_t row = static_cast<std::size_t>(width) * channels;
  for (int y = 0; y < height; ++y)
    std::memcpy(static_cast<Uint8*>(surface->pixels) + static_cast<std::size_t>(y) * surface->pitch,
                pixels + y * row, row);
  return surface;
}
}  // namespace

SDL_Surface* run_picture_decoder(SDL_RWops* rw, std::string& problem) {
  int start = SDL_RWtell(rw);
  std::vector<stbi_uc> bytes = read_all(rw);
  if (starts_with(bytes, "BM", 2)) {
    SDL_RWseek(rw, start, RW_SEEK_SET);
    SDL_Surface* surface = SDL_LoadBMP_RW(rw, 0);
    if (!surface) problem = SDL_GetError();
    return surface;
  }
  if (!starts_with(bytes, "\x89PNG", 4) && !starts_with(bytes, "\xFF\xD8", 2)) {
    problem = "not a PNG, JPEG or BMP picture";
    return nullptr;
  }
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels)) {
    problem = stbi_failure_reason();
    return nullptr;
  }
  int wanted = channels == 2 || channels == 4 ? 4 : 3;
  stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                          &height, &channels, wanted);
  if (!pixels) {
    problem = stbi_failure_reason();
    return nullptr;
  }
  SDL_Surface* surface = surface_from(pixels, width, height, wanted);
  stbi_image_free(pixels);
  if (!surface) problem = SDL_GetError();
  return surface;
}

void begin_pixel_access(SDL_Surface* surface) { SDL_LockSurface(surface); }

void end_pixel_access(SDL_Surface* surface) { SDL_UnlockSurface(surface); }
