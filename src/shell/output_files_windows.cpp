// Windows' side of output_files.h. The files are opened with CreateFileW,
// sharing reading and deleting but not writing: a second game that tries
// to open the same file is refused before anything is emptied (Windows
// checks sharing before it truncates), and takes the next name. The
// handles then become the C library's standard output and error. At exit
// an empty file is marked for deletion through its own handle, before
// either is closed: it goes when the handle does, even when the process
// is ended before its last step, and no other file of that name is touched.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/program_folder.h"
#include "files/said_lines.h"
#include "shell/output_files.h"

namespace fs = std::filesystem;

namespace {
constexpr int NAMES_TRIED = 9;  // stderr.txt, stderr-2.txt, ... stderr-9.txt

std::wstring output_paths[2];  // stdout's and stderr's files, to name the folder they are in

enum class claim { taken, in_use, cannot_write };

// Opens `path` to write, emptied, for this game alone.
claim open_alone(const std::wstring& path, HANDLE& file) {
  file = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) return claim::taken;
  return GetLastError() == ERROR_SHARING_VIOLATION ? claim::in_use : claim::cannot_write;
}

// stdout.txt and stderr.txt in `folder` (or the first pair of numbered
// names that no other game holds). False when the folder cannot be written.
bool open_pair(const fs::path& folder, HANDLE files[2]) {
  const wchar_t* stems[2] = {L"stdout", L"stderr"};
  for (int k = 1; k <= NAMES_TRIED; ++k) {
    std::wstring suffix = k == 1 ? L".txt" : L"-" + std::to_wstring(k) + L".txt";
    int taken = 0;
    claim result = claim::taken;
    for (; taken < 2 && result == claim::taken; ++taken) {
      output_paths[taken] = (folder / (stems[taken] + suffix)).wstring();
      result = open_alone(output_paths[taken], files[taken]);
    }
    if (result == claim::taken) return true;
    if (taken == 2) CloseHandle(files[0]);
    if (result == claim::cannot_write) return false;
  }
  return false;
}

// The player's own folder for the game's files: %LOCALAPPDATA%\blobdemo.
fs::path per_user_folder() {
  const wchar_t* base = _wgetenv(L"LOCALAPPDATA");
  if (!base || !*base) return {};
  std::error_code ignored;
  fs::create_directories(fs::path(base) / L"blobdemo", ignored);
  return fs::path(base) / L"blobdemo";
}

// The stream writes to the handle from now on: reopened on the null device,
// so that the C library sets it up whatever it was, then pointed at the file.
void point_at(std::FILE* stream, HANDLE file) {
  int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_WRONLY | _O_TEXT);
  if (fd < 0) return;
  if (_wfreopen(L"NUL", L"w", stream)) _dup2(fd, _fileno(stream));
  _close(fd);
}

// Marks the stream's file to be deleted when it is closed, if nothing was
// written to it.
void delete_when_closed_if_empty(std::FILE* stream) {
  std::fflush(stream);
  HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  LARGE_INTEGER size;
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size) || size.QuadPart != 0) return;
  FILE_DISPOSITION_INFO dispose{TRUE};
  SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
}

// Closes both files; each one that nothing was written to goes with it.
void remove_empty_output() {
  delete_when_closed_if_empty(stdout);
  delete_when_closed_if_empty(stderr);
  std::fclose(stdout);
  std::fclose(stderr);
}
}  // namespace

void open_output_files() {
  // Kept on the console on request, as SDL's own entry point did.
  const char* redirect = std::getenv("SDL_STDIO_REDIRECT");
  if (redirect && redirect[0] == '0') return;
  HANDLE files[2];
  fs::path beside = program_folder();
  bool moved = !open_pair(beside, files);
  fs::path folder = moved ? per_user_folder() : beside;
  if (moved && (folder.empty() || !open_pair(folder, files))) return;
  point_at(stdout, files[0]);
  point_at(stderr, files[1]);
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  std::setbuf(stderr, nullptr);
  std::atexit(remove_empty_output);
  if (moved)
    say_line("blobdemo: the program's folder cannot be written; what the game says is kept in " +
             fs::path(output_paths[1]).u8string());
}
