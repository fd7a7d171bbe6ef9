#include "blob/wobblet.h"
void obj_wobblet::draw() {}
