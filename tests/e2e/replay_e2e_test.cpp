// Replays of the real game: a session played with real key presses through
// XTEST and recorded with --record, then checked by blobrun --replay (as it
// is, with one key event moved by a tick, and on another level) and shown
// again with blobdemo --replay, whose frames must equal the session's at the
// same ticks. Ctrl-C, kill and a closed terminal while recording still leave
// a whole replay, and a disk that fills up is reported while the game runs.
// The game runs on the demo level; each test has its own X server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/game_process.h"
#include "e2e/play_folder.h"
#include "e2e/x_window.h"
#include "files/file_bytes.h"
#include "replay/replay_file.h"
#include "replay/sha256.h"

namespace fs = std::filesystem;

namespace {
const std::string GAME = BLOB_GAME_BINARY;
const std::string RUNNER = BLOB_RUNNER_BINARY;
const std::string SHOTS = BLOB_SHOT_DIR;
constexpr long GRABBED[] = {150, 450};  // ticks whose frames are compared

void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct command_result {
  int status;
  std::string output;  // standard output and error
};

command_result run(const std::string& command) {
  command_result result{-1, ""};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
  int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

command_result replay_with_blobrun(const fs::path& replay, const std::string& level = "") {
  return run(RUNNER + " --replay '" + replay.string() + "'" +
             (level.empty() ? "" : " '" + level + "'"));
}

// About ten seconds of play: steering both ways, jumps, Down, two Tabs.
void play_a_while(x_window& window) {
  pause(0.8);
  window.key("Right", true);
  pause(1.2);
  window.tap("Up");
  pause(0.6);
  window.key("Right", false);
  window.tap("Down");
  pause(0.8);
  window.tap("Tab");
  pause(1.0);
  window.key("Left", true);
  pause(1.0);
  window.tap("Up");
  pause(0.7);
  window.key("Left", false);
  window.tap("Tab");
  pause(0.5);
  window.key("Right", true);
  pause(0.8);
  window.tap("Down");
  window.key("Right", false);
  pause(2.0);
}

screenshot read_ppm(const fs::path& path) {
  screenshot s;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int depth = 0;
  in >> magic >> s.width >> s.height >> depth;
  in.get();
  s.rgb.resize(static_cast<std::size_t>(s.width) * s.height * 3);
  in.read(reinterpret_cast<char*>(s.rgb.data()), static_cast<std::streamsize>(s.rgb.size()));
  return s;
}

std::vector<std::string> grab_env(const fs::path& prefix) {
  return {"LD_PRELOAD=" BLOB_FRAME_GRAB, "BLOB_GRAB_TICKS=150,450",
          "BLOB_GRAB_PREFIX=" + prefix.string()};
}

// One key event line of the replay moved a tick later.
std::string with_first_event_moved(const std::string& text, std::string& moved) {
  std::istringstream in(text);
  std::string out, line;
  bool done = false;
  while (std::getline(in, line)) {
    key_event event{};
    bool is_event = false;
    std::string error;
    if (!done && parse_key_line(line, event, is_event, error) && is_event) {
      event.tick += 1;
      moved = line + " -> " + key_event_line(event);
      line = key_event_line(event);
      done = true;
    }
    out += line + "\n";
  }
  return out;
}

class Replay : public ::testing::Test {
 protected:
  Replay() : folder_(true, nullptr) { fs::copy_file(BLOB_DEMO_LEVEL, folder_.path / "level.map"); }
  fs::path at(const std::string& name) const { return folder_.path / name; }
  play_folder folder_;
};
}  // namespace

TEST_F(Replay, RecordedSessionReplaysBitForBit) {
  x_window window;
  const fs::path replay_path = at("session.replay");
  game_process game(GAME, folder_.path.string(), grab_env(at("session_")), {},
                    {"--record", "session.replay"});
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  play_a_while(window);
  // A loaded machine runs fewer ticks a second: the last frame to compare
  // tells that enough have run.
  const fs::path last_frame = at("session_" + std::to_string(GRABBED[1]) + ".ppm");
  for (int waited = 0; !fs::exists(last_frame) && waited < 600; ++waited) pause(0.1);
  window.tap("Escape");
  ASSERT_EQ(game.wait_exit(30), 0) << game.stderr_text();
  EXPECT_NE(game.stderr_text().find("session.replay: "), std::string::npos) << game.stderr_text();

  replay recorded;
  std::string error;
  ASSERT_TRUE(read_replay(replay_path.string(), recorded, error)) << error;
  EXPECT_GT(recorded.ticks, GRABBED[1]);
  EXPECT_EQ(recorded.level_path, fs::canonical(at("level.map")).string());
  std::vector<std::uint8_t> level_bytes;
  ASSERT_TRUE(read_file_bytes(at("level.map").string(), level_bytes, error));
  EXPECT_EQ(recorded.level_sha256, sha256_hex(level_bytes));
  int downs[SDLK_LAST] = {};
  for (const key_event& e : recorded.events) downs[e.key] += e.down ? 1 : 0;
  EXPECT_EQ(downs[SDLK_TAB], 2);
  EXPECT_EQ(downs[SDLK_UP], 2);
  EXPECT_EQ(downs[SDLK_DOWN], 2);
  EXPECT_GE(downs[SDLK_LEFT], 1);
  EXPECT_GE(downs[SDLK_RIGHT], 2);
  EXPECT_EQ(recorded.events.back().key, SDLK_ESCAPE);
  EXPECT_EQ(recorded.events.back().tick, recorded.ticks) << "Escape's tick is the last";
  EXPECT_EQ(recorded.checkpoints.size(), static_cast<std::size_t>(recorded.ticks / 100 + 1));

  command_result same = replay_with_blobrun(replay_path);
  EXPECT_EQ(same.status, 0) << same.output;
  EXPECT_EQ(same.output, "replay matches: " + std::to_string(recorded.ticks) + " ticks\n");

  std::string moved;
  std::ofstream(at("moved.replay")) << with_first_event_moved(read_text(replay_path), moved);
  command_result late = replay_with_blobrun(at("moved.replay"));
  EXPECT_EQ(late.status, 1) << moved << ": " << late.output;
  EXPECT_NE(late.output.find("replay differs at the checkpoint of tick "), std::string::npos)
      << moved << ": " << late.output;

  command_result other = replay_with_blobrun(replay_path, BLOB_OTHER_LEVEL);
  EXPECT_EQ(other.status, 2) << other.output;
  EXPECT_NE(other.output.find("is not the level the replay was played on"), std::string::npos);
  EXPECT_NE(other.output.find(recorded.level_sha256), std::string::npos) << other.output;

  // Shown again in the game, from another folder: the same frames.
  x_window again;
  game_process shown(GAME, fs::temp_directory_path().string(), grab_env(at("replay_")), {},
                     {"--replay", replay_path.string()});
  ASSERT_TRUE(again.find_game_window(30)) << shown.stderr_text();
  again.tap("Left");  // ignored: only Escape gets through
  EXPECT_EQ(shown.wait_exit(recorded.ticks / 15.0 + 20), 0) << shown.stderr_text();
  EXPECT_NE(shown.stderr_text().find("replay matches: " + std::to_string(recorded.ticks)),
            std::string::npos)
      << shown.stderr_text();
  for (long tick : GRABBED) {
    std::string name = std::to_string(tick) + ".ppm";
    screenshot played = read_ppm(at("session_" + name)), replayed = read_ppm(at("replay_" + name));
    played.save_png(SHOTS + "/replay_session_" + std::to_string(tick) + ".png");
    replayed.save_png(SHOTS + "/replay_shown_" + std::to_string(tick) + ".png");
    ASSERT_EQ(played.rgb.size(), 800u * 600 * 3) << name;
    EXPECT_TRUE(played.rgb == replayed.rgb) << "the frames of tick " << tick << " differ";
  }
}

// kill, Ctrl-C and a closed terminal (SIGHUP) end a recorded game after a
// whole tick and still write the replay, whole, and so does a storm of
// Ctrl-C, one a millisecond until the game has ended: no second signal may
// kill it before the replay is written. Ctrl-C ignored at start stays
// ignored.
TEST_F(Replay, KillWhileRecordingStillWritesAWholeReplay) {
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP, 0}) {
    x_window window;
    game_process game(GAME, folder_.path.string(), {}, {}, {"--record", "killed.replay"});
    ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
    window.tap("Right");
    pause(1.0);
    if (signal_number != 0) ::kill(game.pid(), signal_number);
    for (int sent = 0; signal_number == 0 && sent < 3000 && game.running(); ++sent) {
      ::kill(game.pid(), SIGINT);
      pause(0.001);
    }
    ASSERT_EQ(game.wait_exit(30), 0) << signal_number << ": " << game.stderr_text();
    command_result checked = replay_with_blobrun(at("killed.replay"));
    EXPECT_EQ(checked.status, 0) << checked.output;
    EXPECT_FALSE(fs::exists(at("killed.replay.partial")));
  }
  for (const auto& entry : fs::directory_iterator(folder_.path))
    EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos)
        << "a temporary file left: " << entry.path();
  x_window window;
  game_process game(GAME, folder_.path.string(), {}, {SIGINT}, {"--record", "ignored.replay"});
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  ::kill(game.pid(), SIGINT);
  pause(0.3);
  EXPECT_TRUE(game.running()) << "an ignored Ctrl-C ended the game";
  window.tap("Escape");
  EXPECT_EQ(game.wait_exit(30), 0);
  EXPECT_EQ(replay_with_blobrun(at("ignored.replay")).status, 0);
}

