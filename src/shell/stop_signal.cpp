#include "shell/stop_signal.h"

#include <signal.h>

namespace {
volatile sig_atomic_t received = 0;

void note_signal(int) { received = 1; }

void catch_unless_ignored(int signal_number) {
  struct sigaction before;
  if (sigaction(signal_number, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) return;
  struct sigaction catcher {};
  catcher.sa_handler = note_signal;
  sigemptyset(&catcher.sa_mask);
  catcher.sa_flags = SA_RESETHAND;  // the second signal finds the default again
  sigaction(signal_number, &catcher, nullptr);
}
}  // namespace

void end_game_on_stop_signals() {
  catch_unless_ignored(SIGINT);
  catch_unless_ignored(SIGTERM);
}

bool stop_signal_received() { return received != 0; }
