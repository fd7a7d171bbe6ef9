// Reading picture files into SDL surfaces laid out as the texture upload
// takes them: 3 or 4 bytes per pixel, rows padded to a multiple of 4 bytes.
// The game shows PNG and JPEG pictures; BMP is read too. A file that cannot
// be read is reported in one line on stderr, "texture: REASON (FILE)", once
// however often it is asked for (a game with its pictures missing asks for
// the same ones again and again).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// Reads the file and decodes it. Returns the surface (the caller frees it),
// or null when the file cannot be read or decoded. Messages name the file
// `name`, when given, else `path`.
SDL_Surface* read_picture(const std::string& path, const std::string& name = "");

// The same for a file's bytes, already read; `name` names the file in
// messages. Needs no window.
SDL_Surface* decode_picture(std::vector<std::uint8_t> bytes, const std::string& name);
