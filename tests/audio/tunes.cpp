#include "tunes.h"

#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

}  // namespace

tune_dir::tune_dir() {
  std::string pattern = (fs::temp_directory_path() / "oggtest.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

tune_dir::~tune_dir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string tune_dir::make(const std::string& name, const tune_recipe& recipe) const {
  // Each channel sweeps its own range, so a lost, swapped or repeated piece
  // of sound cannot match by chance. Half volume keeps the lossy coding from
  // clipping.
  const std::string wav = path(name + ".wav");
  std::ostringstream sox;
  sox << "sox -q -n -r " << k_tune_rate << " -b 16 -c " << recipe.channels << " " << wav
      << " synth " << recipe.seconds << " sine 300-900 sine 500-1500 sine 200-400 vol 0.5";
  run(sox.str());
  std::ostringstream oggenc;
  oggenc << "oggenc -Q";
  if (recipe.managed_bitrate) oggenc << " --managed -b 128 -m 96 -M 160";
  for (const std::string& comment : recipe.comments) oggenc << " -c '" << comment << "'";
  oggenc << " -o " << path(name) << " " << wav;
  run(oggenc.str());
  fs::remove(wav);
  return path(name);
}

std::string tune_dir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream(path(name), std::ios::binary) << bytes;
  return path(name);
}

std::string tune_dir::cut(const std::string& from, const std::string& name,
                          std::size_t bytes) const {
  return write(name, read_bytes(from).substr(0, bytes));
}

std::vector<std::int16_t> decode_tune(const std::string& path) {
  OggVorbis_File decoder;
  if (ov_fopen(path.c_str(), &decoder) != 0) throw std::runtime_error("cannot decode " + path);
  std::vector<std::int16_t> samples;
  char chunk[4096];
  int logical_stream = 0;
  long got = 0;
  while ((got = ov_read(&decoder, chunk, sizeof chunk, 0, 2, 1, &logical_stream)) > 0) {
    const std::size_t had = samples.size();
    samples.resize(had + static_cast<std::size_t>(got) / 2);
    std::memcpy(samples.data() + had, chunk, static_cast<std::size_t>(got));
  }
  ov_clear(&decoder);
  if (got < 0) throw std::runtime_error("decoding failed: " + path);
  return samples;
}

std::vector<float> read_float_wave(const std::string& path) {
  const std::string bytes = read_bytes(path);
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    throw std::runtime_error("not a WAV file: " + path);
  }
  for (std::size_t at = 12; at + 8 <= bytes.size(); at += 8 + le32(bytes, at + 4)) {
    if (bytes.compare(at, 4, "fmt ") == 0 && at + 24 <= bytes.size()) {
      const std::uint32_t bits = le32(bytes, at + 8 + 12) >> 16;  // after the block alignment
      if (bits != 32) throw std::runtime_error("not 32-bit samples: " + path);
    }
    if (bytes.compare(at, 4, "data") != 0) continue;
    const std::size_t size = std::min<std::size_t>(le32(bytes, at + 4), bytes.size() - at - 8);
    std::vector<float> samples(size / sizeof(float));
    std::memcpy(samples.data(), bytes.data() + at + 8, samples.size() * sizeof(float));
    return samples;
  }
  throw std::runtime_error("no data in " + path);
}

int open_descriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}
