// The one reader of levels, level sources and pictures: what it refuses, in
// what words, and that it refuses at once what it cannot read to an end.
#include "files/file_bytes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "files/read_only_file.h"
#include "level/level_file.h"

namespace fs = std::filesystem;

namespace {
struct scratch {
  fs::path path = fs::temp_directory_path() / ("blob-bytes-" + std::to_string(getpid()));
  scratch() { fs::create_directories(path); }
  ~scratch() { fs::remove_all(path); }
};

std::string refusal(const std::string& path, std::size_t limit = FILE_BYTES_MAX) {
  std::vector<std::uint8_t> bytes{1, 2, 3};
  std::string reason;
  if (read_file_bytes(path, bytes, reason, limit)) return "read " + std::to_string(bytes.size());
  EXPECT_TRUE(bytes.empty()) << "nothing is handed back from a refused file";
  return reason;
}

std::string stream_refusal(const std::string& path, std::size_t limit) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (read_stream_bytes(path, bytes, reason, limit)) return "read " + std::to_string(bytes.size());
  return reason;
}
}  // namespace

// A pipe nobody writes to and an endless device would block or grow for
// ever: both are refused before a byte is read. So are folders, files over
// the limit (a sparse file claims 128 MB and one byte without using the
// disk) and missing files.
TEST(FileBytes, RefusesWhatIsNotAWholeRegularFile) {
  scratch dir;
  fs::path fifo = dir.path / "level.map";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(refusal(fifo.string()), "it is a pipe, not a file");
  EXPECT_EQ(refusal("/dev/zero"), "it is a device, not a file");
  EXPECT_EQ(refusal(dir.path.string()), "it is a folder, not a file");
  EXPECT_EQ(refusal((dir.path / "missing.map").string()), "No such file or directory");

  fs::path sparse = dir.path / "huge.map";
  std::ofstream(sparse).close();
  fs::resize_file(sparse, FILE_BYTES_MAX + 1);
  EXPECT_EQ(refusal(sparse.string()), "it holds more than 128 MB, the most a file may hold to be read");

  fs::path small = dir.path / "small.map";
  std::ofstream(small, std::ios::binary) << std::string(1000, 'x');
  EXPECT_EQ(refusal(small.string(), 1000), "read 1000") << "the limit itself is allowed";
  EXPECT_EQ(refusal(small.string(), 999),
            "it holds more than 999 bytes, the most a file may hold to be read");
}

// Key scripts may come from a pipe or a device, but still end somewhere.
TEST(FileBytes, StreamsAreReadToTheirEndOrTheLimit) {
  EXPECT_EQ(stream_refusal("/dev/null", 100), "read 0");
  EXPECT_EQ(stream_refusal("/dev/zero", 100000),
            "it holds more than 100000 bytes, the most a file may hold to be read");
  scratch dir;
  EXPECT_EQ(stream_refusal(dir.path.string(), 100), "it is a folder, not a file");
}

// A script piped in by a program that takes its time: the pipe is read to
// its end, waiting as long as the writer does (a read that does not wait
// fails with "Resource temporarily unavailable"), through a pipe that was
// there from the start and through a named pipe whose writer comes later,
// or comes and goes between the opening and the first read (whose bytes
// must not be lost, nor its end waited for again).
TEST(FileBytes, SlowPipesAreWaitedForAndReadWhole) {
  auto later = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread slow_writer([&] {
    later();
    ASSERT_EQ(write(ends[1], "1 down Up\n", 10), 10);
    later();
    ASSERT_EQ(write(ends[1], "2 up Up\n", 8), 8);
    close(ends[1]);
  });
  EXPECT_EQ(stream_refusal("/proc/self/fd/" + std::to_string(ends[0]), 100), "read 18");
  slow_writer.join();
  close(ends[0]);

  scratch dir;
  std::string fifo = (dir.path / "keys").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread late_writer([&] {
    later();
    std::ofstream(fifo) << "1 down Up\n";
  });
  EXPECT_EQ(stream_refusal(fifo, 100), "read 10") << "a named pipe waits for its writer";
  late_writer.join();
  read_only_file opened(fifo);
  int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_EQ(write(writer, "3 down Up\n", 10), 10);
  close(writer);
  char got[20];
  EXPECT_EQ(opened.read(got, sizeof got), 10) << opened.failure();
  EXPECT_EQ(opened.read(got, sizeof got), 0);
  EXPECT_EQ(stream_refusal("/dev/null", 100), "read 0") << "and a device does not";
}

// 10 MB of random bytes is far below the limit, and plays: a level file's
// counts name at most 522,213 bytes, and what comes after them is not read.
TEST(FileBytes, TenMegabytesOfNoiseIsReadAndPlaysAsALevel) {
  scratch dir;
  std::vector<std::uint8_t> noise(10 << 20);
  std::mt19937 random(9);
  for (auto& b : noise) b = static_cast<std::uint8_t>(random());
  fs::path path = dir.path / "noise.map";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(noise.data()),
             static_cast<std::streamsize>(noise.size()));
  std::vector<std::uint8_t> bytes;
  std::string reason;
  ASSERT_TRUE(read_file_bytes(path.string(), bytes, reason)) << reason;
  EXPECT_EQ(bytes, noise);
  level_data level = parse_level(bytes.data(), bytes.size());
  EXPECT_GT(level.triangles.size() + level.objects.size(), 0u);
}
