#include "files/said_lines.h"

#include <atomic>
#include <cstdio>

namespace {
// Lines may be said on a watcher's or a builder's thread.
std::atomic<line_listener> listening{nullptr};
}  // namespace

void say_line(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  if (line_listener listener = listening.load()) listener(line.c_str());
}

void listen_to_said_lines(line_listener listener) { listening.store(listener); }
