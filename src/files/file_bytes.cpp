#include "files/file_bytes.h"

#include "files/read_only_file.h"

const char* not_a_file(file_kind kind) {
  switch (kind) {
    case file_kind::folder:
      return "it is a folder, not a file";
    case file_kind::pipe:
      return "it is a pipe, not a file";
    case file_kind::device:
      return "it is a device, not a file";
    default:
      return "it is not a regular file";
  }
}

namespace {

std::string too_large(std::size_t limit) {
  constexpr std::size_t MB = std::size_t{1} << 20;
  std::string most =
      limit % MB == 0 ? std::to_string(limit / MB) + " MB" : std::to_string(limit) + " bytes";
  return "it holds more than " + most + ", the most a file may hold to be read";
}

// Reads to the end, but never more than limit + 1 bytes: one more than the
// limit is enough to know the file is too large, however long it goes on.
bool read_to_end(read_only_file& file, std::vector<std::uint8_t>& out, std::size_t limit,
                 std::string& reason) {
  std::uint8_t chunk[65536];
  for (;;) {
    std::size_t room = limit + 1 - out.size();
    long long got = file.read(chunk, room < sizeof chunk ? room : sizeof chunk);
    if (got < 0) {
      reason = file.failure();
      return false;
    }
    if (got == 0) return true;
    out.insert(out.end(), chunk, chunk + got);
    if (out.size() > limit) {
      reason = too_large(limit);
      return false;
    }
  }
}

bool read_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason,
                std::size_t limit, bool streams_too) {
  out.clear();
  read_only_file file(path);
  if (!file.failure().empty()) {
    reason = file.failure();
    return false;
  }
  bool stream = file.kind() == file_kind::pipe || file.kind() == file_kind::device;
  if (file.kind() != file_kind::regular && !(streams_too && stream)) {
    reason = not_a_file(file.kind());
    return false;
  }
  if (file.size() > limit) {
    reason = too_large(limit);
    return false;
  }
  out.reserve(static_cast<std::size_t>(file.size()));
  bool whole = read_to_end(file, out, limit, reason);
  if (!whole) out.clear();
  return whole;
}
}  // namespace

bool read_file_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason,
                     std::size_t limit) {
  return read_bytes(path, out, reason, limit, false);
}

bool read_stream_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason,
                       std::size_t limit) {
  return read_bytes(path, out, reason, limit, true);
}

bool is_readable_file(const std::string& path, std::string& reason) {
  read_only_file file(path);
  if (!file.failure().empty()) {
    reason = file.failure();
    return false;
  }
  if (file.kind() != file_kind::regular) {
    reason = not_a_file(file.kind());
    return false;
  }
  return true;
}
