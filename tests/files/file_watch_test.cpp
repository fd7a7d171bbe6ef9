// The watcher that tells the game a level was saved. Its timing is tested
// with clock readings; what the system reports, with buffers of events made
// here (a queue that overflowed cannot be provoked at will), Linux's and
// Windows' alike; and the whole watcher with real files in a scratch folder,
// waiting (with a bound) only for reports that must come.
#include "files/file_watch.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "files/change_records.h"
#include "files/inotify_news.h"
#include "files/watch_timing.h"

namespace fs = std::filesystem;

// A save that comes as several writes is one save, reported QUIET_MS after
// the last write; writes further apart than that are two saves. While the
// folder is gone nothing is reported; it is looked for once a second, and
// its coming back counts as a change (the file may have changed meanwhile).
TEST(WatchTiming, SavesSettleAndAGoneFolderIsLookedForEverySecond) {
  watch_timing t;
  EXPECT_EQ(t.wait_ms(0), -1) << "nothing to wait for: sleep until the system reports";
  for (std::int64_t write_at : {0, 100, 200, 300}) {
    t.changed(write_at);
    EXPECT_FALSE(t.save_due(write_at + 119));
  }
  EXPECT_EQ(t.wait_ms(400), 20);
  EXPECT_FALSE(t.save_due(419));
  EXPECT_TRUE(t.save_due(420)) << "one save, 120 ms after the last write";
  EXPECT_FALSE(t.save_due(1000)) << "and only once";
  t.changed(1000);
  EXPECT_TRUE(t.save_due(1120));
  t.changed(1200);
  EXPECT_TRUE(t.save_due(1320)) << "a second save after a pause longer than the quiet period";

  t.changed(2000);
  t.folder_gone(2010);
  EXPECT_TRUE(t.folder_is_gone());
  EXPECT_FALSE(t.save_due(5000)) << "a change cut short by the folder going is not a save";
  EXPECT_FALSE(t.look_due(3009));
  EXPECT_EQ(t.wait_ms(3000), 10);
  EXPECT_TRUE(t.look_due(3010));
  EXPECT_FALSE(t.look_due(3500));
  EXPECT_TRUE(t.look_due(4010)) << "a second later";
  t.folder_back(4010);
  EXPECT_FALSE(t.folder_is_gone());
  EXPECT_FALSE(t.look_due(9000));
  EXPECT_TRUE(t.save_due(4130)) << "coming back counts as a save";
}

namespace {
// Appends one inotify event to a buffer, as the system lays them out.
void add_event(std::vector<char>& buffer, int watch, std::uint32_t mask, const char* name) {
  std::size_t len = name ? (std::strlen(name) / 16 + 1) * 16 : 0;  // padded, as the system does
  std::vector<char> record(sizeof(inotify_event) + len, 0);
  inotify_event event{};
  event.wd = watch;
  event.mask = mask;
  event.len = static_cast<std::uint32_t>(len);
  std::memcpy(record.data(), &event, sizeof event);
  if (name) std::memcpy(record.data() + sizeof event, name, std::strlen(name));
  buffer.insert(buffer.end(), record.begin(), record.end());
}

folder_news news_of(const std::vector<char>& buffer) {
  return read_news(buffer.data(), buffer.size(), 3, "level.map");
}
}  // namespace

TEST(InotifyNews, OverflowMeansMaybeSavedAndOnlyThisFolderCounts) {
  std::vector<char> buffer;
  add_event(buffer, 3, IN_CLOSE_WRITE, "other.map");
  add_event(buffer, 4, IN_CLOSE_WRITE, "level.map");  // a watch dropped before
  add_event(buffer, 4, IN_IGNORED, nullptr);
  folder_news news = news_of(buffer);
  EXPECT_FALSE(news.file_changed);
  EXPECT_FALSE(news.folder_gone);
  add_event(buffer, -1, IN_Q_OVERFLOW, nullptr);
  EXPECT_TRUE(news_of(buffer).file_changed) << "events were lost: the file may have been saved";
  for (std::uint32_t gone : {IN_DELETE_SELF, IN_MOVE_SELF, IN_UNMOUNT, IN_IGNORED}) {
    std::vector<char> one;
    add_event(one, 3, IN_MOVED_TO, "level.map");
    add_event(one, 3, gone, nullptr);
    EXPECT_TRUE(news_of(one).file_changed && news_of(one).folder_gone) << gone;
  }
}

namespace {
// Appends one record of Windows' change report, laid out as the system lays
// it out: a head, the name in UTF-16, padding to four bytes. `next` false
// leaves the offset 0, as in the last record.
void add_record(std::vector<unsigned char>& buffer, const std::u16string& name, bool next = true) {
  std::size_t size = (sizeof(change_record_head) + name.size() * 2 + 3) / 4 * 4;
  change_record_head head{next ? static_cast<std::uint32_t>(size) : 0, 3,
                          static_cast<std::uint32_t>(name.size() * 2)};
  std::size_t at = buffer.size();
  buffer.resize(at + size, 0);
  std::memcpy(&buffer[at], &head, sizeof head);
  std::memcpy(&buffer[at + sizeof head], name.data(), name.size() * 2);
}

// Windows compares names without regard to case; ASCII is enough here.
bool same_level(const std::u16string& name) {
  std::u16string wanted = u"level.json";
  if (name.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i] >= u'A' && name[i] <= u'Z' ? name[i] + 32 : name[i];
    if (c != wanted[i]) return false;
  }
  return true;
}

folder_news records_news(const std::vector<unsigned char>& buffer, std::uint32_t error = 0) {
  return read_change_records(buffer.data(), buffer.size(), error, same_level);
}
}  // namespace

