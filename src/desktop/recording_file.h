// The replay that `blobdemo --record` writes, on the disk while the game
// runs. Its file is made beside the replay's name before the game starts,
// and a thread of its own adds the session's new lines to it about once a
// second: a full disk, or one that is gone, is reported while the player
// plays, not after an hour of play. The game's ticks never wait for the
// disk. When the game ends, the whole replay is written over those lines,
// flushed, and renamed into place: the name never holds half a replay.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "files/whole_file_write.h"

class replay_session;
struct replay;

class recording_file {
 public:
  recording_file(const std::string& path, replay_session& session);
  ~recording_file();  // a replay never finished is removed
  recording_file(const recording_file&) = delete;
  recording_file& operator=(const recording_file&) = delete;

  // Before the game: makes the file and starts its thread. False, with the
  // reason, when the file cannot be made or written.
  bool open(std::string& why);

  // Between two ticks: says the first failure to write the file, once.
  void check();

  // After the game: the whole replay, in place. False with the reason.
  bool finish(const replay& recorded, std::string& why);

 private:
  void run();
  void stop();

  std::string path_;
  replay_session& session_;
  file_being_written file_;
  std::mutex lock_;  // guards stopping_ and failure_
  std::condition_variable wake_;
  bool stopping_ = false;
  std::string failure_;
  std::atomic<bool> failed_{false};
  bool said_ = false;
  std::thread thread_;
};
