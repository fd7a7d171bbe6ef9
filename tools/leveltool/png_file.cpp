#include "png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {
// libpng reports errors by longjmp; the message is kept here first.
struct png_session {
  std::vector<std::uint8_t>* out;
  char message[200];
};

void on_error(png_structp png, png_const_charp message) {
  auto* session = static_cast<png_session*>(png_get_error_ptr(png));
  std::strncpy(session->message, message, sizeof session->message - 1);
  longjmp(png_jmpbuf(png), 1);
}

void on_warning(png_structp, png_const_charp) {}

void on_write(png_structp png, png_bytep data, png_size_t length) {
  auto* session = static_cast<png_session*>(png_get_io_ptr(png));
  session->out->insert(session->out->end(), data, data + length);
}

void on_flush(png_structp) {}

// Kept free of objects with destructors: longjmp skips them.
bool write_rows(png_structp png, png_infop info, const rgb_image& image, png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}
}  // namespace

bool encode_png(const rgb_image& image, std::vector<std::uint8_t>& out, std::string& why) {
  png_session session{&out, {}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, on_error, on_warning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    why = "libpng could not start";
    return false;
  }
  png_set_write_fn(png, &session, on_write, on_flush);
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
  std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  for (std::size_t y = 0; y < rows.size(); ++y)
    rows[y] = const_cast<png_bytep>(image.pixels.data() + y * stride);
  bool ok = write_rows(png, info, image, rows.data());
  png_destroy_write_struct(&png, &info);
  if (!ok) why = std::string("libpng: ") + session.message;
  return ok;
}
