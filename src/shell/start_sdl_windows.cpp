// Windows' side of start_sdl.h. SDL picks its own Windows video driver,
// which has OpenGL; the game leaves it alone. Windows has no sigaction:
// the C library's signal() saves and restores the handlers SDL replaces.
#include <SDL.h>
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "files/program_folder.h"
#include "shell/start_sdl.h"

namespace {
using handler = void (*)(int);

// stdout.txt and stderr.txt, when made here.
std::wstring output_files[2];

// Whether SDL's entry point could name the files beside the program: it
// takes the program's path in the code page, where a letter it lacks
// becomes a question mark, which no file name may hold.
bool code_page_spells_program_path() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return true;  // not ours to mend
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), static_cast<int>(length), nullptr,
                      0, nullptr, &lossy);
  return !lossy;
}

// Closes both files and removes each one that nothing was written to, before
// SDL's own clean-up, which cannot find them.
void remove_empty_output() {
  std::fclose(stdout);
  std::fclose(stderr);
  for (const std::wstring& path : output_files) {
    WIN32_FILE_ATTRIBUTE_DATA file;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file) &&
        file.nFileSizeHigh == 0 && file.nFileSizeLow == 0)
      DeleteFileW(path.c_str());
  }
}

// The handler `signal_number` has now, left in place.
handler current_handler(int signal_number) {
  handler now = std::signal(signal_number, SIG_DFL);
  std::signal(signal_number, now);
  return now;
}
}  // namespace

// SDL turns Ctrl-C (SIGINT) and SIGTERM into a quit event, which the game
// ignores like the window's close button; they get back what they had.
bool start_sdl() {
  handler interrupt = current_handler(SIGINT);
  handler terminate = current_handler(SIGTERM);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return false;
  std::signal(SIGINT, interrupt);
  std::signal(SIGTERM, terminate);
  return true;
}

const char* display_advice() { return ""; }

void keep_output_beside_program() {
  const char* redirect = std::getenv("SDL_STDIO_REDIRECT");
  if ((redirect && redirect[0] == '0') || code_page_spells_program_path()) return;
  std::filesystem::path folder = program_folder();
  output_files[0] = (folder / L"stdout.txt").wstring();
  output_files[1] = (folder / L"stderr.txt").wstring();
  if (_wfreopen(output_files[0].c_str(), L"w", stdout))
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  if (_wfreopen(output_files[1].c_str(), L"w", stderr)) std::setbuf(stderr, nullptr);
  std::atexit(remove_empty_output);
}
