// Linked into every test and fuzz target: the blob demo's object kinds are
// installed before main(), so instance_create makes levels as in the game.
#include "world/object_kinds.h"

namespace {
const bool installed = (install_blob_demo_kinds(), true);
}  // namespace
