// The real game binary, started as a child process in a folder of its own,
// with its standard error kept for the test to read.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class game_process {
 public:
  // Starts `program` with `args` in `folder` with the extra environment
  // entries given (and BLOB_TEST_NO_SCREEN_MESSAGES=1 unless they say
  // otherwise), and with the signals given ignored, as a shell's
  // `trap '' SIG` leaves them.
  game_process(const std::string& program, const std::string& folder,
               const std::vector<std::string>& extra_env = {},
               const std::vector<int>& ignored_signals = {},
               const std::vector<std::string>& args = {});
  ~game_process();  // kills the game if it still runs
  game_process(const game_process&) = delete;
  game_process& operator=(const game_process&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  // Waits up to `seconds` for the game to end; returns its exit status, or
  // -1 if it is still running then (or was killed by a signal: -2).
  int wait_exit(double seconds);
  // CPU time (user + system) the ended game used, in seconds.
  double cpu_seconds() const { return cpu_seconds_; }
  std::string stderr_text() const;
  // Waits up to `seconds` for the game's standard error to hold `part`.
  bool says(const std::string& part, double seconds) const;

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  double cpu_seconds_ = 0;
  std::string stderr_path_;
};
