// Where a windowed game's standard output and standard error go: the part
// of start-up that differs between systems (output_files.cpp serves Linux
// and the browser, output_files_windows.cpp Windows; the build picks one).
#pragma once

// For the game's main to call first. On Linux and in the browser the
// streams stay where they are. On Windows a windowed program has none: they
// go to stdout.txt and stderr.txt beside the program, or, when its folder
// cannot be written (Program Files, a read-only folder), in the player's
// %LOCALAPPDATA%\blobdemo, which is then said once, on screen too. Each
// file is removed at exit when it stayed empty. A second game started from
// the same folder while the first runs writes stdout-2.txt and
// stderr-2.txt, and so on, rather than the first's files. Files are named
// by their UTF-16 names, so any folder will do.
void open_output_files();
