// A real 800x600 OpenGL window for drawing tests, set up with the game's own
// GL state, and read-back of the frame's pixels (window coordinates, y down).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct rgb {
  int r, g, b;
};

class gl_window {
 public:
  gl_window();  // opens SDL video and the window; fails the test if it cannot
  ~gl_window();
  gl_window(const gl_window&) = delete;
  gl_window& operator=(const gl_window&) = delete;

  // Clears to black and sets the per-tick frame (identity, translate -1, 1).
  void begin_frame() const;
  // Reads the whole back buffer, top row first.
  void capture();
  rgb pixel(int x, int y) const;
  // Writes the captured frame as a PPM file next to the test log.
  std::string save(const std::string& name) const;

 private:
  std::vector<std::uint8_t> pixels_;
};

// Checks one pixel against a literal expected colour with a tolerance per
// channel; on a mismatch names the pixel and saves the frame.
::testing::AssertionResult pixel_near(const gl_window& w, int x, int y, rgb expected,
                                      int tolerance = 8);

// The one window of a test program, opened on first use and kept until the
// program exits (SDL 1.2 has a single window).
gl_window& test_window();
