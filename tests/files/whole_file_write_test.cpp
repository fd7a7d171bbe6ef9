// The whole-file writer against what may stand at its target: a file, a
// link into another folder, a file only its owner may read, a pipe, a
// folder, nothing, a missing folder; under the usual mask and under 0777 (the
// browser's). Each target is checked for what it became, and the folder for
// temporary files left behind.
#include "files/whole_file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
struct scratch {
  fs::path path = fs::temp_directory_path() / ("blob-write-" + std::to_string(getpid()));
  scratch() {
    fs::remove_all(path);
    fs::create_directories(path / "elsewhere");
  }
  ~scratch() { fs::remove_all(path); }
};

std::string text_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

unsigned mode_of(const fs::path& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

std::size_t files_in(const fs::path& folder) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    count += entry.is_regular_file() && !entry.is_symlink();
  return count;
}
}  // namespace

TEST(WholeFileWrite, EachKindOfTargetBecomesWhatItShould) {
  scratch dir;
  const fs::path& at = dir.path;
  std::ofstream(at / "old.map") << "old";
  std::ofstream(at / "private.map") << "old";
  fs::permissions(at / "private.map", fs::perms::owner_read | fs::perms::owner_write);
  std::ofstream(at / "elsewhere" / "real.map") << "old";
  fs::create_symlink("elsewhere/real.map", at / "link.map");
  fs::create_symlink("elsewhere/new.map", at / "dangling.map");
  ASSERT_EQ(mkfifo((at / "pipe.map").c_str(), 0600), 0);
  fs::create_directory(at / "folder.map");
  mode_t usual = umask(022);
  struct target {
    const char* name;
    mode_t mask;
    const char* refusal;  // nullptr: written
    fs::path holds;       // where the new bytes land
    unsigned mode;
  };
  for (const target& t : {
           target{"old.map", 022, nullptr, at / "old.map", 0644},
           target{"private.map", 022, nullptr, at / "private.map", 0600},
           target{"link.map", 022, nullptr, at / "elsewhere/real.map", 0644},
           target{"dangling.map", 022, nullptr, at / "elsewhere/new.map", 0644},
           target{"new.map", 0777, nullptr, at / "new.map", 0600},
           target{"pipe.map", 022, "it is a pipe, not a file", {}, 0},
           target{"folder.map", 022, "it is a folder, not a file", {}, 0},
           target{"no/such.map", 022, "cannot create a file in its folder: No such file", {}, 0},
       }) {
    umask(t.mask);
    std::string why;
    bool written = write_file_atomically((at / t.name).string(), "new", why);
    umask(usual);
    if (t.refusal) {
      EXPECT_FALSE(written) << t.name;
      EXPECT_EQ(why.rfind(t.refusal, 0), 0u) << t.name << ": " << why;
      continue;
    }
    ASSERT_TRUE(written) << t.name << ": " << why;
    EXPECT_EQ(text_of(t.holds), "new") << t.name;
    EXPECT_EQ(mode_of(t.holds), t.mode) << t.name;
  }
  EXPECT_TRUE(fs::is_symlink(at / "link.map")) << "the link stays a link";
  EXPECT_TRUE(fs::is_symlink(at / "dangling.map"));
  EXPECT_EQ(fs::status(at / "pipe.map").type(), fs::file_type::fifo);
  EXPECT_EQ(files_in(at), 3u) << "old, private and new: no temporary file is left";
  EXPECT_EQ(files_in(at / "elsewhere"), 2u);
}

// A file written in steps: nothing stands under its name until it is
// finished; rewritten, it holds only the new bytes; dropped unfinished, it
// leaves the target as it was.
TEST(WholeFileWrite, AFileWrittenInStepsAppearsWholeOrNotAtAll) {
  scratch dir;
  fs::path target = dir.path / "session.replay";
  std::string why;
  {
    file_being_written file;
    ASSERT_TRUE(file.begin(target.string(), why)) << why;
    ASSERT_TRUE(file.append("a long first draft\n", 19, why)) << why;
    EXPECT_FALSE(fs::exists(target));
    ASSERT_TRUE(file.rewrite("whole\n", 6, why)) << why;
    ASSERT_TRUE(file.finish(why)) << why;
    EXPECT_FALSE(file.append("x", 1, why)) << "a finished file takes no more";
  }
  EXPECT_EQ(text_of(target), "whole\n");
  {
    file_being_written file;
    ASSERT_TRUE(file.begin(target.string(), why)) << why;
    ASSERT_TRUE(file.append("half", 4, why)) << why;
  }
  EXPECT_EQ(text_of(target), "whole\n");
  EXPECT_EQ(files_in(dir.path), 1u);
}
