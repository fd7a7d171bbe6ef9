// Replays on the page. The page records every session: from the start, and
// afresh whenever a dropped level replaces the one that runs, so the replay
// it offers after Escape is of the level played last. A replay dropped onto
// the page is played on the level it names by SHA-256: the one that runs,
// or the page's own. When the game has ended, the recording and the verdict
// on a replay played are left in files for the page's script to pick up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/game.h"

constexpr const char* PAGE_RECORDING = "/session.replay";
constexpr const char* PAGE_VERDICT = "/replay-verdict.txt";

// The event pass of every tick of the page's game.
key_source* page_keys();

// Records from the next tick on, on the level with these bytes that runs
// from now; `name` is the level's name on the player's machine.
void record_page_level(const std::vector<std::uint8_t>& bytes, const std::string& name);

// Plays a dropped replay in place of the running game. False, with the one
// line that says why, when it is not the replay of a level the page has;
// otherwise the line says that it plays.
bool play_page_replay(const std::vector<std::uint8_t>& bytes, const std::string& name,
                      std::string& message);

// After the game: writes PAGE_RECORDING and PAGE_VERDICT, when there is
// something to put in them.
void finish_page_session();
