// Preloaded into the unchanged game by the replay test: reads back the frame
// of chosen ticks, just before the buffer swap that ends each tick (one swap
// a tick, so swap N ends tick N), and writes it as PREFIX<N>.ppm, top row
// first. BLOB_GRAB_TICKS lists the ticks ("120,360"), BLOB_GRAB_PREFIX the
// files' prefix. A recorded session and its replay can so be compared frame
// for frame at the same ticks.
#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int WIDTH = 800, HEIGHT = 600;
long swaps = 0;

bool wanted(long tick) {
  const char* p = std::getenv("BLOB_GRAB_TICKS");
  while (p && *p) {
    char* end = nullptr;
    long listed = std::strtol(p, &end, 10);
    if (end == p) return false;
    if (listed == tick) return true;
    p = *end == ',' ? end + 1 : end;
  }
  return false;
}

void write_frame(long tick) {
  std::vector<unsigned char> rgb(WIDTH * HEIGHT * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  const char* prefix = std::getenv("BLOB_GRAB_PREFIX");
  std::string path = std::string(prefix ? prefix : "frame_") + std::to_string(tick) + ".ppm";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return;
  std::fprintf(out, "P6\n%d %d\n255\n", WIDTH, HEIGHT);
  for (int row = HEIGHT - 1; row >= 0; --row) std::fwrite(&rgb[row * WIDTH * 3], 1, WIDTH * 3, out);
  std::fclose(out);
}
}  // namespace

extern "C" void SDL_GL_SwapBuffers(void) {
  using swap_function = void (*)(void);
  static auto real = reinterpret_cast<swap_function>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
  if (wanted(++swaps)) write_frame(swaps);
  real();
}
