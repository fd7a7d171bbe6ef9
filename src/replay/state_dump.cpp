#include "replay/state_dump.h"

#include "shell/object.h"
#include "shell/state_text.h"
#include "shell/view.h"

namespace {
class file_sink : public state_text {
 public:
  explicit file_sink(std::FILE* out) : out_(out) {}
  void put(const char* text, int length) override {
    std::fwrite(text, 1, static_cast<std::size_t>(length), out_);
  }

 private:
  std::FILE* out_;
};

// FNV-1a, 64-bit: for each byte, xor it in, then multiply by the prime.
class hash_sink : public state_text {
 public:
  void put(const char* text, int length) override {
    for (int k = 0; k < length; ++k) {
      hash_ ^= static_cast<unsigned char>(text[k]);
      hash_ *= 0x100000001b3u;
    }
  }
  std::uint64_t hash() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325u;
};

void write_state(state_text& out, long tick) {
  out.format("tick %ld view %d %d\n", tick, view_x, view_y);
  for (const obj_parent* o = start_obj; o; o = o->next) o->write_state(out);
}
}  // namespace

void dump_state(std::FILE* out, long tick) {
  file_sink sink(out);
  write_state(sink, tick);
}

std::uint64_t state_hash(long tick) {
  hash_sink sink;
  write_state(sink, tick);
  return sink.hash();
}
