// The watcher's decisions, apart from how a system reports changes: when a
// file's changes have settled into a save, and when to look again for its
// folder while the folder is gone. The same on every system, and tested
// with clock readings. Times are milliseconds of any steady clock.
#pragma once

#include <algorithm>
#include <cstdint>

// What one report of the system says: the watched file changed (or may
// have: the system lost count of its changes), or the folder's watch ended
// (the folder removed or renamed away).
struct folder_news {
  bool file_changed = false;
  bool folder_gone = false;
};

class watch_timing {
 public:
  // A save that comes as a burst of writes is reported once, after the file
  // has been left alone this long.
  static constexpr std::int64_t QUIET_MS = 120;
  // While the folder is gone it is looked for this often: it may be renamed
  // back or made again, and no system reports that for a path.
  static constexpr std::int64_t LOOK_AGAIN_MS = 1000;

  // The file changed, or may have (the system lost count of its events):
  // the quiet period starts again.
  void changed(std::int64_t now) {
    settling_ = true;
    settled_at_ = now + QUIET_MS;
  }

  // The folder was removed or renamed: nothing is reported until it is back.
  void folder_gone(std::int64_t now) {
    gone_ = true;
    settling_ = false;
    look_at_ = now + LOOK_AGAIN_MS;
  }

  // The folder is there again: the file may have changed meanwhile.
  void folder_back(std::int64_t now) {
    gone_ = false;
    changed(now);
  }

  bool folder_is_gone() const { return gone_; }

  // How long to sleep before something falls due; -1: until the system
  // reports a change.
  std::int64_t wait_ms(std::int64_t now) const {
    std::int64_t due = -1;
    if (settling_) due = settled_at_;
    if (gone_) due = due < 0 ? look_at_ : std::min(due, look_at_);
    return due < 0 ? -1 : std::max<std::int64_t>(0, due - now);
  }

  // True once when the file has been left alone for QUIET_MS.
  bool save_due(std::int64_t now) {
    if (!settling_ || now < settled_at_) return false;
    settling_ = false;
    return true;
  }

  // True when it is time to look for the gone folder; the next look is
  // then LOOK_AGAIN_MS later.
  bool look_due(std::int64_t now) {
    if (!gone_ || now < look_at_) return false;
    look_at_ = now + LOOK_AGAIN_MS;
    return true;
  }

 private:
  bool settling_ = false;
  std::int64_t settled_at_ = 0;
  bool gone_ = false;
  std::int64_t look_at_ = 0;
};
