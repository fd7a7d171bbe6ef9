// The streaming music player against the real OpenAL Soft with its null
// backend, which plays in real time into nothing: opening files good and bad,
// the fills, the queue at the start and at the end, and the printed report.
#include "audio/ogg_stream.h"

#include <AL/alc.h>
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tunes.h"

namespace {

constexpr int k_fill_bytes = 131072;

// Opens the player's inner parts to the tests. Released at the end of a test
// however the test ends.
class probe : public ogg_stream {
 public:
  using ogg_stream::buffers;
  using ogg_stream::comment;
  using ogg_stream::errorString;
  using ogg_stream::format;
  using ogg_stream::source;
  using ogg_stream::stream;

  ~probe() {
    try {
      release();
    } catch (const std::string&) {
    }
  }
  ALint source_int(ALenum what) {
    ALint value = -1;
    alGetSourcei(source, what, &value);
    return value;
  }
  ALint buffer_bytes(ALuint buffer) {
    ALint value = -1;
    alGetBufferi(buffer, AL_SIZE, &value);
    return value;
  }
  ogg_int64_t decoded_frames() { return ov_pcm_tell(&decoder); }
  // Moves the decoder to `frames_left` frames before the end of the file, as
  // if all the rest had been streamed already.
  void skip_to_end(ogg_int64_t frames_left) {
    ov_pcm_seek(&decoder, ov_pcm_total(&decoder, -1) - frames_left);
  }
};

// Runs `step` every 5 ms until it returns true; false if 5 s pass first.
template <typename Step>
bool poll_until(Step step) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!step()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string open_error(const std::string& path) {
  ogg_stream player;
  try {
    player.open(path);
  } catch (const std::string& text) {
    return text;
  }
  player.release();
  return "(opened)";
}

class OggStream : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("ALSOFT_DRIVERS", "null", 1);
    tunes_ = new tune_dir;
    mono_ = tunes_->make("mono.ogg", {1, 0.5});
    long_ = tunes_->make("long.ogg", {2, 2.0});  // 2.7 fills
    six_ = tunes_->make("six.ogg", {6, 0.5});
    short_ = tunes_->make("short.ogg", {2, 0.3});  // 52,920 bytes: under one fill
    // The last comment would clear the terminal it is printed on.
    tagged_ = tunes_->make(
        "tagged.ogg", {2, 0.2, {"TITLE=Test tune", "ARTIST=Nobody", "NOTE=\x1b[2Jgone"}, true});
    ASSERT_TRUE(alutInit(nullptr, nullptr)) << alutGetErrorString(alutGetError());
  }
  static void TearDownTestSuite() {
    alutExit();
    delete tunes_;
  }
  void SetUp() override { alGetError(); }
  void TearDown() override { EXPECT_EQ(alGetError(), AL_NO_ERROR) << "an OpenAL call failed"; }

  static inline tune_dir* tunes_ = nullptr;
  static inline std::string mono_, long_, six_, short_, tagged_;
};

TEST_F(OggStream, OpenPicksTheFormatAndPutsTheSourceAtTheListener) {
  const std::pair<std::string, ALenum> cases[] = {
      {mono_, AL_FORMAT_MONO16}, {long_, AL_FORMAT_STEREO16}, {six_, AL_FORMAT_STEREO16}};
  for (const auto& [path, format] : cases) {
    probe player;
    player.open(path);
    EXPECT_EQ(player.format, format) << path;
    EXPECT_EQ(player.source_int(AL_SOURCE_RELATIVE), AL_TRUE);
    EXPECT_EQ(player.source_int(AL_SOURCE_STATE), AL_INITIAL);
    EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 0);
    ALfloat rolloff = -1.0f, position[3] = {1, 1, 1};
    alGetSourcef(player.source, AL_ROLLOFF_FACTOR, &rolloff);
    alGetSourcefv(player.source, AL_POSITION, position);
    EXPECT_EQ(rolloff, 0.0f);
    for (ALfloat coordinate : position) EXPECT_EQ(coordinate, 0.0f);
  }
}

// Fills are full until the last, which holds the rest; then the file is done
// and the buffer keeps what it had.
TEST_F(OggStream, FillsAreFullUntilTheEndOfTheFile) {
  probe player;
  player.open(long_);
  const ALuint buffer = player.buffers[0];
  std::vector<ALint> fills;
  while (player.stream(buffer)) fills.push_back(player.buffer_bytes(buffer));
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0], k_fill_bytes);
  EXPECT_EQ(fills[1], k_fill_bytes);
  EXPECT_EQ(fills[2], 88200 * 4 - 2 * k_fill_bytes);  // 2 s of 4-byte frames
  EXPECT_EQ(player.buffer_bytes(buffer), fills[2]);
  EXPECT_FALSE(player.stream(buffer));
}

