// The size a picture file declares in its header, read before the decoder
// sees the file: the decoder allocates (and clears) the whole picture as soon
// as it has read the header, so a damaged header claiming a huge picture
// would cost gigabytes before the damage is found.
#pragma once

#include <cstdint>
#include <vector>

constexpr int PICTURE_SIDE_MAX = 4096;  // pixels; the game's largest picture is 512

enum class declared_size {
  found,    // width and height are set
  missing,  // a PNG, JPEG or BMP whose header is cut short or damaged
  other,    // not a PNG, JPEG or BMP file
};

// For a PNG, JPEG or BMP file: the width and height its header declares, in
// pixels, which may be 0 or negative in a damaged file (a BMP's negative
// height, which marks rows stored top first, counts as its size), or that
// no size stands where its format keeps one.
declared_size declared_picture_size(const std::vector<std::uint8_t>& data, std::int64_t& width,
                                    std::int64_t& height);

// "PNG", "JPEG" or "BMP" when the data starts as a picture file of that
// format does, else null. Stricter than the size reader above (PNG's whole
// signature, JPEG's start marker and the marker after it, BMP's "BM" and
// the file's own size after it), so that other binary files, such as a
// damaged level file, are not taken for pictures.
const char* picture_format(const std::vector<std::uint8_t>& data);