// Only a record naming the file counts, in any case; a report that lost its
// changes (an error saying so, or nothing at all) may hide a save; any other
// error ends the watch; and a record that claims more than the buffer holds
// is not read past its end.
TEST(ChangeRecords, OnlyTheFileCountsAndLostChangesMaySaveIt) {
  std::vector<unsigned char> buffer;
  add_record(buffer, u"other.json");
  add_record(buffer, u"level.json.new", false);
  EXPECT_FALSE(records_news(buffer).file_changed);
  std::vector<unsigned char> renamed;
  add_record(renamed, u"level.json.new");
  add_record(renamed, u"LEVEL.JSON", false);
  EXPECT_TRUE(records_news(renamed).file_changed) << "the same name in other case";
  std::vector<unsigned char> after_last = buffer;
  add_record(after_last, u"level.json");
  EXPECT_FALSE(records_news(after_last).file_changed) << "nothing is read after the last record";

  EXPECT_TRUE(records_news({}).file_changed) << "an empty report: changes were lost";
  EXPECT_TRUE(records_news(buffer, CHANGES_LOST).file_changed);
  folder_news ended = records_news(buffer, 5);  // access denied: the folder was removed
  EXPECT_TRUE(ended.folder_gone && !ended.file_changed);

  std::vector<unsigned char> cut;
  add_record(cut, u"level.json");
  cut.resize(cut.size() - 8);  // the name runs past the end
  EXPECT_FALSE(records_news(cut).file_changed);
  std::vector<unsigned char> far;
  add_record(far, u"other.json");
  far[0] = 200;  // the next record said to lie past the end
  add_record(far, u"level.json");
  EXPECT_FALSE(records_news(far).file_changed);
}

namespace {
bool within(double seconds, const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void write_file(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
}  // namespace

// The real watcher on real files: each thing a designer's tools do to the
// level and its folder is reported (within a second or so; the bound is
// for a watcher that never reports, on however busy a machine).
TEST(FileWatch, SeesSavesAndItsFolderGoAndComeBack) {
  fs::path top = fs::temp_directory_path() / ("blob-watch-" + std::to_string(getpid()));
  fs::path folder = top / "levels", level = folder / "level.map";
  fs::create_directories(folder);
  write_file(level, "one");
  {
    file_watch watch(level.string());
    ASSERT_EQ(watch.failure(), "");
    auto saved = [&watch] { return watch.saved(); };
    auto gone = [&watch] { return watch.folder_gone(); };
    auto back = [&watch] { return !watch.folder_gone(); };

    write_file(level, "two");
    EXPECT_TRUE(within(20, saved)) << "written in place";
    write_file(folder / ".level.map.new", "three");
    fs::rename(folder / ".level.map.new", level);
    EXPECT_TRUE(within(20, saved)) << "renamed over the old";

    fs::rename(folder, top / "levels.away");
    EXPECT_TRUE(within(20, gone)) << "renamed away";
    write_file(top / "levels.away" / "level.map", "four");  // not the file any more
    fs::rename(top / "levels.away", folder);
    EXPECT_TRUE(within(20, back)) << "renamed back";
    EXPECT_TRUE(within(20, saved)) << "what changed while it was away is read again";
    write_file(level, "five");
    EXPECT_TRUE(within(20, saved)) << "watched again after coming back";

    fs::remove_all(folder);
    EXPECT_TRUE(within(20, gone)) << "removed";
    fs::create_directory(folder);
    EXPECT_TRUE(within(20, back)) << "made again";
    EXPECT_TRUE(within(20, saved)) << "coming back counts as a save, with or without the file";
    write_file(level, "six");
    EXPECT_TRUE(within(20, saved)) << "a save into the folder made again";
  }
  fs::remove_all(top);
}

namespace {
std::size_t open_descriptors() {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) count += !entry.is_directory();
  return count;
}
}  // namespace

// A level given as a link into another folder is watched where the link
// leads, for saves go there. A watcher whose thread cannot start (here:
// each new thread asks for more stack than there is memory) says so, and
// gives back every descriptor it took.
TEST(FileWatch, FollowsALinkAndGivesBackWhatItTookWhenItCannotStart) {
  fs::path top = fs::temp_directory_path() / ("blob-watch-link-" + std::to_string(getpid()));
  fs::create_directories(top / "levels");
  fs::create_directories(top / "play");
  write_file(top / "levels" / "level.map", "one");
  fs::create_symlink(top / "levels" / "level.map", top / "play" / "level.map");
  {
    file_watch watch((top / "play" / "level.map").string());
    ASSERT_EQ(watch.failure(), "");
    write_file(top / "levels" / "level.map", "two");
    EXPECT_TRUE(within(5, [&watch] { return watch.saved(); })) << "a save where the link leads";
  }
  pthread_attr_t usual, huge;
  ASSERT_EQ(pthread_getattr_default_np(&usual), 0);
  ASSERT_EQ(pthread_getattr_default_np(&huge), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&huge, std::size_t{1} << 46), 0);
  std::size_t before = open_descriptors();
  ASSERT_EQ(pthread_setattr_default_np(&huge), 0);
  std::string failure = file_watch((top / "play" / "level.map").string()).failure();
  pthread_setattr_default_np(&usual);
  EXPECT_EQ(failure.rfind("cannot start its thread: ", 0), 0u) << failure;
  EXPECT_EQ(open_descriptors(), before);
  pthread_attr_destroy(&usual);
  pthread_attr_destroy(&huge);
  fs::remove_all(top);
}
