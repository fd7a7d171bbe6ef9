// PNG pictures for `leveltool render`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rgb_image.h"

// Encodes the picture as an 8-bit RGB PNG. False with the reason from libpng.
bool encode_png(const rgb_image& image, std::vector<std::uint8_t>& out, std::string& why);
