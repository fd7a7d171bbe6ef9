// oggplay: plays one Ogg Vorbis file through ogg_stream, the game's streaming
// music player, so the player can be heard and checked outside the game.
//
//   oggplay FILE.ogg
//
// Prints the stream's information and comments, then how far it has played
// (on one line that keeps changing when standard output is a terminal).
// Exit status: 0 when the file played to its end, 1 on an error or a file
// cut short (one line on standard error), 2 on a wrong command line, 130
// when interrupted.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "audio/audio_device.h"
#include "audio/ogg_stream.h"
#include "device_advice.h"
#include "files/file_bytes.h"
#include "files/utf8_paths.h"
#include "shell/version.h"

namespace {

using clock_type = std::chrono::steady_clock;

// One buffer holds 0.74 s of stereo sound at 44.1 kHz; refilling every 10 ms
// keeps the source fed with plenty to spare.
constexpr auto k_update_period = std::chrono::milliseconds(10);
// The progress line changes ten times a second: often enough to look smooth.
constexpr auto k_progress_period = std::chrono::milliseconds(100);

volatile std::sig_atomic_t interrupted = 0;
void on_interrupt(int) { interrupted = 1; }

void print_usage(std::FILE* to) { std::fprintf(to, "usage: oggplay FILE.ogg\n"); }

// Seconds played, on one line rewritten in place on a terminal; elsewhere only
// the final count is written, so a log gets one line.
class progress_line {
 public:
  progress_line() : on_terminal_(isatty(STDOUT_FILENO) != 0) {}
  progress_line(const progress_line&) = delete;
  progress_line& operator=(const progress_line&) = delete;
  // Ends a line left open by an error, so the error gets a line of its own.
  ~progress_line() {
    if (line_open_) std::printf("\n");
  }

  void show(double seconds) {
    const auto now = clock_type::now();
    if (!on_terminal_ || now < next_) return;
    next_ = now + k_progress_period;
    std::printf("\rplayed %.1f s", seconds);
    std::fflush(stdout);
    line_open_ = true;
  }

  void finish(double seconds) {
    std::printf("%splayed %.1f s\n", on_terminal_ ? "\r" : "", seconds);
    std::fflush(stdout);
    line_open_ = false;
  }

 private:
  bool on_terminal_;
  bool line_open_ = false;
  clock_type::time_point next_{};
};

// OpenAL Soft finds no device on a machine without a sound card, but offers
// two that need none: a silent one, and a wave writer set up in a
// configuration file. How to ask for them differs by system
// (device_advice.h).
std::string device_advice() {
  const char* drivers = std::getenv("ALSOFT_DRIVERS");
  if (drivers != nullptr && std::strcmp(drivers, "null") == 0) return "";
  return NO_DEVICE_ADVICE;
}

// Starts the sound and keeps the source fed until the file has run out and
// the queued sound has played, or until the user interrupts.
void play_to_end(ogg_stream& player) {
  progress_line progress;
  const auto start = clock_type::now();
  const auto seconds = [&] {
    return std::chrono::duration<double>(clock_type::now() - start).count();
  };
  bool more = player.playback();  // false: the file holds no sound at all
  while ((more || player.playing()) && interrupted == 0) {
    if (more) more = player.update();
    progress.show(seconds());
    std::this_thread::sleep_for(k_update_period);
  }
  progress.finish(seconds());
}

// Plays the file on the open device; the exit status: 0, or 1 after one
// line when the file cannot be played, is cut short or cannot be let go.
int play_file(const std::string& path) {
  int status = 0;
  ogg_stream player;
  try {
    player.open(path);
    player.display();
    play_to_end(player);
    if (interrupted == 0 && player.ended_early()) {
      std::fprintf(stderr,
                   "oggplay: %s: the file ends before its stream does (cut short?); only the "
                   "part present played\n",
                   path.c_str());
      status = 1;
    }
  } catch (const std::string& text) {
    std::fprintf(stderr, "oggplay: %s: %s\n", path.c_str(), text.c_str());
    status = 1;
  }
  try {
    player.release();
  } catch (const std::string& text) {
    std::fprintf(stderr, "oggplay: %s: %s\n", path.c_str(), text.c_str());
    status = 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  use_utf8_arguments(argc, argv);
  if (answered_version(argc, argv, "oggplay")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    print_usage(stdout);
    return 0;
  }
  if (argc != 2) {
    print_usage(stderr);
    return 2;
  }
  const std::string path = argv[1];

  // The player would only say that the file could not be opened; the
  // reader's reason says more (a folder, a pipe, a device, a missing file).
  std::string reason;
  if (!is_readable_file(path, reason)) {
    std::fprintf(stderr, "oggplay: %s: cannot open it: %s\n", path.c_str(), reason.c_str());
    return 1;
  }
  if (!open_audio_device(&argc, argv, reason)) {
    std::fprintf(stderr, "oggplay: cannot open the audio device: %s%s\n", reason.c_str(),
                 device_advice().c_str());
    return 1;
  }
  // Ctrl-C ends the loop instead of the process, so the device is closed and
  // a wave-writer device finishes its file.
  std::signal(SIGINT, on_interrupt);
  std::signal(SIGTERM, on_interrupt);
  int status = play_file(path);
  close_audio_device();
  if (status == 0 && interrupted != 0) status = 130;
  return status;
}
