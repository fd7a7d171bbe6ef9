#include "shell/texture.h"

// GL_BGR and GL_BGRA came after OpenGL 1.1, which is all Windows' gl.h has.
#include <GL/glext.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "files/data_path.h"
#include "files/program_name.h"
#include "files/said_lines.h"
#include "pictures/picture.h"
#include "pictures/picture_io.h"
#include "shell/game_pictures.h"

namespace {
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

// GL reads rows w * bytes long, each starting on a 4-byte boundary, which
// is how SDL 1.2 lays out every surface it makes: it pads each row to a
// multiple of 4 bytes.
void upload(const SDL_Surface* surface) {
  glTexImage2D(GL_TEXTURE_2D, 0, internal_format(surface), surface->w, surface->h, 0,
               data_format(surface), GL_UNSIGNED_BYTE, surface->pixels);
}

// The files that could not be read, each said once: a game with its
// pictures missing asks for the same ones again and again (each blob its
// eyes), and would otherwise repeat the line as often.
std::set<std::string>& unreadable() {
  static std::set<std::string> files;
  return files;
}

// "blobdemo: texture: REASON (FILE); the terrain is drawn without it", on
// standard error and, in the game, on screen. A missing file is named with
// every folder it was looked for in.
void say_unreadable(const char* game_path, const std::string& problem) {
  std::string named = data_file_name(game_path);
  if (!unreadable().insert(named).second) return;
  const game_picture* picture = game_picture_at(game_path);
  std::string without = picture ? std::string("; ") + picture->without : "";
  say_line(program_prefix() + "texture: " + problem + " (" + named + ")" + without);
}

// GL takes the fourth byte of a 4-byte pixel as alpha, whatever the
// surface's own alpha mask says.
bool all_alpha_full(const SDL_Surface* surface) {
  const SDL_PixelFormat* f = surface->format;
  if (f->BytesPerPixel != 4) return true;
  std::uint32_t alpha = ~(f->Rmask | f->Gmask | f->Bmask);
  const auto* rows = static_cast<const std::uint8_t*>(surface->pixels);
  for (int y = 0; y < surface->h; ++y)
    for (int x = 0; x < surface->w; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, rows + static_cast<std::ptrdiff_t>(y) * surface->pitch + 4 * x, 4);
      if ((pixel & alpha) != alpha) return false;
    }
  return true;
}
}  // namespace

GLuint loadTexture(const char* path, bool* opaque) {
  if (opaque) *opaque = true;
  if (!SDL_GetVideoSurface()) return 0;
  std::string file = host_path(path), problem;
  SDL_Surface* surface = read_picture(file, problem);
  if (!surface) {
    say_unreadable(path, problem);
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
  if (opaque) *opaque = all_alpha_full(surface);
  end_pixel_access(surface);
  SDL_FreeSurface(surface);
  return name;
}

std::size_t pictures_not_read() { return unreadable().size(); }
