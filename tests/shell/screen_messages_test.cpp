// The list of lines shown at the bottom of the window, apart from the GL:
// the newest four, each for LIFE_TICKS ticks, cut to what the font shows.
#include "shell/screen_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string shown(const screen_message_list& list) {
  std::string text;
  for (int k = 0; k < list.size(); ++k) text += std::string(k ? "|" : "") + list.line(k);
  return text;
}
}  // namespace

TEST(ScreenMessageList, KeepsTheNewestFourEachForAboutFiveSeconds) {
  screen_message_list list;
  list.add("blobdemo: one");
  for (int k = 0; k < 100; ++k) list.tick();
  list.add("level: two");
  list.add("three");
  list.add("four");
  EXPECT_EQ(shown(list), "one|level: two|three|four") << "the program's own name left out";
  list.add("five");
  EXPECT_EQ(shown(list), "level: two|three|four|five") << "the oldest goes";
  for (long k = 0; k < screen_message_list::LIFE_TICKS; ++k) list.tick();
  EXPECT_EQ(shown(list), "level: two|three|four|five") << "294 ticks: about five seconds";
  list.tick();
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(screen_message_list::LIFE_TICKS * 17, 4998) << "milliseconds";
}

TEST(ScreenMessageList, ShowsWhatTheFontCanAndCutsLongLines) {
  screen_message_list list;
  list.add("τοπία/επίπεδο.json: it\tends\x1b[2J here");
  EXPECT_EQ(std::string(list.line(0)),
            std::string(5, '?') + "/" + std::string(7, '?') + ".json: it?ends?[2J here")
      << "one ? a character";
  std::string longer(300, 'x');
  list.add(longer.c_str());
  std::string cut = list.line(1);
  EXPECT_EQ(cut.size(), screen_message_list::LINE_CHARS);
  EXPECT_EQ(cut.substr(cut.size() - 4), "x...");
  std::string exact(screen_message_list::LINE_CHARS, 'y');
  list.add(exact.c_str());
  EXPECT_EQ(std::string(list.line(2)), exact) << "a line that fits is not cut";
}
