// Fuzz target for the picture path up to the GL upload, without a window:
// the PNG check, the decoder and the conversion to 3 or 4 bytes per pixel.
// Any bytes must give a surface laid out as the upload reads it, or null
// with one line, and never a hang, a crash or a leak.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pictures/picture.h"

namespace {
// The upload hands `pixels` to GL as rows of w * bytes, each padded to a
// multiple of 4 bytes; anything else would make it read the wrong bytes.
bool laid_out_for_upload(const SDL_Surface* surface) {
  int bytes = surface->format->BytesPerPixel;
  int row = surface->w * bytes;
  return (bytes == 3 || bytes == 4) && surface->w > 0 && surface->h > 0 &&
         surface->pixels != nullptr && surface->pitch == ((row + 3) & ~3);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string problem;
  SDL_Surface* surface = decode_picture(std::vector<std::uint8_t>(data, data + size), problem);
  if (!surface) return 0;
  if (!laid_out_for_upload(surface)) std::abort();
  SDL_FreeSurface(surface);
  return 0;
}
