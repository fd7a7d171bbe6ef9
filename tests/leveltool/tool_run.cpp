#include "tool_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

int tool_result::error_lines() const {
  return static_cast<int>(std::count(err.begin(), err.end(), '\n'));
}

tool_folder::tool_folder() {
  std::string templ = (fs::temp_directory_path() / "leveltool-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = templ;
  fs::create_directory(dir_ + "/.out");
}

tool_folder::~tool_folder() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void tool_folder::write(const std::string& name, const std::string& text) const {
  std::ofstream(path(name), std::ios::binary) << text;
}

void tool_folder::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  write(name, std::string(bytes.begin(), bytes.end()));
}

std::string tool_folder::read(const std::string& name) const {
  std::ifstream in(path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool tool_folder::exists(const std::string& name) const { return fs::exists(path(name)); }

std::vector<std::string> tool_folder::files() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

tool_result tool_folder::run(const std::string& args, const std::string& env) const {
  std::string command = "cd '" + dir_ + "' && " + env + " '" + LEVELTOOL_PROGRAM + "' " + args +
                        " >'" + dir_ + "/.out/stdout' 2>'" + dir_ + "/.out/stderr'";
  int raw = std::system(command.c_str());
  int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, read(".out/stdout"), read(".out/stderr")};
}
