// The command-line player as a user runs it: what it prints, on which
// stream, and its exit status, with OpenAL Soft's null backend or no device.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tunes.h"

namespace {

struct outcome {
  int status = -1;
  std::string out, err;
};

class OggPlay : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    tunes_ = new tune_dir;
    tune_ = tunes_->make("tune.ogg", {2, 0.3, {"TITLE=Tune"}});
  }
  static void TearDownTestSuite() { delete tunes_; }

  // Runs oggplay with `arguments` under `environment` (shell assignments).
  static outcome run(const std::string& environment, const std::string& arguments) {
    const std::string out = tunes_->path("stdout"), err = tunes_->path("stderr");
    const std::string command = "env ALSOFT_CONF=/dev/null " + environment + " " OGGPLAY_PATH " " +
                                arguments + " >" + out + " 2>" + err + " </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
  }
  static std::size_t file_size(const std::string& path) { return slurp(path).size(); }
  static std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static inline tune_dir* tunes_ = nullptr;
  static inline std::string tune_;
};

TEST_F(OggPlay, PlaysAFileToItsEnd) {
  const outcome played = run("ALSOFT_DRIVERS=null", tune_);
  EXPECT_EQ(played.status, 0);
  EXPECT_EQ(played.err, "");
  EXPECT_EQ(played.out.rfind("version         0\nchannels        2\nrate (hz)       44100\n", 0),
            0u)
      << played.out;
  EXPECT_NE(played.out.find("\n   TITLE=Tune\n\nplayed 0."), std::string::npos) << played.out;
}

TEST_F(OggPlay, WrongCommandLineGivesUsage) {
  const outcome bare = run("", "");
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.err, "usage: oggplay FILE.ogg\n");
  EXPECT_EQ(run("", "a.ogg b.ogg").status, 2);
}

// Files that are no Ogg files, each refused in one line naming it and the
// reason: as every file the game reads, a folder, a pipe with no writer
// (without waiting for one) and a device are refused before a byte is read.
TEST_F(OggPlay, BadFilesGiveOneLineNamingFileAndReason) {
  const std::string missing = tunes_->path("missing.ogg"), fifo = tunes_->path("pipe.ogg");
  ::mkfifo(fifo.c_str(), 0600);
  const std::string text = tunes_->write("text.ogg", "plain text\n");
  const struct {
    std::string path, reason;
  } refused[] = {{missing, std::strerror(ENOENT)},
                 {tunes_->path(""), "cannot open it: it is a folder, not a file"},
                 {fifo, "cannot open it: it is a pipe, not a file"},
                 {"/dev/zero", "cannot open it: it is a device, not a file"},
                 {text, "Could not open Ogg stream. Not Vorbis data."}};
  for (const auto& r : refused) {
    const outcome o = run("ALSOFT_DRIVERS=null", r.path);
    EXPECT_EQ(o.status, 1) << r.path;
    EXPECT_EQ(o.err.rfind("oggplay: " + r.path + ": ", 0), 0u) << o.err;
    EXPECT_NE(o.err.find(r.reason + "\n"), std::string::npos) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_EQ(o.out, "") << r.path;
  }
  // A name beyond ASCII plays like any other.
  ::mkdir(tunes_->path("μουσική").c_str(), 0700);
  const std::string greek = tunes_->cut(tune_, "μουσική/plain.ogg", file_size(tune_));
  EXPECT_EQ(run("ALSOFT_DRIVERS=null", "'" + greek + "'").status, 0);
}

// A file cut short plays what it holds, then says so and does not claim
// success; the whole file ends cleanly (PlaysAFileToItsEnd).
TEST_F(OggPlay, AFileCutShortIsReported) {
  const std::string cut = tunes_->cut(tune_, "cut.ogg", file_size(tune_) - 100);
  const outcome played = run("ALSOFT_DRIVERS=null", cut);
  EXPECT_EQ(played.status, 1);
  EXPECT_NE(played.out.find("played "), std::string::npos) << played.out;
  EXPECT_EQ(played.err.rfind("oggplay: " + cut + ": ", 0), 0u) << played.err;
  EXPECT_NE(played.err.find("cut short"), std::string::npos) << played.err;
  EXPECT_EQ(std::count(played.err.begin(), played.err.end(), '\n'), 1) << played.err;
}

// The wave writer with no file to write to cannot open a device; the line
// names the devices that need no sound card.
TEST_F(OggPlay, NoAudioDeviceIsAnError) {
  const outcome deaf = run("ALSOFT_DRIVERS=wave", tune_);
  EXPECT_EQ(deaf.status, 1);
  EXPECT_EQ(deaf.err.rfind("oggplay: cannot open the audio device: ", 0), 0u) << deaf.err;
  EXPECT_NE(deaf.err.find("ALSOFT_DRIVERS=null"), std::string::npos) << deaf.err;
  EXPECT_NE(deaf.err.find("drivers = wave"), std::string::npos) << deaf.err;
  EXPECT_EQ(std::count(deaf.err.begin(), deaf.err.end(), '\n'), 1) << deaf.err;
  EXPECT_EQ(deaf.out, "");
}

}  // namespace
