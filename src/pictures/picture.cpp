#include "pictures/picture.h"

#include "files/file_bytes.h"
#include "pictures/picture_io.h"
#include "pictures/picture_size.h"
#include "pictures/png_guard.h"

namespace {
// Null, with the reason, when the bytes do not decode.
SDL_Surface* decode_bytes(const std::vector<std::uint8_t>& bytes, std::string& problem) {
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  SDL_Surface* surface = run_picture_decoder(rw, problem);
  SDL_FreeRW(rw);
  return surface;
}

// A damaged file can make a decoder describe its pixels in a way that does
// not add up (a BMP of one bit per pixel with no colours); converting or
// uploading such pixels would read memory that is not there.
bool pixels_add_up(const SDL_Surface* surface) {
  const SDL_PixelFormat* format = surface->format;
  int bytes = format->BytesPerPixel;
  return surface->pixels && surface->w > 0 && surface->h > 0 && bytes >= 1 && bytes <= 4 &&
         format->BitsPerPixel <= 8 * bytes && (format->BitsPerPixel > 8 || format->palette) &&
         surface->pitch >= surface->w * bytes;
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

// Why the bytes are not handed to the decoder at all, or "" when they can
// be. A PNG that ends between chunks without its end chunk gets one here.
std::string refusal(std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return "the file is empty";
  if (!make_png_chunks_whole(bytes)) return "broken PNG: a chunk runs past the end of the file";
  std::int64_t width = 0, height = 0;
  declared_size size = declared_picture_size(bytes, width, height);
  if (size == declared_size::missing) return "the picture's header is cut short or damaged";
  if (size == declared_size::found &&
      (width < 1 || height < 1 || width > PICTURE_SIDE_MAX || height > PICTURE_SIDE_MAX))
    return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels; pictures are 1 to " + std::to_string(PICTURE_SIDE_MAX) + " pixels on a side";
  return "";
}
}  // namespace

SDL_Surface* decode_picture(std::vector<std::uint8_t> bytes, std::string& problem) {
  problem = refusal(bytes);
  SDL_Surface* surface = problem.empty() ? decode_bytes(bytes, problem) : nullptr;
  if (surface && !pixels_add_up(surface)) {
    SDL_FreeSurface(surface);
    surface = nullptr;
    problem = "the decoder's description of the pixels does not add up";
  }
  if (surface && !(surface = with_three_or_four_bytes(surface)))
    problem = "cannot convert the picture to 32-bit colour";
  return surface;
}

SDL_Surface* read_picture(const std::string& path, std::string& problem) {
  std::vector<std::uint8_t> bytes;
  if (!read_file_bytes(path, bytes, problem)) return nullptr;
  return decode_picture(std::move(bytes), problem);
}
