#include "files/program_name.h"

namespace {
std::string program_name;
}

void set_program_name(const char* name) { program_name = name ? name : ""; }

std::string program_prefix() { return program_name.empty() ? "" : program_name + ": "; }
