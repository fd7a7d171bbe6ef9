// A small world for the blob tests: terrain, blobs and platforms made
// directly through the game's own factory and triangle list, no window and no
// pictures, and a clean slate before and after every test.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include "blob/wobblet.h"
#include "level/platform.h"

class blob_world : public ::testing::Test {
 public:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset();

  // A blob of type code 1..5 (style code - 1, control index code - 1).
  static obj_wobblet* add_blob(int code, int x, int y);
  static obj_platform* add_platform(int x, int y);
  // Solid box from (left, top) to (right, bottom), edges included.
  static void add_box(int left, int top, int right, int bottom);

  // The game's step pass over the whole list, ticks times.
  static void step_all(int ticks = 1);
  // A key-down or key-up handed to every object, as the game's event pass.
  static void press(SDLKey key);
  static void release(SDLKey key);
};

// Puts every rim point exactly on its spoke at the radius, at rest, and the
// centre at rest: a blob whose springs have nothing to do.
void settle_on_circle(obj_wobblet& blob);

// Whether every coordinate, speed and direction of the blob is a finite
// number within a million pixels, and the wrap slot mirrors slot 0.
::testing::AssertionResult blob_sane(const obj_wobblet& blob);

// Largest rim y: the bottom of the blob.
double rim_bottom(const obj_wobblet& blob);
