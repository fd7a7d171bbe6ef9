#include "shell/angles.h"

#include <cmath>

namespace {
constexpr double CIRCLE = 3.141592653589793;
constexpr double DEGREE = 0.017453292519943295;  // radians per degree
}  // namespace

double lengthdir_x(double length, double direction) {
  return std::cos(direction * CIRCLE / 180) * length;
}

// y grows downwards on screen, so "up" (90 degrees) must give a negative y.
double lengthdir_y(double length, double direction) {
  return std::sin(direction * CIRCLE / -180) * length;
}

// atan of the slope gives (-90, 90); the two corrections move the left half
// plane to (90, 270) and the lower-right quadrant to (270, 360). A vertical
// line divides by zero on purpose: +-infinity gives +-90, and coincident
// points give NaN, which callers must handle.
double point_direction(double x1, double y1, double x2, double y2) {
  double dx = x2 - x1;
  double dy = -(y2 - y1);
  double r = std::atan(dy / dx) / DEGREE;
  if (dx < 0) r += 180;
  if (dx > 0 && dy < 0) r += 360;
  return r;
}

double point_distance(double x1, double y1, double x2, double y2) {
  if (x2 >= x1) return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  if (x2 < x1) return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
  return NAN;
}
