#include "blob/wobblet.h"
void obj_wobblet::keydown(SDL_Event) {}
void obj_wobblet::keyup(SDL_Event) {}
