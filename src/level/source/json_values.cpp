#include "json_values.h"

#include <cmath>
#include <cstdio>

#include "level/level_file.h"

using nlohmann::json;

std::string describe(const json& value) {
  constexpr std::size_t longest = 40;  // characters shown of a long value
  std::string text = value.dump();
  if (text.size() > longest) text = text.substr(0, longest - 3) + "...";
  return text;
}

std::optional<long long> whole_number(const json& value) {
  if (value.is_number_integer()) {
    if (value.is_number_unsigned() && value.get<unsigned long long>() > 1ULL << 62)
      return std::nullopt;
    return value.get<long long>();
  }
  if (!value.is_number_float()) return std::nullopt;
  double d = value.get<double>();
  if (!std::isfinite(d) || std::fabs(d) > 1e15 || d != std::floor(d)) return std::nullopt;
  return static_cast<long long>(d);
}

namespace {
std::string range_text() {
  return "-" + std::to_string(LEVEL_COORD_MAX) + ".." + std::to_string(LEVEL_COORD_MAX);
}

std::optional<double> rounded(const json& value) {
  if (!value.is_number()) return std::nullopt;
  double d = value.get<double>();
  if (!std::isfinite(d) || std::fabs(d) > 1e15) return std::nullopt;
  return std::round(d);  // halves away from zero, the same on every machine
}
}  // namespace

std::optional<int> rounded_coordinate(double value, const std::string& what,
                                      const std::string& where, problem_list& problems) {
  double whole = std::round(value);
  if (std::isfinite(whole) && std::fabs(whole) <= LEVEL_COORD_MAX) return static_cast<int>(whole);
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  problems.add(where,
               what + " " + text + " is beyond the " + range_text() + " pixels a level file holds");
  return std::nullopt;
}

std::optional<int> read_coordinate(const json& value, fraction_rule rule, const std::string& what,
                                   const std::string& where, problem_list& problems) {
  if (!value.is_number()) {
    problems.add(where, what + " is " + describe(value) + ", not a number");
    return std::nullopt;
  }
  std::optional<double> whole;
  if (rule == fraction_rule::round) {
    whole = rounded(value);
  } else if (auto n = whole_number(value)) {
    whole = static_cast<double>(*n);
  }
  if (!whole) {
    problems.add(where, what + " " + describe(value) + " is not a whole number of pixels");
    return std::nullopt;
  }
  if (std::fabs(*whole) > LEVEL_COORD_MAX) {
    problems.add(where, what + " " + describe(value) + " is beyond the " + range_text() +
                            " pixels a level file holds");
    return std::nullopt;
  }
  return static_cast<int>(*whole);
}

namespace {
int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Two hex digits at text[at], or -1.
int hex_byte(const std::string& text, std::size_t at) {
  int high = hex_digit(text[at]), low = hex_digit(text[at + 1]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

std::optional<rgb_colour> colour_from_hex(const std::string& text, std::string& why) {
  if ((text.size() != 7 && text.size() != 9) || text[0] != '#') {
    why = "colour \"" + text + "\" is not of the form #RRGGBB or #AARRGGBB";
    return std::nullopt;
  }
  std::size_t rgb_at = text.size() == 9 ? 3 : 1;
  int bytes[3];
  for (int k = 0; k < 3; ++k) bytes[k] = hex_byte(text, rgb_at + 2 * k);
  int alpha = text.size() == 9 ? hex_byte(text, 1) : 255;
  if (bytes[0] < 0 || bytes[1] < 0 || bytes[2] < 0 || alpha < 0) {
    why = "colour \"" + text + "\" has a character that is not a hex digit";
    return std::nullopt;
  }
  if (alpha != 255) {
    why = "colour \"" + text +
          "\" is partly transparent; terrain is drawn opaque, so give it alpha ff";
    return std::nullopt;
  }
  return rgb_colour{bytes[0], bytes[1], bytes[2]};
}

std::optional<rgb_colour> colour_from_array(const json& value, std::string& why) {
  int channel[3];
  for (std::size_t k = 0; k < 3; ++k) {
    auto n = whole_number(value[k]);
    if (!n || *n < 0 || *n > 255) {
      why = "colour " + describe(value) + " has a channel that is not a whole number 0..255";
      return std::nullopt;
    }
    channel[k] = static_cast<int>(*n);
  }
  return rgb_colour{channel[0], channel[1], channel[2]};
}
}  // namespace

std::optional<rgb_colour> parse_colour(const json& value, std::string& why) {
  if (value.is_string()) return colour_from_hex(value.get<std::string>(), why);
  if (value.is_array() && value.size() == 3) return colour_from_array(value, why);
  why = "colour " + describe(value) + " is neither \"#RRGGBB\" nor [red, green, blue]";
  return std::nullopt;
}

std::string colour_text(const rgb_colour& c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r & 255, c.g & 255, c.b & 255);
  return text;
}
