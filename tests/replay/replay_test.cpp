// Replays without a window: the SHA-256 that names a level (against known
// vectors and sha256sum), the state hash (against FNV-1a of the dump text,
// computed plainly here), replay files (written, read back, and every way a
// file is refused), the check of a run against a replay, and files written
// whole or not at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/file_bytes.h"
#include "files/whole_file_write.h"
#include "level/container.h"
#include "level/terrain.h"
#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "replay/replay_session.h"
#include "replay/sha256.h"
#include "replay/state_dump.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"
#include "support/sdl_events.h"

namespace fs = std::filesystem;

namespace {
const std::string SCENES = BLOB_SCENES;

std::vector<std::uint8_t> bytes_of(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string command_output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[256];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  if (pipe) pclose(pipe);
  return out;
}

// The plain reference: FNV-1a over every byte of the text.
std::uint64_t fnv1a(const std::string& text) {
  std::uint64_t hash = 14695981039346656037u;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211u;
  return hash;
}

std::string dump_text(long tick) {
  std::FILE* file = std::tmpfile();
  dump_state(file, tick);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  std::fclose(file);
  return text;
}

// A world made from a stored scene, gone again at the end of the test. The
// view starts where the game's does, whatever an earlier scene left.
struct scene {
  explicit scene(const std::string& level) {
    set_level_file(SCENES + "/" + level);
    view_x = view_y = 0;
    make_world();
  }
  ~scene() {
    destroy_all_instances();
    freeCollisions();
  }
  // One tick as the game runs it: step, then the tick's keys.
  void tick(long t, const std::vector<key_event>& keys) {
    step_pass();
    for (const key_event& k : keys)
      if (k.tick == t) dispatch_event(sdl_key_event(k));
  }
};

const std::vector<key_event> WALK_KEYS = {
    {20, true, SDLK_RIGHT},   {90, true, SDLK_UP},    {91, false, SDLK_UP},
    {150, false, SDLK_RIGHT}, {170, true, SDLK_LEFT}, {215, false, SDLK_LEFT},
    {230, true, SDLK_DOWN},   {240, true, SDLK_TAB},  {250, true, 'q'}};

// A replay of WALK_KEYS on walk_jump.map for 250 ticks, with the real hashes.
replay walk_replay() {
  replay r;
  r.program = REPLAY_PROGRAM;
  r.level_path = SCENES + "/walk_jump.map";
  r.level_sha256 = std::string(64, 'a');
  r.ticks = 250;
  r.events = WALK_KEYS;
  scene world("walk_jump.map");
  for (long t = 1; t <= r.ticks; ++t) {
    world.tick(t, r.events);
    if (t % CHECKPOINT_TICKS == 0 || t == r.ticks) r.checkpoints.push_back({t, state_hash(t)});
  }
  return r;
}

std::string parse_error(const std::string& text) {
  replay r;
  std::string error;
  EXPECT_FALSE(parse_replay(text, "x.replay", r, error)) << text;
  return error;
}

// A replay with each of its lines replaced, added or taken away.
std::string edited(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}
}  // namespace