// Six channels make 12-byte frames, which 131,072 is no multiple of; the
// decoder refuses room for part of a frame, so a fill stops at whole frames.
TEST_F(OggStream, SixChannelFillsHoldWholeFrames) {
  probe player;
  player.open(six_);
  ASSERT_TRUE(player.stream(player.buffers[0]));
  EXPECT_EQ(player.buffer_bytes(player.buffers[0]), k_fill_bytes - k_fill_bytes % 12);
  ALint total = player.buffer_bytes(player.buffers[0]);
  while (player.stream(player.buffers[0])) total += player.buffer_bytes(player.buffers[0]);
  EXPECT_EQ(total, 22050 * 12);  // 0.5 s of 12-byte frames
}

TEST_F(OggStream, FilesThatCannotBeOpenedAreReportedAndLeftClosed) {
  const std::string missing = tunes_->path("missing.ogg");
  const std::string text = tunes_->write("text.ogg", "plain text, not an Ogg file\n");
  const std::string headless = tunes_->cut(long_, "headless.ogg", 200);
  const int descriptors = open_descriptors();
  EXPECT_EQ(open_error(missing), "Could not open Ogg file.");
  EXPECT_EQ(open_error(text), "Could not open Ogg stream. Not Vorbis data.");
  EXPECT_EQ(open_error(headless), "Could not open Ogg stream. Not Vorbis data.");
  EXPECT_EQ(open_descriptors(), descriptors);
}

TEST_F(OggStream, TruncatedFilePlaysWhatItHolds) {
  const std::string cut = tunes_->cut(long_, "cut.ogg", 9000);
  probe player;
  player.open(cut);
  std::size_t bytes = 0;
  while (player.stream(player.buffers[0])) bytes += player.buffer_bytes(player.buffers[0]);
  EXPECT_LT(bytes, decode_tune(long_).size() * 2);
}

// Without a current context the buffers cannot be made: open must give back
// the decoder and the file before it throws, and release must then do nothing.
TEST_F(OggStream, OpenThatFailsInOpenAlReleasesWhatItMade) {
  ALCcontext* context = alcGetCurrentContext();
  alcMakeContextCurrent(nullptr);
  const int descriptors = open_descriptors();
  ogg_stream player;
  try {
    player.open(long_);
    ADD_FAILURE() << "open succeeded without a context";
  } catch (const std::string& text) {
    EXPECT_EQ(text, "OpenAL error was raised.");
  }
  EXPECT_EQ(open_descriptors(), descriptors);
  EXPECT_NO_THROW(player.release());
  alcMakeContextCurrent(context);
}

// An OpenAL error that someone else left pending is not the player's: open
// still succeeds, and release deletes the buffers and the source it made.
TEST_F(OggStream, OpenPastAnErrorLeftPendingAndReleaseDeletesWhatItMade) {
  alSourcePlay(0xBAD);  // no such source: AL_INVALID_NAME, left pending
  probe player;
  ASSERT_NO_THROW(player.open(long_));
  const ALuint buffers[2] = {player.buffers[0], player.buffers[1]};
  const ALuint source = player.source;
  ASSERT_TRUE(alIsBuffer(buffers[0]) && alIsBuffer(buffers[1]) && alIsSource(source));
  ASSERT_TRUE(player.playback());
  player.release();
  EXPECT_FALSE(alIsBuffer(buffers[0]));
  EXPECT_FALSE(alIsBuffer(buffers[1]));
  EXPECT_FALSE(alIsSource(source));
}

TEST_F(OggStream, ReleaseIsHarmlessOnAPlayerThatHoldsNothing) {
  ogg_stream never_opened;
  EXPECT_NO_THROW(never_opened.release());
  ogg_stream failed;
  EXPECT_THROW(failed.open(tunes_->path("missing.ogg")), std::string);
  EXPECT_NO_THROW(failed.release());
  ogg_stream twice;
  twice.open(mono_);
  EXPECT_NO_THROW(twice.release());
  EXPECT_NO_THROW(twice.release());
}

