// Problems found in a level source. Building collects all of them before
// giving up, so a designer sees every bad value of a file in one run rather
// than one per run. Notes tell of things left out on purpose (a hidden layer)
// and do not stop the build.
#pragma once

#include <string>
#include <vector>

class problem_list {
 public:
  explicit problem_list(std::string source_file) : file_(std::move(source_file)) {}

  // Records "FILE: where: what". `where` names the object ("terrain item 3
  // \"hill\"") and may be empty for problems of the whole file.
  void add(const std::string& where, const std::string& what);
  void note(const std::string& where, const std::string& what);

  bool empty() const { return lines_.empty(); }
  const std::vector<std::string>& lines() const { return lines_; }
  const std::vector<std::string>& notes() const { return notes_; }
  const std::string& file() const { return file_; }

 private:
  std::string line(const std::string& where, const std::string& what) const;

  std::string file_;
  std::vector<std::string> lines_;
  std::vector<std::string> notes_;
};
