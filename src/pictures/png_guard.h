// A structural check of PNG files, made before the picture decoder sees them.
// The decoder reads on past the end of the data as if it held stale bytes,
// and can spin for ever there: on a chunk that runs past the end, and on a
// file cut short before its image data is complete.
#pragma once

#include <cstdint>
#include <vector>

// For data that starts with the PNG signature: false when a chunk runs past
// the end of the data or the data ends inside a chunk's header. Data that
// ends between two chunks without the end chunk gets one appended, so the
// decoder stops there: it decodes the picture when its image data is
// complete and refuses it otherwise. Data that is not a PNG passes unchanged.
bool make_png_chunks_whole(std::vector<std::uint8_t>& data);