// A disk that fills up while the game records (here: a limit of 1 KiB on
// the files it writes) is said while the game runs, not only after Escape;
// the game plays on, and at the end says the replay could not be written.
TEST_F(Replay, AFullDiskIsSaidWhileTheGameRuns) {
  rlimit usual;
  getrlimit(RLIMIT_FSIZE, &usual);
  rlimit small = usual;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  game_process game(GAME, folder_.path.string(), {}, {SIGXFSZ}, {"--record", "full.replay"});
  setrlimit(RLIMIT_FSIZE, &usual);
  x_window window;
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  const std::string said = "cannot write the replay full.replay: File too large; the recording goes on";
  for (int tap = 0; tap < 600 && game.stderr_text().find(said) == std::string::npos; ++tap) {
    window.tap(tap % 2 ? "Left" : "Right");  // 28 bytes of key events a tap
    pause(0.02);
  }
  EXPECT_NE(game.stderr_text().find(said), std::string::npos) << game.stderr_text();
  EXPECT_TRUE(game.running());
  window.tap("Escape");
  EXPECT_EQ(game.wait_exit(30), 1);
  EXPECT_NE(game.stderr_text().find("cannot write the replay full.replay: File too large\n"),
            std::string::npos)
      << game.stderr_text();
  EXPECT_FALSE(fs::exists(at("full.replay")));
}

