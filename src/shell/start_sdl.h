// Starting SDL for the game, the part of start-up that differs between
// systems: start_sdl.cpp serves Linux and the browser, start_sdl_windows.cpp
// Windows; the build picks one.
#pragma once

// Starts SDL's video and timer, leaving the game's reaction to Ctrl-C and
// termination as it was. False (SDL_GetError() tells why) when it cannot.
bool start_sdl();

// Said after a failure to start SDL or open the window, for a player who
// may not know what the game needs: "" when there is nothing to add.
const char* display_advice();

// For the game's main to call first. On Windows, SDL's entry point sends
// standard output and error to stdout.txt and stderr.txt beside the program,
// but names them in the code page: in a folder the code page cannot spell
// they cannot be made, and the game's lines would be lost. They are then
// made here by their UTF-16 names, and each is removed at exit when it stayed
// empty, as SDL does. Elsewhere, nothing to do.
void keep_output_beside_program();
