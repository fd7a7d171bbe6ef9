// Why many steps can be taken at once. Take one axis, a float v with
// 2^(e-1) <= |v| < 2^e, its float spacing u = 2^(e-24) there, and the unit
// step s (|s| <= 1). A step rounds v + s first to double, whose spacing
// there is u / 2^29, and then to float.
// - v is a multiple of the double spacing with an even count of it, so the
//   first rounding moves s alone to a nearby multiple `a`, ties broken by
//   s's own bits: the same `a` for every v of the binade, as long as v + s
//   stays in it.
// - v + a is then rounded to a multiple of u. Unless a lies exactly halfway
//   between two multiples of u (then the tie would go by v's own last bit),
//   that adds the same multiple d of u for every v of the binade, as long as
//   the result stays in it too.
// So while v keeps 2 pixels inside its binade, every step adds exactly d,
// and k steps land on v + k d, which a double holds exactly. A step that
// leaves v where it was is a fixed point, whatever the binade. Anywhere
// else (a tie, near a power of two, near zero) the walk goes one step at a
// time; the test in tests/blob holds the two walks to the same bits.
#include "blob/recovery_walk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "level/index/blob_questions.h"

namespace {
constexpr double MARGIN = 2;  // pixels: more than a step can move v, a or the result

// Values from `start` on that k steps reach: start + k * step, exact while
// they stay within [low, high].
struct axis_run {
  double start, step, low, high;
  double after(int k) const { return start + k * step; }
};

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// 2^e as a double, for the exponents of floats.
double power_of_two(int e) {
  std::uint64_t bits = static_cast<std::uint64_t>(e + 1023) << 52;
  double p;
  std::memcpy(&p, &bits, sizeof p);
  return p;
}

bool run_from(float v, double s, axis_run& run) {
  float next = walk_one_step(v, s);
  run.start = v;
  run.step = static_cast<double>(next) - static_cast<double>(v);
  if (std::isnan(v)) return false;
  if (same_bits(next, v)) {
    run.low = -INFINITY;
    run.high = INFINITY;
    return true;
  }
  double size = std::fabs(static_cast<double>(v));
  if (!(std::fabs(s) <= 1) || !(size >= 2 * MARGIN && size < 0x1p24)) return false;
  // A normal float: its exponent field says its binade.
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  int e = static_cast<int>((bits >> 23) & 0xFF) - 127;  // 2^e <= |v| < 2^(e+1)
  double binade_low = power_of_two(e), binade_high = power_of_two(e + 1);
  double float_spacing = power_of_two(e - 23);
  // Both exact: the sum is within a factor of 2 of v, the spacing a power of 2.
  double a = (s + static_cast<double>(v)) - static_cast<double>(v);
  double in_spacings = a / float_spacing;
  if (in_spacings - std::floor(in_spacings) == 0.5) return false;
  if (v > 0) {
    run.low = binade_low + MARGIN;
    run.high = binade_high - MARGIN;
  } else {
    run.low = -(binade_high - MARGIN);
    run.high = -(binade_low + MARGIN);
  }
  return run.low <= v && v <= run.high;
}

bool pixel_within(double v, int low, int high) {
  return v > -2147483648.0 && v < 2147483648.0 && static_cast<int>(v) >= low &&
         static_cast<int>(v) <= high;
}

// About how many steps keep the axis in its run and its pixel between low
// and high: a guess, which still_inside sets right.
int steps_within(const axis_run& run, int low, int high) {
  // Pixels are truncated toward zero: pixel 0 takes in (-1, 1).
  double lowest = std::max(run.low, low > 0 ? low : low - 1.0);
  double highest = std::min(run.high, high >= 0 ? high + 1.0 : high);
  double room = run.step > 0 ? highest - run.start : run.step < 0 ? run.start - lowest : 1e9;
  double steps = room / std::fabs(run.step);
  return steps >= 1e9 ? 1000000000 : steps <= 0 ? 0 : static_cast<int>(steps);
}

// Both axes after k steps still in their runs and inside the box. The
// runs and the box are intervals and the values move in one direction, so
// this holds for every count up to the first k it fails for.
bool still_inside(const axis_run& x, const axis_run& y, const solid_box& box, int k) {
  double vx = x.after(k), vy = y.after(k);
  return vx >= x.low && vx <= x.high && vy >= y.low && vy <= y.high &&
         pixel_within(vx, box.left, box.right) && pixel_within(vy, box.top, box.bottom);
}

// The largest k < most with every point up to k steps on inside the box:
// each of those points would be asked about and answered "in terrain".
// Guessed from the distances to the box's and the runs' edges, then set
// right by the exact test.
int steps_inside(const axis_run& run_x, const axis_run& run_y, const solid_box& solid, int most) {
  int guess = std::min(most - 1, std::min(steps_within(run_x, solid.left, solid.right),
                                          steps_within(run_y, solid.top, solid.bottom)));
  auto inside_after = [&](int k) { return still_inside(run_x, run_y, solid, k); };
  int inside = 0, outside = most;     // inside_after(inside) holds, inside_after(outside) does not
  for (int reach = 1;; reach *= 2) {  // gallop from the guess to bracket the answer
    if (inside_after(guess)) {
      inside = guess;
      if (guess + reach >= most) break;
      if (!inside_after(guess + reach)) {
        outside = guess + reach;
        break;
      }
      guess += reach;
    } else {
      outside = guess;
      if (guess - reach <= 0) break;
      guess -= reach;
    }
  }
  while (outside - inside > 1) {
    int k = inside + (outside - inside) / 2;
    if (inside_after(k))
      inside = k;
    else
      outside = k;
  }
  return inside;
}
}  // namespace

int walk_through_solid(float& x, float& y, double step_x, double step_y, const solid_box& solid,
                       int most) {
  if (most < 1) return 0;
  x = walk_one_step(x, step_x);
  y = walk_one_step(y, step_y);
  axis_run run_x, run_y;
  if (most == 1 || !run_from(x, step_x, run_x) || !run_from(y, step_y, run_y) ||
      !still_inside(run_x, run_y, solid, 0))
    return 1;
  int inside = steps_inside(run_x, run_y, solid, most);
  x = static_cast<float>(run_x.after(inside));
  y = static_cast<float>(run_y.after(inside));
  return 1 + inside;
}
