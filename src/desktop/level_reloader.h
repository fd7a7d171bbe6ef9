// Remakes the world from the level file each time it is saved. The file is
// read and built on a thread of its own, however long a large source takes
// to split into triangles, while the game goes on ticking; the new world is
// swapped in between two ticks. A save that cannot be played (unreadable,
// a source that does not build, a level file cut short, as one still being
// written is) leaves the world as it is and is reported once, however often
// the same reason comes back. The folder going away and coming back is
// said once each. The findings on each level played, at the start and
// after each save, are made on a thread of their own too, and said when
// they are ready. The game never waits for any of it: quitting abandons a
// build or findings under way.
#pragma once

#include <cstdint>
#include <future>
#include <string>
#include <vector>

#include "files/file_watch.h"
#include "level/source/level_load.h"

class replay_session;

// A level read and, for a source, built: everything a reload needs that can
// be done away from the game's loop.
struct built_level {
  bool playable = false;
  std::string why;                 // when not playable
  std::vector<std::string> notes;  // things worth saying either way
  level_input level;               // for a level that plays
  std::size_t triangles = 0, objects = 0;
};

class level_reloader {
 public:
  // Watches `path`; with a session, the recording stops at the first reload.
  level_reloader(const std::string& path, replay_session* session);

  // Makes the findings on the level that now plays, to be said once made.
  void examine(level_input level);

  // Between two ticks: a few atomic reads unless something happened.
  void check();

 private:
  void say_folder_news();
  void swap_in(built_level built);
  void stop_recording();

  std::string name_;  // as given, for messages
  std::string path_;  // the whole path, which a folder made again still finds
  replay_session* session_;
  std::string last_failure_;
  bool said_gone_ = false;
  bool wanted_ = false;  // a save came while a build was under way
  std::future<built_level> build_;
  std::future<std::vector<std::string>> findings_;
  file_watch watch_;
};
