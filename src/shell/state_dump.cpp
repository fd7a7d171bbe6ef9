#include "shell/state_dump.h"

#include "blob/wobblet.h"
#include "level/platform.h"
#include "shell/object.h"
#include "shell/view.h"

namespace {
// Where the dump's text goes: a file, or a running hash.
class text_sink {
 public:
  virtual ~text_sink() = default;
  virtual void put(const char* text, int length) = 0;

  // printf-style; every field of the dump fits the buffer many times over.
  template <class... Args>
  void format(const char* pattern, Args... args) {
    char buffer[128];
    int length = std::snprintf(buffer, sizeof buffer, pattern, args...);
    put(buffer, length);
  }
};

class file_sink : public text_sink {
 public:
  explicit file_sink(std::FILE* out) : out_(out) {}
  void put(const char* text, int length) override {
    std::fwrite(text, 1, static_cast<std::size_t>(length), out_);
  }

 private:
  std::FILE* out_;
};

// FNV-1a, 64-bit: for each byte, xor it in, then multiply by the prime.
class hash_sink : public text_sink {
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

void put_slots(text_sink& out, const double* slots, int count) {
  for (int k = 0; k < count; ++k) out.format(" %.17g", slots[k]);
}

void dump_platform(text_sink& out, const obj_platform& p) {
  out.format("P %.17g %.17g %d %d\n", static_cast<double>(p.x), static_cast<double>(p.y), p.timer,
             p.speed_y);
}

void dump_blob(text_sink& out, const obj_wobblet& b) {
  out.format("B %.17g %.17g %.17g %.17g", static_cast<double>(b.x), static_cast<double>(b.y),
             b.speed, b.direction);
  out.format(" %d %d %d", b.control_index, b.move_left ? 1 : 0, b.move_right ? 1 : 0);
  const int slots = b.point_count + 1;
  put_slots(out, b.rim_x, slots);
  put_slots(out, b.rim_y, slots);
  put_slots(out, b.rim_speed, slots);
  put_slots(out, b.rim_direction, slots);
  out.put("\n", 1);
}

void write_state(text_sink& out, long tick) {
  out.format("tick %ld view %d %d\n", tick, view_x, view_y);
  for (const obj_parent* o = start_obj; o; o = o->next) {
    if (auto* p = dynamic_cast<const obj_platform*>(o)) dump_platform(out, *p);
    if (auto* b = dynamic_cast<const obj_wobblet*>(o)) dump_blob(out, *b);
  }
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
