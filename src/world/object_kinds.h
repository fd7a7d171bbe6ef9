// The kinds of object a level holds, for the shell's instance_create: the
// level object (-1), the crate platform (0) and the blob in its five styles
// (1..5), with the terrain as what they keep outside the object list. Every
// program installs them first: the game, the page, the tools, the tests.
#pragma once

void install_blob_demo_kinds();
