# The zip's copies of the level designer's notes and of the demo level's
# source, written for a player on Windows: the repository's versions speak
# of its folders (data/, tests/, docs/) and of Unix paths. Each replaced
# passage must be found, so that a change to the original is noticed here.
#   cmake -DSOURCE=TOP -DOUT=FOLDER -P for_windows.cmake
function(replace_exactly text_var old new)
  string(FIND "${${text_var}}" "${old}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "for_windows.cmake: a passage to replace is gone: ${old}")
  endif()
  string(REPLACE "${old}" "${new}" replaced "${${text_var}}")
  set(${text_var} "${replaced}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE}/levels/README.md notes)
replace_exactly(notes
"The game reads one binary level file, `level.map`, from its working folder
(`data/` in this repository). Level files are made with `leveltool` from a
source you can read and edit: the project's own JSON, or a map drawn in the
Tiled map editor and saved as JSON. `demo.json` here is the source of
`data/level.map`; after changing it, run

    leveltool build levels/demo.json data/level.map

(a test fails while `data/level.map` does not match its source)."
"The game reads one binary level file, `level.map`, from the folder it is
started in, or from beside `blobdemo.exe` when that folder has none. Level
files are made with `leveltool` from a source you can read and edit: the
project's own JSON, or a map drawn in the Tiled map editor and saved as JSON.
`demo.json` here is the source of the game's `level.map`; after changing it,
run, from a command prompt in the game's folder,

    leveltool build levels\\demo.json level.map

(Paths on Windows take backslashes: `images\\`, `levels\\demo.json`.)")
replace_exactly(notes
"Measured with the game's own blobs (tests/leveltool/demo_level_test.cpp keeps
the demo level's promises):"
"Measured with the game's own blobs:")
replace_exactly(notes "![The demo level](../docs/demo-level.png)"
"`leveltool render level.map demo.png --shrink 3` draws the whole level.")
file(WRITE ${OUT}/README.md "${notes}")

file(READ ${SOURCE}/levels/demo.json level)
replace_exactly(level
"Built into data/level.map by: leveltool build levels/demo.json data/level.map"
"Built into level.map by: leveltool build levels\\\\demo.json level.map")
file(WRITE ${OUT}/demo.json "${level}")
