#include "desktop/recording_file.h"

#include <chrono>
#include <system_error>

#include "desktop/blobdemo_says.h"
#include "replay/replay_file.h"
#include "replay/replay_session.h"

namespace {
// How often the thread adds what was recorded meanwhile: a key event or two
// and a state hash every 100 ticks (1.7 s), a few bytes a second.
constexpr auto WRITE_EVERY = std::chrono::seconds(1);
}  // namespace

recording_file::recording_file(const std::string& path, replay_session& session)
    : path_(path), session_(session) {}

recording_file::~recording_file() { stop(); }

// An empty replay's lines at once, so that a file that cannot be written at
// all is refused before the game.
bool recording_file::open(std::string& why) {
  std::string start = replay_text(replay{});
  if (!file_.begin(path_, why) || !file_.append(start.data(), start.size(), why)) return false;
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error& error) {
    why = "cannot start a thread to write it: " + error.code().message();
    return false;
  }
  return true;
}

void recording_file::run() {
  std::unique_lock<std::mutex> lock(lock_);
  while (!stopping_) {
    wake_.wait_for(lock, WRITE_EVERY, [this] { return stopping_; });
    lock.unlock();
    std::string lines = session_.new_recorded_lines(), why;
    bool written = file_.append(lines.data(), lines.size(), why);
    lock.lock();
    if (!written && failure_.empty()) {
      failure_ = why;
      failed_.store(true);
    }
  }
}

void recording_file::stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(lock_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void recording_file::check() {
  if (said_ || !failed_.load(std::memory_order_relaxed)) return;
  said_ = true;
  std::lock_guard<std::mutex> lock(lock_);
  blobdemo_says("cannot write the replay " + path_ + ": " + failure_ +
                "; the recording goes on, and is written again when the game ends");
}

bool recording_file::finish(const replay& recorded, std::string& why) {
  stop();
  std::string text = replay_text(recorded);
  return file_.rewrite(text.data(), text.size(), why) && file_.finish(why);
}
