#include "files/link_target.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
// As many links in a row as Linux follows before it gives up (ELOOP).
constexpr int LINKS_FOLLOWED = 40;
}  // namespace

std::string link_target(const std::string& path) {
  fs::path at = path;
  for (int hop = 0; hop < LINKS_FOLLOWED; ++hop) {
    std::error_code failure;
    if (!fs::is_symlink(fs::symlink_status(at, failure))) return at.string();
    fs::path to = fs::read_symlink(at, failure);
    if (failure) return at.string();
    at = to.is_absolute() ? to : at.parent_path() / to;
  }
  return path;
}
