// The sub-commands of leveltool. Each takes its arguments after the command
// name and returns the exit status: 0 done, 1 the input has problems or an
// output could not be written, 2 wrong usage. Messages go to standard error,
// one line each, naming the file.
#pragma once

#include <string>
#include <vector>

using arguments = std::vector<std::string>;

int run_build(const arguments& args);
int run_dump(const arguments& args);
int run_check(const arguments& args);
int run_render(const arguments& args);

// The usage, with where render draws in the words of this system.
const char* usage();
