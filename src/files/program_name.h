// The name a program gives itself in the messages that code shared by every
// program prints ("blobdemo: texture: ..."), so that a reader of a terminal
// or a log knows which program spoke. Each main sets it first; until then
// (the tests) such messages start without it.
#pragma once

#include <string>

void set_program_name(const char* name);

// "NAME: " once a name is set, else "".
std::string program_prefix();
