// Starting the watcher's thread, the same on every system that has one. A
// thread that cannot be started (too many threads, no memory) leaves a
// watcher that watches nothing and says why; the system's handles are then
// closed by the destructor as usual, not leaked by a constructor that throws.
#include <system_error>

#include "files/file_watch.h"

void file_watch::start_thread() {
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error& error) {
    failure_ = "cannot start its thread: " + error.code().message();
  }
}
