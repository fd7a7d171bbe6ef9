// Smoothed lines for the outlines of the terrain and the blobs, where the GL
// offers them: desktop GL smooths lines when asked, the browser's GL draws
// every line 1 pixel wide and unsmoothed, and takes neither the request nor
// the hint (each would leave a GL error behind, every frame). Each build takes
// its own side (src/shell/CMakeLists.txt).
#pragma once

// Called at the start of every frame.
void smooth_lines();
