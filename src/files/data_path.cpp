#include "files/data_path.h"

#include <cstdio>
#include <filesystem>
#include <set>

#include "files/program_folder.h"
#include "files/said_lines.h"
#include "files/utf8_paths.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> data_folders;
data_origin_report origin_report = nullptr;
std::size_t usual_folder = 0;    // the folder whose files are taken without a word
std::set<std::string> reported;  // files whose origin has been told
const char* origin_program = "";

void say_origin(const std::string& file, const std::string& folder) {
  say_line(std::string(origin_program) + ": " + data_origin_line(file, folder));
}

bool has_images(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder / "images", error);
}

std::string in_folder(const std::string& folder, const std::string& path) {
  return folder.empty() ? path : folder + "/" + path;
}

// The game's name for a file, with '/' separators and without "./".
std::string game_file(const char* game_path) {
  std::string path(game_path ? game_path : "");
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  return path;
}

// The folder as a person finds it: from the root, in UTF-8.
std::string whole_folder(const std::string& folder) {
  std::error_code error;
  fs::path whole = fs::absolute(file_path(folder.empty() ? "." : folder), error);
  if (error) return folder.empty() ? "." : folder;
  whole = whole.lexically_normal();
  std::string text = whole.u8string();
  bool root = whole == whole.root_path();
  return !root && text.size() > 1 && (text.back() == '/' || text.back() == '\\')
             ? text.substr(0, text.size() - 1)
             : text;
}

// A picture that is not a regular file (a folder, a pipe) is no picture: the
// next folder's is taken instead.
bool holds_file(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(file_path(path), error);
}
}  // namespace

std::string host_path(const char* game_path) {
  std::string path(game_path ? game_path : "");
  for (char& c : path)
    if (c == '\\') c = '/';
  if (data_folders.empty() || path.empty() || file_path(path).has_root_path()) return path;
  path = game_file(path.c_str());
  for (std::size_t k = 0; k < data_folders.size(); ++k) {
    std::string candidate = in_folder(data_folders[k], path);
    if (!holds_file(candidate)) continue;
    if (k != usual_folder && origin_report && reported.insert(path).second)
      origin_report(path, data_folders[k]);
    return candidate;
  }
  return in_folder(data_folders.back(), path);
}

std::string data_file_name(const char* game_path) {
  std::string found = host_path(game_path);
  std::string path = game_file(game_path);
  if (path.empty() || file_path(path).has_root_path() || holds_file(found)) return found;
  std::vector<std::string> folders =
      data_folders.empty() ? std::vector<std::string>{""} : data_folders;
  std::string where;
  for (const std::string& folder : folders)
    where += (where.empty() ? "" : " or in ") + whole_folder(folder);
  return path + " in " + where;
}

void set_data_folders(const std::vector<std::string>& folders, data_origin_report report,
                      std::size_t usual) {
  data_folders = folders;
  origin_report = report;
  usual_folder = usual < folders.size() ? usual : (folders.empty() ? 0 : folders.size() - 1);
  reported.clear();
}

void set_data_folder(const std::string& folder) {
  set_data_folders(folder.empty() ? std::vector<std::string>{} : std::vector<std::string>{folder});
}

// An installed program lives a level or two below the prefix (bin/ for the
// tools, libexec/blobdemo/ for the game), and the data under the prefix. On
// Windows the data lies beside the program (the installed data folder is
// ".").
std::string shipped_data_folder() {
  constexpr int PREFIX_DEPTH_MAX = 3;
  fs::path folder = program_folder();
  for (int up = 0; up < PREFIX_DEPTH_MAX && folder.has_relative_path(); ++up) {
    if (has_images(folder / BLOB_INSTALLED_DATA_DIR))
      return (folder / BLOB_INSTALLED_DATA_DIR).string();
    folder = folder.parent_path();
  }
  return has_images(BLOB_CHECKOUT_DATA_DIR) ? BLOB_CHECKOUT_DATA_DIR : "";
}

std::vector<std::string> data_folders_for_level(const std::string& level_path) {
  std::error_code error;
  fs::path folder = fs::absolute(file_path(level_path), error).parent_path();
  std::string shipped = shipped_data_folder();
  if (!shipped.empty() && fs::equivalent(folder, file_path(shipped), error)) return {shipped};
  return {folder.string(), shipped};
}

std::string data_origin_line(const std::string& file, const std::string& folder) {
  return "picture " + file + " taken from beside the level (" + in_folder(folder, file) + ")";
}

void use_data_folders_for_level(const std::string& level_path, const char* program) {
  origin_program = program;
  set_data_folders(data_folders_for_level(level_path), say_origin);
}
