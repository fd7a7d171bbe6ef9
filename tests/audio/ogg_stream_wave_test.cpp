// What the streaming music player really plays: OpenAL Soft's wave writer
// records the device's output (32-bit float stereo at 44.1 kHz) into a file,
// which must hold the file's decoded samples, complete, and nothing after
// them: no piece of sound played twice at the end.
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "audio/ogg_stream.h"
#include "tunes.h"

namespace {

// First frame of `samples` (interleaved, `channels` a frame) that is not silent.
template <typename Sample>
std::size_t first_sound(const std::vector<Sample>& samples, std::size_t channels) {
  std::size_t at = 0;
  while (at < samples.size() && samples[at] == 0) ++at;
  return at / channels;
}

float loudest_after(const std::vector<float>& samples, std::size_t from) {
  float loudest = 0.0f;
  for (std::size_t i = from; i < samples.size(); ++i)
    loudest = std::max(loudest, std::fabs(samples[i]));
  return loudest;
}

class OggStreamWave : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    tunes_ = new tune_dir;
    wave_ = tunes_->path("out.wav");
    // OpenAL Soft reads its configuration once, when the process first opens
    // a device; every device opened afterwards rewrites the same file.
    const std::string config =
        tunes_->write("alsoft.conf", "[general]\ndrivers = wave\n[wave]\nfile = " + wave_ + "\n");
    setenv("ALSOFT_CONF", config.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");  // it would win over the configuration
    long_ = tunes_->make("long.ogg", {2, 2.0, {"TITLE=Long"}});  // 2.7 fills
    short_ = tunes_->make("short.ogg", {2, 0.4});                // under one fill
    mono_ = tunes_->make("mono.ogg", {1, 0.5});
  }
  static void TearDownTestSuite() { delete tunes_; }

  // Plays `path` to its end on a device of its own and returns what the
  // device wrote.
  static std::vector<float> record(const std::string& path) {
    if (!alutInit(nullptr, nullptr)) {
      ADD_FAILURE() << "no wave device: " << alutGetErrorString(alutGetError());
      return {};
    }
    ogg_stream player;
    try {
      player.open(path);
      bool more = player.playback();
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while ((more || player.playing()) && std::chrono::steady_clock::now() < deadline) {
        if (more) more = player.update();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      EXPECT_FALSE(more || player.playing()) << "still playing after 10 s";
      player.release();
    } catch (const std::string& text) {
      ADD_FAILURE() << text;
    }
    alutExit();  // completes the WAV header
    return read_float_wave(wave_);
  }

  static inline tune_dir* tunes_ = nullptr;
  static inline std::string wave_, long_, short_, mono_;
};

// Stereo comes out sample for sample: OpenAL turns a 16-bit sample s into
// s / 32768 and plays each channel on its own side at full gain.
void expect_played_exactly(const std::vector<float>& recorded,
                           const std::vector<std::int16_t>& decoded) {
  ASSERT_GE(first_sound(recorded, 2), first_sound(decoded, 2)) << "nothing was played";
  const std::size_t start = 2 * (first_sound(recorded, 2) - first_sound(decoded, 2));
  ASSERT_LE(start + decoded.size(), recorded.size()) << "the sound was cut short";
  std::size_t wrong = 0, first_wrong = 0;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    if (std::fabs(recorded[start + i] - decoded[i] / 32768.0f) > 1e-6f && wrong++ == 0)
      first_wrong = i;
  }
  EXPECT_EQ(wrong, 0u) << "first wrong sample " << first_wrong << " of " << decoded.size();
  EXPECT_EQ(loudest_after(recorded, start + decoded.size()), 0.0f) << "sound after the end";
}

TEST_F(OggStreamWave, LongStereoFileComesOutWholeAndOnce) {
  expect_played_exactly(record(long_), decode_tune(long_));
}

TEST_F(OggStreamWave, ShortStereoFileComesOutWhole) {
  expect_played_exactly(record(short_), decode_tune(short_));
}

// Mono is panned to the middle: both sides carry the sound at one lower gain.
TEST_F(OggStreamWave, MonoFileComesOutOnBothSidesWhole) {
  const std::vector<float> recorded = record(mono_);
  const std::vector<std::int16_t> decoded = decode_tune(mono_);
  ASSERT_GE(first_sound(recorded, 2), first_sound(decoded, 1)) << "nothing was played";
  const std::size_t offset = first_sound(recorded, 2) - first_sound(decoded, 1);
  ASSERT_LE(2 * (offset + decoded.size()), recorded.size()) << "the sound was cut short";
  const std::size_t first = first_sound(decoded, 1);
  const float gain = recorded[2 * (offset + first)] / (decoded[first] / 32768.0f);
  EXPECT_GT(gain, 0.5f);
  EXPECT_LE(gain, 1.0f);
  float worst = 0.0f;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const float expected = gain * decoded[i] / 32768.0f;
    worst = std::max({worst, std::fabs(recorded[2 * (offset + i)] - expected),
                      std::fabs(recorded[2 * (offset + i) + 1] - expected)});
  }
  EXPECT_LT(worst, 1e-4f);
  EXPECT_EQ(loudest_after(recorded, 2 * (offset + decoded.size())), 0.0f) << "sound after the end";
}

}  // namespace
