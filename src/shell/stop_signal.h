// Ctrl-C and kill while a session is recorded: instead of killing the game
// at once they ask it to end after the tick it is in, so that the recording
// is written. stop_signal.cpp serves Linux and the browser (sigaction),
// stop_signal_windows.cpp Windows (signal); the build picks one.
#pragma once

// From now on SIGINT and SIGTERM set the flag below, once: a second one
// ends the game at once, so a game that does not end can still be stopped.
// A signal the game was started with ignored stays ignored.
void end_game_on_stop_signals();

// True once SIGINT or SIGTERM has come since end_game_on_stop_signals().
bool stop_signal_received();
