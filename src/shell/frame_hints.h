// How every frame asks the GL to draw: smooth shading between the corner
// colours, and smoothed lines for the outlines of the terrain and the blobs.
// Desktop GL takes both. The browser's GL shades smoothly anyway and draws
// every line 1 pixel wide and unsmoothed; it takes neither request (each
// would leave a GL error or a console warning behind, every frame). Each
// build takes its own side (src/shell/CMakeLists.txt).
#pragma once

// Called at the start of every frame.
void set_frame_hints();