TEST_F(OggStream, DisplayPrintsInformationThenComments) {
  OggVorbis_File reference;  // the vendor text depends on the installed encoder
  ASSERT_EQ(ov_fopen(tagged_.c_str(), &reference), 0);
  const std::string vendor = ov_comment(&reference, -1)->vendor;
  ov_clear(&reference);

  probe player;
  player.open(tagged_);
  testing::internal::CaptureStdout();
  player.display();
  const std::string information =
      "version         0\n"
      "channels        2\n"
      "rate (hz)       44100\n"
      "bitrate upper   160000\n"
      "bitrate nominal 128000\n"
      "bitrate lower   96000\n"
      "bitrate window  0\n"
      "\n";
  const std::string comments =
      "   TITLE=Test tune\n"
      "   ARTIST=Nobody\n"
      "   NOTE=?[2Jgone\n"
      "\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            information + "vendor " + vendor + "\n" + comments);

  player.open(short_);
  testing::internal::CaptureStdout();
  player.display();
  const std::string uncommented = testing::internal::GetCapturedStdout();
  const std::string ending = "bitrate window  0\n\nvendor " + vendor + "\n\n";
  ASSERT_GE(uncommented.size(), ending.size());
  EXPECT_EQ(uncommented.substr(uncommented.size() - ending.size()), ending);

  // Tabs, line breaks and UTF-8 text stay; control characters, C1 ones
  // included (raw, as in Latin-1 text, or encoded in UTF-8), become "?".
  char* texts[] = {const_cast<char*>("TAB=a\tb"),
                   const_cast<char*>("LINES=one\ntwo"),
                   const_cast<char*>("UTF8=caf\xc3\xa9 \xe2\x82\xac"),
                   const_cast<char*>("C1=\xc2\x9b[2J"),
                   const_cast<char*>("RAW=\x9b[2J \x85 \xe9t\xe9 \xe2\x82"),
                   const_cast<char*>("DEL=\x7f\x01")};
  vorbis_comment crafted{texts, nullptr, 6, const_cast<char*>("vendor\x9b")};
  vorbis_comment* own = player.comment;
  player.comment = &crafted;
  testing::internal::CaptureStdout();
  player.display();
  const std::string shown = testing::internal::GetCapturedStdout();
  player.comment = own;
  EXPECT_EQ(shown.substr(shown.find("vendor ")),
            "vendor vendor?\n"
            "   TAB=a\tb\n"
            "   LINES=one\ntwo\n"
            "   UTF8=caf\xc3\xa9 \xe2\x82\xac\n"
            "   C1=?[2J\n"
            "   RAW=?[2J ? \xe9t\xe9 \xe2?\n"
            "   DEL=??\n"
            "\n");
}

TEST_F(OggStream, ErrorStringNamesEachDecoderError) {
  EXPECT_EQ(probe::errorString(-128), "Read from media.");
  EXPECT_EQ(probe::errorString(-129), "Internal logic fault (bug or heap/stack corruption.");
  EXPECT_EQ(probe::errorString(-132), "Not Vorbis data.");
  EXPECT_EQ(probe::errorString(-133), "Invalid Vorbis header.");
  EXPECT_EQ(probe::errorString(-134), "Vorbis version mismatch.");
  for (int other : {-130, -131, -135, -3, -1, 0, 1}) {
    EXPECT_EQ(probe::errorString(other), "Unknown Ogg error.") << other;
  }
}

TEST_F(OggStream, PlaybackQueuesBothBuffersAndAgainDoesNothing) {
  probe player;
  player.open(long_);
  ASSERT_TRUE(player.playback());
  EXPECT_TRUE(player.playing());
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 2);
  const ogg_int64_t decoded = player.decoded_frames();
  EXPECT_EQ(decoded, 2 * k_fill_bytes / 4);
  EXPECT_TRUE(player.playback());
  EXPECT_EQ(player.decoded_frames(), decoded);
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 2);
}

TEST_F(OggStream, UpdateWithNothingProcessedDecodesNothing) {
  probe player;
  player.open(long_);
  ASSERT_TRUE(player.playback());
  alSourcePause(player.source);
  ASSERT_EQ(player.source_int(AL_BUFFERS_PROCESSED), 0);
  const ogg_int64_t decoded = player.decoded_frames();
  EXPECT_TRUE(player.update());
  EXPECT_EQ(player.decoded_frames(), decoded);
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 2);
}

TEST_F(OggStream, ShortFilePlaysFromOneBuffer) {
  probe player;
  player.open(short_);
  ASSERT_TRUE(player.playback());
  EXPECT_TRUE(player.playing());
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 1);
  EXPECT_EQ(player.buffer_bytes(player.buffers[0]), 13230 * 4);  // 0.3 s
  ASSERT_TRUE(poll_until([&] { return !player.update(); }));
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 0);
  EXPECT_FALSE(player.playing());
}

// The last piece goes on the queue; the buffer the file could not refill does
// not go back with its old sound; the source plays out and stops.
TEST_F(OggStream, EndOfFileQueuesOnlyTheLastPiece) {
  probe player;
  player.open(long_);
  ASSERT_TRUE(player.playback());
  player.skip_to_end(1000);
  alSourceStop(player.source);  // both buffers count as played
  EXPECT_FALSE(player.update());
  ASSERT_EQ(player.source_int(AL_BUFFERS_QUEUED), 1);
  EXPECT_EQ(player.buffer_bytes(player.buffers[0]), 1000 * 4);
  ASSERT_TRUE(poll_until([&] { return !player.playing(); }));
  EXPECT_FALSE(player.update());
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 0);
  EXPECT_FALSE(player.playing());
  EXPECT_FALSE(player.update()) << "with nothing left to process, the end is still the end";
}

// A caller too late for both buffers finds the source stopped: update refills
// them and starts it again rather than leaving the music silent for good.
TEST_F(OggStream, UpdateRestartsASourceThatRanDry) {
  probe player;
  player.open(long_);
  ASSERT_TRUE(player.playback());
  player.skip_to_end(2 * k_fill_bytes / 4 + 1000);  // two full fills still to come
  alSourceStop(player.source);
  EXPECT_TRUE(player.update());
  EXPECT_EQ(player.source_int(AL_BUFFERS_QUEUED), 2);
  EXPECT_TRUE(player.playing());
}

}  // namespace