// A save of the level while it is recorded: the game shows the new level,
// the recording stops at the swap, and the replay holds the ticks before it,
// which replay on the level as it was.
TEST_F(Replay, ASaveOfTheLevelEndsTheRecordingThere) {
  x_window window;
  game_process game(GAME, folder_.path.string(), {}, {}, {"--record", "saved.replay", "level.map"});
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  window.key("Right", true);
  pause(1.0);
  fs::copy_file(BLOB_OTHER_LEVEL, at("level.map"), fs::copy_options::overwrite_existing);
  const std::string stops = "the recording stops here, after tick ";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (game.stderr_text().find(stops) == std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    pause(0.05);
  window.key("Right", false);
  pause(0.5);
  window.tap("Escape");
  ASSERT_EQ(game.wait_exit(30), 0);
  std::string err = game.stderr_text();
  std::size_t at_stop = err.find(stops);
  ASSERT_NE(at_stop, std::string::npos) << err;
  long ticks = std::stol(err.substr(at_stop + stops.size()));
  replay saved;
  std::string error;
  ASSERT_TRUE(read_replay(at("saved.replay").string(), saved, error)) << error;
  EXPECT_EQ(saved.ticks, ticks);
  EXPECT_NE(saved.events.back().key, SDLK_ESCAPE) << "keys after the swap are not in it";
  command_result checked = replay_with_blobrun(at("saved.replay"), BLOB_DEMO_LEVEL);
  EXPECT_EQ(checked.status, 0) << checked.output;
}

// What cannot work is refused before the game starts, in one line. An
// X.partial that stands beside the replay's name (here a link to another
// file) is neither removed nor followed, even when the game then fails.
TEST_F(Replay, RefusesWhatCannotWorkInOneLine) {
  fs::create_directory(at("folder"));
  ASSERT_EQ(mkfifo(at("pipe.replay").c_str(), 0600), 0);
  std::ofstream(at("cut.replay")) << "# blobdemo replay\n";
  std::ofstream(at("precious.txt")) << "precious";
  fs::create_symlink("precious.txt", at("x.replay.partial"));
  struct refusal {
    std::vector<std::string> args;
    std::string says;
  };
  for (const refusal& r :
       {refusal{{"--record", "folder"}, "cannot record to folder: it is a folder, not a file"},
        refusal{{"--record", "pipe.replay"},
                "cannot record to pipe.replay: it is a pipe, not a file"},
        refusal{{"--record", "level.map"},
                "cannot record to level.map: it is the level being played"},
        refusal{{"--record", "no/such/folder.replay"}, "cannot record to no/such/folder.replay: "},
        refusal{{"--record", "x.replay", "missing.map"}, "missing.map: cannot read it: "},
        refusal{{"--replay", "cut.replay"}, "cut.replay: it has no '# level:' line"},
        refusal{{"--replay", "missing.replay"}, "cannot read the replay: "}}) {
    game_process game(GAME, folder_.path.string(), {}, {}, r.args);
    EXPECT_EQ(game.wait_exit(30), 1) << r.args[1];
    std::string err = game.stderr_text();
    EXPECT_NE(err.find(r.says), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  EXPECT_EQ(read_text(at("precious.txt")), "precious");
  EXPECT_TRUE(fs::is_symlink(at("x.replay.partial")));
  EXPECT_EQ(fs::status(at("pipe.replay")).type(), fs::file_type::fifo);
}
