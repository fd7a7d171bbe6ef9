#include "private_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int DISPLAY_FD = 3;            // Xvfb -displayfd writes its display number here
constexpr int START_TIMEOUT_MS = 20000;  // a loaded machine can take seconds
constexpr int EXEC_FAILED = 127;

// In the child: fd 3 is the pipe's write end, output goes nowhere, and the
// server dies with the tool even if the tool is killed.
[[noreturn]] void exec_xvfb(int write_end) {
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (write_end != DISPLAY_FD) {
    dup2(write_end, DISPLAY_FD);
    close(write_end);
  }
  int null_fd = open("/dev/null", O_RDWR);
  if (null_fd >= 0) {
    dup2(null_fd, STDIN_FILENO);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
  }
  // -noreset: without it the server resets when SDL's probe connection
  // closes, and SDL's real connection then fails now and then.
  execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
         "-noreset", static_cast<char*>(nullptr));
  _exit(EXEC_FAILED);
}

enum class start_outcome { number, stopped, timed_out };

// Reads the display number line, waiting at most the start timeout. The
// pipe closes without a number when the server (or the exec) fails.
start_outcome read_display_number(int read_end, std::string& number) {
  char c;
  while (number.find('\n') == std::string::npos) {
    pollfd p{read_end, POLLIN, 0};
    int ready = poll(&p, 1, START_TIMEOUT_MS);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return start_outcome::timed_out;
    if (ready < 0 || read(read_end, &c, 1) != 1) return start_outcome::stopped;
    number += c;
  }
  number.erase(number.find('\n'));
  return start_outcome::number;
}

// Waits for the server that stopped and says why; forgets the pid once it
// has been reaped, so it is never signalled after the number may have gone
// to another process.
std::string stop_reason(pid_t& pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return "it stopped at once";
  pid = -1;
  if (WIFEXITED(status) && WEXITSTATUS(status) == EXEC_FAILED)
    return "Xvfb is not installed (Debian package xvfb), or set DISPLAY to a running X server";
  if (WIFEXITED(status))
    return "it stopped at once (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
  return "it stopped at once (signal " + std::to_string(WTERMSIG(status)) + ")";
}
}  // namespace

bool private_display::start(std::string& why) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    why = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  pid_ = fork();
  int fork_error = errno;
  if (pid_ == 0) exec_xvfb(fds[1]);
  close(fds[1]);
  std::string number;
  start_outcome outcome = pid_ > 0 ? read_display_number(fds[0], number) : start_outcome::stopped;
  close(fds[0]);
  if (pid_ < 0) {
    why = std::string("cannot start Xvfb: ") + std::strerror(fork_error);
    return false;
  }
  if (outcome == start_outcome::timed_out) {
    why = "cannot start Xvfb: it did not say which display it took within " +
          std::to_string(START_TIMEOUT_MS / 1000) + " seconds";
    return false;
  }
  if (outcome == start_outcome::stopped) {
    why = "cannot start Xvfb: " + stop_reason(pid_);
    return false;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return true;
}

bool private_display::prepare(std::string& why) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    if (!start(why)) return false;
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  }
  setenv("SDL_VIDEODRIVER", "x11", 0);
  return true;
}

std::string private_display::name() {
  const char* display = std::getenv("DISPLAY");
  return std::string("display ") + (display ? display : "?");
}

private_display::~private_display() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

const char* private_display::where_drawn() {
  return "Without DISPLAY it starts an Xvfb of its own.";
}
