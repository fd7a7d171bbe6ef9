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
