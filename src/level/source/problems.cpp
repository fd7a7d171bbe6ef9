#include "problems.h"

std::string problem_list::line(const std::string& where, const std::string& what) const {
  return file_ + ": " + (where.empty() ? "" : where + ": ") + what;
}

void problem_list::add(const std::string& where, const std::string& what) {
  lines_.push_back(line(where, what));
}

void problem_list::note(const std::string& where, const std::string& what) {
  notes_.push_back(line(where, "note: " + what));
}
