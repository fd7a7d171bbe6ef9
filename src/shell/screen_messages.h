// The lines the game says, shown at the bottom of its window as well as on
// standard error: on Windows and on the page nobody reads standard error.
// Every line said through files/said_lines.h comes here once the program
// has asked for it. A line stays about five seconds, and the newest four
// are shown, drawn last of all on a dark band, in the game's bitmap font at
// three quarters of the caption's size.
//
// The list is fixed in size and its lines are kept in buffers of their own,
// so saying a line, aging the list once a tick and drawing it allocate
// nothing. Lines may be said on any thread; a lock guards the list.
#pragma once

#include <cstddef>

// How the lines are kept, apart from the GL: a ring of the newest four,
// each with the tick it came in.
class screen_message_list {
 public:
  static constexpr int LINES_SHOWN = 4;
  // About five seconds at 17 ms a tick.
  static constexpr long LIFE_TICKS = 294;
  // Three rows of the band, room for two folders named in full; a longer
  // line is cut short with "...", as the whole of it is on standard error.
  static constexpr std::size_t LINE_CHARS = 195;

  // Adds a line as the newest, pushing out the oldest when four are kept.
  // The program's own name in front ("blobdemo: ") is left out, and
  // whatever the font cannot show (control characters, and each character
  // beyond ASCII) becomes '?'.
  void add(const char* line);
  // One tick older: lines older than LIFE_TICKS go.
  void tick();
  int size() const { return size_; }
  // Line `k`, the oldest first.
  const char* line(int k) const { return ring_[(first_ + k) % LINES_SHOWN].text; }

 private:
  struct entry {
    char text[LINE_CHARS + 1];
    long said_at;
  };
  entry ring_[LINES_SHOWN] = {};
  int first_ = 0;
  int size_ = 0;
  long now_ = 0;
};

// From now on every line said (files/said_lines.h) is shown, unless the
// environment has BLOB_TEST_NO_SCREEN_MESSAGES set: the pixel tests that
// compare the game's frames with stored or native ones turn them off so.
// The programs' mains call it first.
void show_said_lines_on_screen();

// Once a tick.
void age_screen_messages();

// Draws the lines that are shown on their band at the bottom of the window,
// in the frame of the tick (see view.h). Leaves texturing on, the font
// bound and blending as it found it.
void draw_screen_messages();
