// What a player has: the game's window on the X server, real key presses
// through the XTEST extension, screenshots of the window, and the window
// manager's close request.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct screen_rgb {
  int r, g, b;
};

class screenshot {
 public:
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // top row first

  screen_rgb at(int x, int y) const;
  // How many pixels inside the rectangle satisfy the test.
  int count(int x0, int y0, int x1, int y1, const std::function<bool(screen_rgb)>& test) const;
  // Mean position of the pixels from row `top` down that satisfy the test;
  // (-1, -1) when there are none.
  void centroid(int top, const std::function<bool(screen_rgb)>& test, double& x, double& y) const;
  bool save_png(const std::string& path) const;  // through ImageMagick
};

class x_window {
 public:
  // Connects to $DISPLAY and notes the game-sized windows already there
  // (left by an earlier game), so find_game_window finds only a new one.
  x_window();
  ~x_window();
  x_window(const x_window&) = delete;
  x_window& operator=(const x_window&) = delete;

  // Waits up to `seconds` for a mapped 800x600 top-level window.
  bool find_game_window(double seconds);
  screenshot shoot() const;
  void key(const char* name, bool down);  // X key name: "Right", "Tab", ...
  void tap(const char* name);
  void request_close();  // what a window manager sends for the close button

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  std::vector<Window> already_there_;
};
