// Ctrl-C, kill and a closed terminal while a session is recorded: instead of
// killing the game at once they ask it to end after the tick it is in, so
// that the recording is written. stop_signal.cpp serves Linux and the
// browser (sigaction), stop_signal_windows.cpp Windows (signal); the build
// picks one.
#pragma once

// From now on SIGINT, SIGTERM and SIGHUP (where the system has it) set the
// flag below. Every one does, however many come: a second Ctrl-C before
// the tick ends, or while the recording is written, must not lose it. (A
// game that does not end at all is still stopped by SIGKILL, or by SIGQUIT,
// Ctrl-\ in its terminal.) A signal the game was started with ignored
// stays ignored.
void end_game_on_stop_signals();

// True once a stop signal has come since end_game_on_stop_signals().
bool stop_signal_received();
