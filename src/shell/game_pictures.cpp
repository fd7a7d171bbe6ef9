#include "shell/game_pictures.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "files/utf8_paths.h"

namespace fs = std::filesystem;

namespace {
std::string lower_case(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string stem_of(const std::string& name) { return name.substr(0, name.rfind('.')); }

bool picture_extension(const std::string& name) {
  std::size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? "" : lower_case(name.substr(dot + 1));
  return extension == "png" || extension == "jpg" || extension == "jpeg" || extension == "bmp";
}

// Whether one letter added, dropped or changed, or two neighbours swapped,
// turns `a` into `b`.
bool one_letter_apart(const std::string& a, const std::string& b) {
  const std::string& longer = a.size() >= b.size() ? a : b;
  const std::string& shorter = a.size() >= b.size() ? b : a;
  if (longer.size() - shorter.size() > 1 || a == b) return false;
  std::size_t first = 0;
  while (first < shorter.size() && longer[first] == shorter[first]) ++first;
  bool same_size = longer.size() == shorter.size();
  if (longer.compare(first + 1, std::string::npos, shorter, first + same_size, std::string::npos) ==
      0)
    return true;
  return same_size && first + 1 < a.size() && a[first] == b[first + 1] &&
         a[first + 1] == b[first] &&
         a.compare(first + 2, std::string::npos, b, first + 2, std::string::npos) == 0;
}

// A word of the picture's name of four letters or more ("snow" of
// "tex_snow", "portrait" of "hud_Portrait").
bool word_of(const std::string& stem, const std::string& picture_stem) {
  std::size_t start = 0;
  while (start <= picture_stem.size()) {
    std::size_t end = std::min(picture_stem.find('_', start), picture_stem.size());
    if (end - start >= 4 && picture_stem.compare(start, end - start, stem) == 0) return true;
    start = end + 1;
  }
  return false;
}

// The picture whose name `name` misses, or null.
const game_picture* missed_picture(const std::string& name) {
  if (!picture_extension(name)) return nullptr;
  std::string stem = lower_case(stem_of(name));
  for (const game_picture& p : game_pictures()) {
    std::string wanted = lower_case(stem_of(p.file));
    if (name != p.file &&
        (stem == wanted || word_of(stem, wanted) || one_letter_apart(stem, wanted)))
      return &p;
  }
  return nullptr;
}

bool is_file(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    names.push_back(it->path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

void note_folder(const fs::path& folder, bool is_images, std::vector<std::string>& notes) {
  fs::path images = is_images ? folder : folder / "images";
  for (const std::string& name : names_in(folder)) {
    const game_picture* exact = nullptr;
    for (const game_picture& p : game_pictures())
      if (name == p.file) exact = &p;
    const game_picture* meant = exact && !is_images ? exact : missed_picture(name);
    if (!meant || is_file(images / meant->file) || !is_file(folder / name)) continue;
    std::string shown = (is_images ? "images/" : "") + name;
    notes.push_back(shown +
                    " beside the level is not read: the game reads that picture only as "
                    "images/" +
                    meant->file + " (PNG, JPEG or BMP, whatever the name ends in)");
  }
}
}  // namespace

const std::vector<game_picture>& game_pictures() {
  static const std::vector<game_picture> pictures = {
      {"tex_snow.png", "the terrain is drawn without it"},
      {"crate.jpg", "the crates are drawn without it"},
      {"eyes_anx.png", "the blobs are drawn without their eyes"},
      {"mouth.png", "the blobs are drawn without their mouths"},
      {"font.png", "the caption is drawn without it"},
      {"hud_Portrait.png", "the portrait is drawn without it"}};
  return pictures;
}

const game_picture* game_picture_at(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (const game_picture& p : game_pictures())
    if (name == p.file) return &p;
  return nullptr;
}

std::vector<std::string> picture_name_near_misses(const std::string& folder) {
  std::vector<std::string> notes;
  fs::path base = file_path(folder.empty() ? "." : folder);
  note_folder(base / "images", true, notes);
  note_folder(base, false, notes);
  return notes;
}