TEST(sha256, known_vectors_and_sha256sum_of_real_files) {
  EXPECT_EQ(sha256_hex({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256_hex(bytes_of("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256_hex(bytes_of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(sha256_hex(std::vector<std::uint8_t>(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  for (const std::string& file : {SCENES + "/five_blobs.map", std::string(BLOB_DEMO_LEVEL),
                                  std::string(BLOB_TEST_DATA) + "/images/crate.jpg"}) {
    std::vector<std::uint8_t> bytes;
    std::string reason;
    ASSERT_TRUE(read_file_bytes(file, bytes, reason)) << reason;
    EXPECT_EQ(sha256_hex(bytes) + "  " + file + "\n", command_output("sha256sum '" + file + "'"));
  }
}

TEST(state_hash, is_fnv1a_of_the_dump_text_every_tick) {
  scene world("five_blobs.map");
  std::vector<key_event> keys = {{5, true, SDLK_RIGHT}, {40, true, SDLK_TAB}, {60, true, SDLK_UP}};
  std::uint64_t before = 0;
  for (long t = 1; t <= 120; ++t) {
    world.tick(t, keys);
    std::string text = dump_text(t);
    ASSERT_EQ(state_hash(t), fnv1a(text)) << "tick " << t;
    EXPECT_NE(state_hash(t), before) << "the blobs are still falling at tick " << t;
    before = state_hash(t);
  }
  EXPECT_NE(state_hash(7), state_hash(8)) << "the tick number is part of the text";
}

TEST(replay_file, written_and_read_back_the_same) {
  replay r = walk_replay();
  std::string text = replay_text(r);
  EXPECT_EQ(text.rfind("# blobdemo replay\n# program: blobdemo ", 0), 0u) << text;
  EXPECT_NE(text.find("\n20 down Right\n"), std::string::npos);
  EXPECT_NE(text.find("\n250 down 113\n"), std::string::npos) << "other keys by number";
  EXPECT_LT(text.find("\n90 down Up\n"), text.find("\n# state 100: ")) << "in tick order";
  replay back;
  std::string error;
  ASSERT_TRUE(parse_replay(text, "x.replay", back, error)) << error;
  EXPECT_EQ(replay_text(back), text);
  EXPECT_EQ(back.ticks, 250);
  ASSERT_EQ(back.checkpoints.size(), 3u);
  EXPECT_EQ(back.checkpoints[2].hash, r.checkpoints[2].hash);
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ASSERT_TRUE(parse_replay(crlf, "x.replay", back, error)) << error;
  EXPECT_EQ(replay_text(back), text);
  EXPECT_TRUE(looks_like_replay(bytes_of(text)));
  EXPECT_TRUE(looks_like_replay(bytes_of(crlf)));
  EXPECT_FALSE(looks_like_replay(bytes_of("# blobdemo replays\n")));
  EXPECT_FALSE(looks_like_replay(bytes_of("{\"type\": \"map\"}")));
}

TEST(replay_file, every_bad_file_is_refused_in_one_line) {
  std::string good = replay_text(walk_replay());
  std::string last_state = good.substr(good.find("# state 250: "));
  struct bad {
    std::string text, says;
  };
  for (const bad& b : {
           bad{"", "x.replay: not a replay: it does not begin with '# blobdemo replay'"},
           bad{"1 down Right\n" + good, "not a replay"},
           bad{edited(good, "# ticks: 250\n", ""), "x.replay: it has no '# ticks:' line"},
           bad{edited(good, "# level: ", "# where: "), "it has no '# level:' line"},
           bad{edited(good, "# ticks: 250", "# ticks: 250\n# ticks: 250"),
               "x.replay:6: a second '# ticks:' line"},
           bad{edited(good, "# ticks: 250", "# ticks: -3"), "ticks '-3' is not a whole number"},
           bad{edited(good, "# level-sha256: a", "# level-sha256: "),
               "x.replay:4: the level's SHA-256 is not 64 hexadecimal digits"},
           bad{edited(good, "\n20 down Right", "\n20 down Space"), "unknown key 'Space'"},
           bad{edited(good, "# state 100: ", "# state 100 "), "expected '# state <tick>: <16"},
           bad{edited(good, "# state 100: ", "# state 200: "), "two state hashes for tick 200"},
           bad{edited(good, "\n230 down Down", "\n251 down Down"),
               "tick 251 is after its last tick"},
           bad{edited(good, last_state, ""),
               "it ends before the state of its last tick, 250 (is it cut short?)"},
           bad{good.substr(0, good.size() - 5), "expected '# state <tick>"},
           bad{edited(good, "# ticks: 250", "# ticks: 99999999999"),
               "ticks '99999999999' is too large (the most is 2147483647)"},
           bad{edited(edited(good, "# ticks: 250", "# ticks: 2147483647"),
                      "# state 250:", "# state 2147483647:"),
               "x.replay: it has no state hash for tick 300 (a replay holds one every 100 ticks "
               "and one for its last tick)"},
           bad{edited(good, "# state 200: ", "# state 201: "), "no state hash for tick 200"},
           bad{edited(good, "\n# state 250: ", "\n# state 230: 0123456789abcdef\n# state 250: "),
               "a state hash for tick 230, which a replay does not hold"},
           bad{edited(good, "\n20 down Right", std::string("\n20 down Ri\x1b]0;x\a\0ght", 21)),
               "x.replay:8: unknown key 'Ri\\x1b]0;x\\x07\\x00ght'"},
       }) {
    std::string error = parse_error(b.text);
    EXPECT_NE(error.find(b.says), std::string::npos) << error << "\n" << b.says;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

// A run that keeps to the replay matches; one whose key comes a tick late
// differs from the next checkpoint on; one cut short says how far it got.
TEST(replay_check, names_where_a_run_parts_from_the_replay) {
  replay r = walk_replay();
  struct run {
    std::vector<key_event> keys;
    long ticks;
    std::string verdict;
  };
  std::vector<key_event> late = WALK_KEYS;
  late[6].tick += 1;  // Down at 231
  replay other_program = r;
  other_program.program = "blobdemo 0.9\x1b[2J";
  for (const run& k : {run{WALK_KEYS, 250, "replay matches: 250 ticks"},
                       run{late, 250,
                           "replay differs at the checkpoint of tick 250: the state's "
                           "hash is "},
                       run{WALK_KEYS, 120,
                           "replay stopped at tick 120 of 250; it matched so far "
                           "(checkpoints up to tick 100)"}}) {
    replay_check check(r, REPLAY_PROGRAM);
    scene world("walk_jump.map");
    long t = 1;
    for (; t <= k.ticks; ++t) {
      world.tick(t, k.keys);
      if (!check.after_tick(t)) break;
    }
    std::string verdict = check.verdict(t - 1);
    EXPECT_EQ(verdict.substr(0, k.verdict.size()), k.verdict) << verdict;
    if (check.differs()) {
      EXPECT_NE(verdict.find("; the last that matched is tick 200"), std::string::npos) << verdict;
    }
  }
  replay_check versions(other_program, REPLAY_PROGRAM);
  scene world("walk_jump.map");
  world.tick(1, {});
  for (long t = 1; t <= 100; ++t) versions.after_tick(t);  // the state of tick 1, checked at 100
  EXPECT_NE(versions.verdict(100).find("no checkpoint before it matched (recorded by blobdemo "
                                       "0.9\\x1b[2J, replayed by blobdemo "),
            std::string::npos)
      << versions.verdict(100);
}

// A session plays a replay until its last tick or its own Escape, and when
// a recording replaces the replay (a level dropped on the page), the verdict
// is on the ticks it played, not a match. The lines it hands a writer while
// it records add up to the replay's.
TEST(replay_session, plays_to_its_own_escape_and_records_in_lines) {
  view_x = view_y = 0;  // each world below starts from the same view
  replay r = walk_replay();
  replay escaped = r;
  escaped.events.insert(escaped.events.begin() + 1, {50, true, SDLK_ESCAPE});
  replay_session session;
  auto run = [&session](long ticks) {
    long t = 1;
    for (; t <= ticks; ++t) {
      step_pass();
      if (session.event_pass()) break;
    }
    return t;
  };
  {
    view_x = view_y = 0;
    scene world("walk_jump.map");
    session.play(escaped);
    EXPECT_EQ(run(250), 50) << "the replay's own Escape ends it";
    EXPECT_EQ(session.verdict(),
              "replay stopped at tick 50 of 250; it matched so far (no checkpoint yet)");
  }
  view_x = view_y = 0;
  scene world("walk_jump.map");
  session.play(r);
  EXPECT_EQ(run(120), 121);
  session.record("/levels/other.map", std::string(64, 'b'));
  std::string lines;
  for (int second = 0; second < 3; ++second) {
    run(100);
    lines += session.new_recorded_lines();
  }
  session.stop_recording();
  lines += session.new_recorded_lines();
  EXPECT_EQ(session.verdict(),
            "replay stopped at tick 120 of 250; it matched so far (checkpoints up to tick 100)");
  std::string whole = replay_text(session.recorded());
  EXPECT_EQ(session.recorded().ticks, 300);
  EXPECT_EQ(whole.substr(whole.size() - lines.size()), lines);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
}

// The game's side, through SDL's queue: keys polled in a tick's event pass
// are recorded with that tick, so the session recorded is the replay of the
// same keys handed out after the same ticks, checkpoints and all; played
// back, the session hands each key out after its tick again, to a match.
TEST(replay_session, records_each_key_with_its_tick_and_plays_it_back) {
  start_sdl_events();
  const replay expected = walk_replay();
  replay_session session;
  {
    scene world("walk_jump.map");
    session.record(expected.level_path, expected.level_sha256);
    for (long t = 1; t <= expected.ticks; ++t) {
      step_pass();
      for (const key_event& k : WALK_KEYS) {
        SDL_Event event = sdl_key_event(k);
        if (k.tick != t) continue;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
      }
      ASSERT_FALSE(session.event_pass()) << "tick " << t;
    }
    session.stop_recording();
  }
  EXPECT_EQ(replay_text(session.recorded()), replay_text(expected));
  scene world("walk_jump.map");
  session.play(session.recorded());
  long ticks = 0;
  do {
    step_pass();
    ++ticks;
  } while (!session.event_pass() && ticks < 1000);
  EXPECT_EQ(ticks, expected.ticks);
  EXPECT_EQ(session.verdict(), "replay matches: 250 ticks");
}

TEST(write_whole_file, writes_whole_or_leaves_nothing) {
  fs::path folder = fs::temp_directory_path() / ("blob-replay-" + std::to_string(::getpid()));
  fs::create_directories(folder / "taken");
  std::string reason;
  EXPECT_TRUE(write_file_atomically((folder / "a.replay").string(), "one\n", reason)) << reason;
  EXPECT_TRUE(write_file_atomically((folder / "a.replay").string(), "two\n", reason)) << reason;
  std::ifstream in(folder / "a.replay");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "two\n");
  EXPECT_FALSE(write_file_atomically((folder / "no" / "b.replay").string(), "x", reason));
  EXPECT_NE(reason.find("No such file or directory"), std::string::npos) << reason;
  EXPECT_FALSE(write_file_atomically((folder / "taken").string(), "x", reason));
  EXPECT_TRUE(fs::is_directory(folder / "taken"));
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u) << "no temporary file is left behind";
  fs::remove_all(folder);
}
