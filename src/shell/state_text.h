// Where an object writes its state as text: one line of numbers after a
// tick, for blobrun's dump and for the hash that replays keep
// (replay/state_dump.h). Every object kind writes its own line, so the dump
// needs to know none of them.
#pragma once

#include <cstdio>

class state_text {
 public:
  virtual ~state_text() = default;
  virtual void put(const char* text, int length) = 0;

  // printf-style; every field of the dump fits the buffer many times over.
  template <class... Args>
  void format(const char* pattern, Args... args) {
    char buffer[128];
    int length = std::snprintf(buffer, sizeof buffer, pattern, args...);
    put(buffer, length);
  }
};
