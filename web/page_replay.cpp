#include "page_replay.h"

#include <utility>

#include "files/file_bytes.h"
#include "files/whole_file_write.h"
#include "level/container.h"
#include "replay/replay_file.h"
#include "replay/replay_session.h"
#include "replay/sha256.h"
#include "shell/counts_and_lists.h"
#include "shell/shown_text.h"
#include "shell/version.h"

namespace {
constexpr const char* PAGE_LEVEL = "/level.map";

replay_session& session() {
  static replay_session page_session(REPLAY_PROGRAM + " (browser)");
  return page_session;
}

// The level that runs: a replay on it needs its bytes again.
std::vector<std::uint8_t> running_level;
}  // namespace

key_source* page_keys() { return &session(); }

void record_page_level(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  running_level = bytes;
  session().record(name, sha256_hex(bytes));
}

bool play_page_replay(const std::vector<std::uint8_t>& bytes, const std::string& name,
                      std::string& message) {
  replay r;
  if (!parse_replay(std::string(bytes.begin(), bytes.end()), name, r, message)) return false;
  std::vector<std::uint8_t> level = running_level;
  std::string reason;
  if (sha256_hex(level) != r.level_sha256 &&
      !(read_file_bytes(PAGE_LEVEL, level, reason) && sha256_hex(level) == r.level_sha256)) {
    message = name + " was played on a level this page does not have (" + shown_text(r.level_path) +
              ", SHA-256 " + r.level_sha256 + "); drop that level first, then the replay";
    return false;
  }
  message = "Replaying " + name + ": " + count_of(r.ticks, "tick") + ", recorded by " +
            shown_text(r.program) + "; Escape stops it";
  set_level_bytes(level, r.level_path);
  remake_world();
  session().play(std::move(r));
  return true;
}

void finish_page_session() {
  std::string reason;
  const replay& recorded = session().recorded();
  if (recorded.ticks > 0) write_file_atomically(PAGE_RECORDING, replay_text(recorded), reason);
  std::string verdict = session().verdict();
  if (!verdict.empty()) write_file_atomically(PAGE_VERDICT, verdict + "\n", reason);
}
