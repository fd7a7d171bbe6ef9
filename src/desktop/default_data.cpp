#include "desktop/default_data.h"

// The working folder's, as the game names them: nothing to find.
void find_default_data() {}

std::string default_level() { return "level.map"; }
