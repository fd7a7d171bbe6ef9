#include "shell/counts_and_lists.h"

std::string count_of(long long n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

std::string listed(const std::vector<std::string>& items, const std::string& last_joint) {
  std::string text;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (k > 0) text += k + 1 == items.size() ? " " + last_joint + " " : ", ";
    text += items[k];
  }
  return text;
}
