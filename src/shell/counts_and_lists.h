// Counts and lists in messages, so that they read as sentences:
// "1 crate", "2 crates"; "2, 3 and 5".
#pragma once

#include <string>
#include <vector>

// The number and the noun, with an "s" added unless the number is 1.
std::string count_of(long long n, const std::string& noun);

// The items joined by commas, the last two by "and" ("or" when given).
std::string listed(const std::vector<std::string>& items, const std::string& last_joint = "and");
