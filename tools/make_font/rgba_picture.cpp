// PAM output for make_font; see rgba_picture.h.
#include "rgba_picture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string write_pam(const std::string& path, const rgba_picture& picture) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return std::strerror(errno);
  std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
               picture.width, picture.height);
  size_t written = std::fwrite(picture.pixels.data(), 1, picture.pixels.size(), file);
  bool failed = written != picture.pixels.size() || std::ferror(file);
  if (std::fclose(file) != 0) failed = true;
  if (failed) return "write failed";
  return "";
}
