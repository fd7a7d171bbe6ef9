// The command-line player as a user runs it: what it prints, on which
// stream, and its exit status, with OpenAL Soft's null backend or no device.
#include <gtest/gtest.h>
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

TEST_F(OggPlay, BadFilesGiveOneLineNamingFileAndReason) {
  const std::string missing = tunes_->path("missing.ogg");
  const outcome absent = run("ALSOFT_DRIVERS=null", missing);
  EXPECT_EQ(absent.status, 1);
  EXPECT_EQ(absent.err.rfind("oggplay: " + missing + ": ", 0), 0u) << absent.err;
  EXPECT_NE(absent.err.find(std::strerror(ENOENT)), std::string::npos) << absent.err;
  const outcome folder = run("ALSOFT_DRIVERS=null", tunes_->path(""));
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find(std::strerror(EISDIR)), std::string::npos) << folder.err;
  const std::string text = tunes_->write("text.ogg", "plain text\n");
  const outcome not_ogg = run("ALSOFT_DRIVERS=null", text);
  EXPECT_EQ(not_ogg.status, 1);
  EXPECT_EQ(not_ogg.err, "oggplay: " + text + ": Could not open Ogg stream. Not Vorbis data.\n");
  for (const outcome& o : {absent, folder, not_ogg}) EXPECT_EQ(o.out, "");
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
