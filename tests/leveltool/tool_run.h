// Runs the leveltool program as a user would, in a scratch folder of its own,
// and keeps its exit status and output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct tool_result {
  int status;       // exit status, or -1 when it did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
  int error_lines() const;
};

class tool_folder {
 public:
  tool_folder();
  ~tool_folder();
  tool_folder(const tool_folder&) = delete;
  tool_folder& operator=(const tool_folder&) = delete;

  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  void write(const std::string& name, const std::string& text) const;
  void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Names of the files in the folder, sorted.
  std::vector<std::string> files() const;

  // Runs "leveltool ARGS" in the folder; env is put in front of the command
  // (for example "env -u DISPLAY").
  tool_result run(const std::string& args, const std::string& env = "") const;

 private:
  std::string dir_;
};
