// The six pictures the game shows, each read from images/ under its own
// name: what shows it, and what is drawn without it when it cannot be read.
// A picture under another name is never read, so the game looks for the
// names a designer may have meant (Tex_snow.png, tex_snow.jpg, snow.png) and
// says what it skips.
#pragma once

#include <string>
#include <vector>

struct game_picture {
  const char* file;     // "tex_snow.png", under images/
  const char* without;  // "the terrain is drawn without it"
};

// The six, in the order the game first reads them.
const std::vector<game_picture>& game_pictures();

// The picture whose file the game path names ("./images/crate.jpg", with
// either separator), or null for any other file.
const game_picture* game_picture_at(const std::string& path);

// Notes on the files in `folder` and in its images/ that miss a picture's
// name and so are not read: another case or extension, a part of the name
// ("snow.png"), a letter off, or a picture beside the level rather than in
// images/. Nothing for a picture that images/ holds under its own name.
// One line each: "images/Tex_snow.png beside the level is not read: ...".
std::vector<std::string> picture_name_near_misses(const std::string& folder);
