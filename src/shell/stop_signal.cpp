#include "shell/stop_signal.h"

#include <signal.h>

#include <initializer_list>

namespace {
volatile sig_atomic_t received = 0;

void note_signal(int) { received = 1; }

// SA_RESTART: a write of the recording that a signal interrupts goes on.
void catch_unless_ignored(int signal_number) {
  struct sigaction before;
  if (sigaction(signal_number, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) return;
  struct sigaction catcher {};
  catcher.sa_handler = note_signal;
  sigemptyset(&catcher.sa_mask);
  catcher.sa_flags = SA_RESTART;
  sigaction(signal_number, &catcher, nullptr);
}
}  // namespace

void end_game_on_stop_signals() {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) catch_unless_ignored(signal_number);
}

bool stop_signal_received() { return received != 0; }
