// Runs a fuzz target's body without libFuzzer, so that ctest can run it in
// every build and with any compiler: each input of the target's seed corpus,
// then inputs made from them by a generator of fixed seed, the same on every
// run. The inputs are level files, changed the ways that find faults in the
// terrain index: numbers of the file made small, so that triangles crowd
// together and cross cell borders; records repeated, so that copies pile up
// and crates stack; bytes flipped; files cut short or joined.
//   fixed_run CORPUS_DIR INPUTS SEED
// When the target finds a fault it calls describe_parted_input before it
// aborts: the input's place in the run and the seed are printed, and its
// bytes written to fixed_run_parted.input in the working folder, where the
// fuzz target reads it again (scripts/fuzz.sh builds it).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
using bytes = std::vector<std::uint8_t>;

// The input now running, for describe_parted_input.
struct running_input {
  const bytes* input = nullptr;
  std::string what;
} running;

void run_one(const bytes& input, std::string what) {
  running = {&input, std::move(what)};
  LLVMFuzzerTestOneInput(input.data(), input.size());
}
constexpr std::size_t LONGEST = 4096;  // bytes: inputs of the size the corpus has

struct generator {
  std::uint64_t state;
  std::uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state >> 33);
  }
  std::size_t below(std::size_t n) { return n == 0 ? 0 : next() % n; }
};

std::vector<bytes> read_corpus(const std::string& folder) {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  std::vector<bytes> corpus;
  for (const auto& path : paths) {
    std::ifstream in(path, std::ios::binary);
    corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return corpus;
}

// A number triple of the file's encoding with a magnitude below 400.
void write_small_number(bytes& b, std::size_t at, generator& g) {
  if (at + 3 > b.size()) return;
  int value = static_cast<int>(g.below(800)) - 400;
  b[at] = value < 0 ? 0 : 1;
  b[at + 1] = static_cast<std::uint8_t>(std::abs(value) / 255);
  b[at + 2] = static_cast<std::uint8_t>(std::abs(value) % 255);
}

bytes changed(const std::vector<bytes>& corpus, generator& g) {
  bytes b = corpus[g.below(corpus.size())];
  int changes = 1 + static_cast<int>(g.below(6));
  for (int k = 0; k < changes && !b.empty(); ++k) {
    std::size_t at = g.below(b.size());
    switch (g.below(6)) {
      case 0:
      case 1:  // a number made small, at the place of a triple
        write_small_number(b, at - at % 3 + 1, g);
        break;
      case 2: {  // a run of bytes repeated: copies of records
        std::size_t length = std::min<std::size_t>(1 + g.below(63), b.size() - at);
        bytes run(b.begin() + static_cast<std::ptrdiff_t>(at),
                  b.begin() + static_cast<std::ptrdiff_t>(at + length));
        for (std::size_t times = 1 + g.below(20); times-- > 0 && b.size() < LONGEST;)
          b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), run.begin(), run.end());
        break;
      }
      case 3:
        b[at] ^= static_cast<std::uint8_t>(1u << g.below(8));
        break;
      case 4:
        b.resize(at + 1);
        break;
      default: {  // joined with another input
        const bytes& other = corpus[g.below(corpus.size())];
        b.insert(b.end(), other.begin() + static_cast<std::ptrdiff_t>(g.below(other.size())),
                 other.end());
        break;
      }
    }
  }
  if (b.size() > LONGEST) b.resize(LONGEST);
  return b;
}
}  // namespace

extern "C" void describe_parted_input() {
  const char* path = "fixed_run_parted.input";
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(running.input->data()),
            static_cast<std::streamsize>(running.input->size()));
  std::fprintf(stderr, "fixed_run: %s parted; its %zu bytes are in %s\n", running.what.c_str(),
               running.input->size(), out ? path : "no file (cannot write one here)");
}

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: fixed_run CORPUS_DIR INPUTS SEED\n");
    return 2;
  }
  std::vector<bytes> corpus = read_corpus(argv[1]);
  if (corpus.empty()) {
    std::fprintf(stderr, "fixed_run: no inputs in %s\n", argv[1]);
    return 1;
  }
  for (std::size_t k = 0; k < corpus.size(); ++k)
    run_one(corpus[k], "input " + std::to_string(k + 1) + " of the corpus (in name order)");
  generator g{std::strtoull(argv[3], nullptr, 10)};
  long inputs = std::strtol(argv[2], nullptr, 10);
  for (long k = 0; k < inputs; ++k)
    run_one(changed(corpus, g), "input " + std::to_string(k + 1) + " made with seed " + argv[3]);
  std::printf("fixed_run: %zu inputs of the corpus and %ld made from them agreed\n", corpus.size(),
              inputs);
  return 0;
}
