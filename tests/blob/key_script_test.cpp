// The key script lines of blobrun, one by one.
#include "replay/key_script.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {
key_event parse_ok(const std::string& line) {
  key_event e{};
  bool is_event = false;
  std::string error;
  EXPECT_TRUE(parse_key_line(line, e, is_event, error)) << line << ": " << error;
  EXPECT_TRUE(is_event) << line;
  return e;
}

std::string parse_error(const std::string& line) {
  key_event e{};
  bool is_event = false;
  std::string error;
  EXPECT_FALSE(parse_key_line(line, e, is_event, error)) << line;
  return error;
}

TEST(key_script, names_and_numbers_give_sdl_key_symbols) {
  EXPECT_EQ(parse_ok("1 down Tab").key, SDLK_TAB);
  EXPECT_EQ(parse_ok("1 down Up").key, SDLK_UP);
  EXPECT_EQ(parse_ok("1 down Down").key, SDLK_DOWN);
  EXPECT_EQ(parse_ok("1 down Right").key, SDLK_RIGHT);
  EXPECT_EQ(parse_ok("1 down Left").key, SDLK_LEFT);
  EXPECT_EQ(parse_ok("1 down Escape").key, SDLK_ESCAPE);
  EXPECT_EQ(parse_ok("1 down escape").key, 27);
  EXPECT_EQ(parse_ok("1 down 276").key, 276);
  EXPECT_EQ(parse_ok("1 down 0").key, 0);
  EXPECT_EQ(parse_ok("1 down 322").key, 322);
}

TEST(key_script, ticks_and_actions) {
  key_event e = parse_ok("  17\tup   Left  ");
  EXPECT_EQ(e.tick, 17);
  EXPECT_FALSE(e.down);
  EXPECT_TRUE(parse_ok("2147483647 down Up\r").down);
}

TEST(key_script, blank_and_comment_lines_are_no_events) {
  for (const char* line : {"", "   ", "# 3 down Up", "#", "\r"}) {
    key_event e{};
    bool is_event = true;
    std::string error;
    EXPECT_TRUE(parse_key_line(line, e, is_event, error)) << line;
    EXPECT_FALSE(is_event) << line;
  }
}

TEST(key_script, bad_lines_say_what_is_wrong) {
  EXPECT_EQ(parse_error("3 down"), "expected '<tick> down|up <key>'");
  EXPECT_EQ(parse_error("3 down Up Up"), "expected '<tick> down|up <key>'");
  EXPECT_EQ(parse_error("0 down Up"), "tick '0' is not a whole number from 1 up");
  EXPECT_EQ(parse_error("+3 down Up"), "tick '+3' is not a whole number from 1 up");
  EXPECT_EQ(parse_error("2147483648 down Up"),
            "tick '2147483648' is too large (the most is 2147483647)");
  EXPECT_EQ(parse_error("3 hold Up"), "'hold' is neither down nor up");
  EXPECT_NE(parse_error("3 down 323").find("unknown key '323'"), std::string::npos);
  EXPECT_NE(parse_error("3 down -1").find("unknown key '-1'"), std::string::npos);
  EXPECT_NE(parse_error("3 down Space").find("unknown key 'Space'"), std::string::npos);
}

TEST(key_script, tick_arguments) {
  long t = 0;
  EXPECT_TRUE(parse_tick("1", t));
  EXPECT_EQ(t, 1);
  EXPECT_TRUE(parse_tick("2147483647", t));
  EXPECT_TRUE(parse_tick("000000000002147483647", t)) << "leading zeros count for nothing";
  for (const char* bad : {"", "0", "-1", "1.5", "1e3", "2147483648", "99999999999", " 1"})
    EXPECT_FALSE(parse_tick(bad, t)) << bad;
}
}  // namespace
