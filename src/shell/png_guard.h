// A structural check of PNG files, made before the picture decoder sees them:
// the decoder spins for ever on a PNG whose chunk runs past the end of the
// file, so such files must be refused up front.
#pragma once

#include <cstddef>
#include <cstdint>

// For data that starts with the PNG signature: true when every chunk up to
// IEND lies within the data. Data that is not a PNG passes unchecked.
bool png_chunks_fit(const std::uint8_t* data, std::size_t size);
