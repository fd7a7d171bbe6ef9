// Typed values out of parsed JSON for both level source formats. A value that
// does not fit the level file becomes a problem with the reason in words,
// never an exception, so that every bad value of a file gets reported.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "problems.h"

struct rgb_colour {
  int r, g, b;  // 0..255
  bool operator==(const rgb_colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

// How a coordinate in the source becomes the level file's whole pixels.
enum class fraction_rule {
  refuse,  // the project format is written in whole pixels: 10.5 is a mistake
  round,   // an editor places shapes freely: round to the nearest pixel
};

// A short printable form of a value for messages.
std::string describe(const nlohmann::json& value);

// A level coordinate: a number of magnitude at most LEVEL_COORD_MAX once the
// fraction rule has been applied. Otherwise adds a problem naming `what`
// (for example "point 3 x") and returns nothing.
std::optional<int> read_coordinate(const nlohmann::json& value, fraction_rule rule,
                                   const std::string& what, const std::string& where,
                                   problem_list& problems);

// A computed position in whole pixels, rounded to the nearest (halves away
// from zero), if it lies within the level file's range; otherwise adds a
// problem naming `what` and returns nothing.
std::optional<int> rounded_coordinate(double value, const std::string& what,
                                      const std::string& where, problem_list& problems);

// A whole number without limits other than those of long long, or nothing.
std::optional<long long> whole_number(const nlohmann::json& value);

// "#RRGGBB", "#AARRGGBB" with alpha ff (terrain is drawn opaque, the level
// file has no alpha), or [r, g, b] with each 0..255. On failure returns
// nothing and says why.
std::optional<rgb_colour> parse_colour(const nlohmann::json& value, std::string& why);

// "#rrggbb", the form the dump writes.
std::string colour_text(const rgb_colour& c);
