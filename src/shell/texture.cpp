#include "shell/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shell/data_path.h"
#include "shell/file_bytes.h"
#include "shell/picture_io.h"
#include "shell/png_guard.h"

namespace {
void report(const char* problem, const std::string& path) {
  std::fprintf(stderr, "texture: %s (%s)\n", problem, path.c_str());
}

std::string extension_of(const std::string& path) {
  std::size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

// Decodes the picture from memory after checking that a PNG is whole.
SDL_Surface* decode(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    report(reason.c_str(), path);
    return nullptr;
  }
  if (!png_chunks_fit(bytes.data(), bytes.size())) {
    report("broken PNG: a chunk runs past the end of the file", path);
    return nullptr;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  std::string ext = extension_of(path);
  SDL_Surface* surface = decode_picture(rw, ext.c_str());
  if (!surface) report(IMG_GetError(), path);
  return surface;
}

// The upload handles 3 and 4 bytes per pixel; paletted, grey and 16-bit
// pictures are converted to 32-bit RGBA first.
SDL_Surface* with_three_or_four_bytes(SDL_Surface* surface) {
  int bytes = surface->format->BytesPerPixel;
  if (bytes == 3 || bytes == 4) return surface;
  SDL_PixelFormat rgba = *surface->format;
  rgba.palette = nullptr;
  rgba.BitsPerPixel = 32;
  rgba.BytesPerPixel = 4;
  rgba.Rloss = rgba.Gloss = rgba.Bloss = rgba.Aloss = 0;
  rgba.Rshift = 0;
  rgba.Gshift = 8;
  rgba.Bshift = 16;
  rgba.Ashift = 24;
  rgba.Rmask = 0x000000FF;
  rgba.Gmask = 0x0000FF00;
  rgba.Bmask = 0x00FF0000;
  rgba.Amask = 0xFF000000;
  SDL_Surface* converted = SDL_ConvertSurface(surface, &rgba, SDL_SWSURFACE);
  SDL_FreeSurface(surface);
  return converted;
}

// GL_RGBA and GL_RGB mean what the plain component counts 4 and 3 mean to
// desktop GL, and WebGL accepts only the named forms.
GLint internal_format(const SDL_Surface* surface) {
  return surface->format->BytesPerPixel == 4 ? GL_RGBA : GL_RGB;
}

GLenum data_format(const SDL_Surface* surface) {
  bool red_first = surface->format->Rmask == 0xFF;
  if (surface->format->BytesPerPixel == 4) return red_first ? GL_RGBA : GL_BGRA;
  return red_first ? GL_RGB : GL_BGR;
}

// GL reads rows w * bytes long, each starting on a 4-byte boundary. Rows
// laid out with another pitch are copied into that layout first.
void upload(const SDL_Surface* surface) {
  int bytes = surface->format->BytesPerPixel;
  int row = surface->w * bytes;
  int aligned = (row + 3) & ~3;
  const void* pixels = surface->pixels;
  std::vector<std::uint8_t> packed;
  if (surface->pitch != aligned) {
    packed.assign(static_cast<std::size_t>(aligned) * surface->h, 0);
    for (int y = 0; y < surface->h; ++y)
      std::memcpy(&packed[static_cast<std::size_t>(y) * aligned],
                  static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch, row);
    pixels = packed.data();
  }
  glTexImage2D(GL_TEXTURE_2D, 0, internal_format(surface), surface->w, surface->h, 0,
               data_format(surface), GL_UNSIGNED_BYTE, pixels);
}
}  // namespace

namespace {
bool texture_loading_enabled = true;
}  // namespace

void disable_texture_loading() { texture_loading_enabled = false; }

GLuint loadTexture(const char* path) {
  if (!texture_loading_enabled) return 0;
  std::string host = host_path(path);
  SDL_Surface* surface = decode(host);
  if (!surface) return 0;
  surface = with_three_or_four_bytes(surface);
  if (!surface) {
    report("cannot convert the picture to 32-bit colour", host);
    return 0;
  }
  begin_pixel_access(surface);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  upload(surface);
  end_pixel_access(surface);
  SDL_FreeSurface(surface);
  return name;
}
