// Ogg Vorbis files for the music player's tests, made at test time with sox
// (a tone sweep, a different one on each channel) and oggenc, in a scratch
// folder that goes away with its owner; and readers for what they decode to
// and for what OpenAL Soft's wave writer wrote.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct tune_recipe {
  tune_recipe(int channels, double seconds, std::vector<std::string> comments = {},
              bool managed_bitrate = false)
      : channels(channels),
        seconds(seconds),
        comments(std::move(comments)),
        managed_bitrate(managed_bitrate) {}

  int channels;
  double seconds;
  std::vector<std::string> comments;  // "NAME=value" each
  // Managed bitrate 96/128/160 kbit/s, so the header's bitrates are known
  // values; otherwise oggenc's default quality mode.
  bool managed_bitrate;
};

// Sample rate of every tune: the wave writer's own rate, so OpenAL plays the
// samples without resampling.
constexpr int k_tune_rate = 44100;

class tune_dir {
 public:
  tune_dir();
  ~tune_dir();
  tune_dir(const tune_dir&) = delete;
  tune_dir& operator=(const tune_dir&) = delete;

  std::string path(const std::string& name) const { return path_ + "/" + name; }
  // Makes path(name) by the recipe; throws std::runtime_error if a tool fails.
  std::string make(const std::string& name, const tune_recipe& recipe) const;
  std::string write(const std::string& name, const std::string& bytes) const;
  // The first `bytes` bytes of the file `from`, as path(name).
  std::string cut(const std::string& from, const std::string& name, std::size_t bytes) const;

 private:
  std::string path_;
};

// Every sample of the file, 16-bit interleaved, decoded with libvorbisfile.
std::vector<std::int16_t> decode_tune(const std::string& path);
// The samples of a 32-bit float WAV file, interleaved.
std::vector<float> read_float_wave(const std::string& path);
// How many file descriptors the process holds.
int open_descriptors();
