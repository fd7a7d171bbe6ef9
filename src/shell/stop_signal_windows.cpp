// Windows' side of stop_signal.h, with the C library's signal(), which
// Windows has instead of sigaction. Windows puts a handler back to the
// default before it runs it, so the handler catches its signal again for
// the next one. Windows has no SIGHUP.
#include <csignal>

#include "shell/stop_signal.h"

namespace {
volatile std::sig_atomic_t received = 0;

void note_signal(int signal_number) {
  received = 1;
  std::signal(signal_number, note_signal);
}

void catch_unless_ignored(int signal_number) {
  auto before = std::signal(signal_number, note_signal);
  if (before == SIG_IGN || before == SIG_ERR) std::signal(signal_number, before);
}
}  // namespace

void end_game_on_stop_signals() {
  catch_unless_ignored(SIGINT);
  catch_unless_ignored(SIGTERM);
}

bool stop_signal_received() { return received != 0; }
