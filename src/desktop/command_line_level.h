// Playing a level named on the command line: a level file, or a level source
// built in memory as `leveltool build` builds it. Each picture comes from
// images/ beside the level when that holds it, else from the game's own data.
// Each save of the file while the game runs remakes the world from it.
#pragma once

#include <functional>
#include <string>

class replay_session;

// The whole program for `blobdemo LEVEL`: returns its exit status, 1 (after
// one line naming the file and the reason) when the level cannot be read or
// built. With a session, the game is recorded, into `replay_path` (as the
// line that says so names it), until the level is first reloaded: a replay
// holds one level. `between_ticks`, when given, runs before every tick too.
int play_command_line_level(const std::string& path, int argc, char** argv,
                            replay_session* session = nullptr, const std::string& replay_path = "",
                            const std::function<void()>& between_ticks = {});
