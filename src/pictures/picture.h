// Reading picture files into SDL surfaces laid out as the texture upload
// takes them: 3 or 4 bytes per pixel, rows padded to a multiple of 4 bytes.
// The game shows PNG and JPEG pictures; BMP is read too. A file that cannot
// be read gives its reason in one line's worth of words, which the caller
// says (shell/texture.h: once for each file, naming the program and what is
// drawn without the picture).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// Reads the file and decodes it. Returns the surface (the caller frees it),
// or null when the file cannot be read or decoded, with the reason in
// `problem`.
SDL_Surface* read_picture(const std::string& path, std::string& problem);

// The same for a file's bytes, already read. Needs no window.
SDL_Surface* decode_picture(std::vector<std::uint8_t> bytes, std::string& problem);
