// Reading a whole data file into memory: levels, level sources and pictures
// (and, through read_stream_bytes, blobrun's key scripts). One reader, so
// that every program refuses the same odd files in the same words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The most bytes a file may hold to be read: far above any legal level file
// (at most 522,213 bytes), any sane level source and any picture the game
// accepts (4096 pixels a side, even uncompressed), and low enough that a
// huge file is refused before memory runs out.
constexpr std::size_t FILE_BYTES_MAX = std::size_t{128} << 20;

// Fills out with the file's bytes. Returns false, with the reason in words
// (one short phrase), when the file cannot be opened or read, is not a
// regular file (a folder, a pipe, a device) or holds more than `limit`
// bytes. Never waits: a pipe or a device is refused before any read.
bool read_file_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason,
                     std::size_t limit = FILE_BYTES_MAX);

// The same, but a pipe or a device is read too, to its end and waiting for
// it as command-line tools do (`blobrun LEVEL /dev/null 600`, a script
// piped in); still at most `limit` bytes, so /dev/zero is refused.
bool read_stream_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason,
                       std::size_t limit = FILE_BYTES_MAX);

// The same rules without reading: true when `path` names a regular file
// that can be opened; otherwise false, with the reason in words (a folder,
// a pipe or a device is refused at once, without waiting for a writer).
// For files read piece by piece, whatever their size (the music player's).
bool is_readable_file(const std::string& path, std::string& reason);
