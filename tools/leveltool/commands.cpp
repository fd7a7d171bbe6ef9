#include "commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "files/data_path.h"
#include "files/utf8_paths.h"
#include "files/whole_file_write.h"
#include "level_encoder.h"
#include "level_findings.h"
#include "level_input.h"
#include "level_render.h"
#include "level_report.h"
#include "level_source.h"
#include "object_kind.h"
#include "png_file.h"
#include "private_display.h"
#include "project_source.h"
#include "shell/counts_and_lists.h"
#include "shell/game_pictures.h"
#include "shell/texture.h"

namespace fs = std::filesystem;

namespace {
const char* const USAGE_TEXT =
    "usage: leveltool build SOURCE.json OUT.map\n"
    "         Makes a level file from a level source: the project's JSON or a map saved by\n"
    "         Tiled as JSON. Every value a level file cannot hold is reported; then nothing\n"
    "         is written.\n"
    "       leveltool dump LEVEL.map [OUT.json]\n"
    "         Writes a level file as the project's JSON (to standard output without OUT.json).\n"
    "         Building that JSON gives the same bytes back.\n"
    "       leveltool check LEVEL.map\n"
    "         Says what the game makes of a level file and every problem in it; exit status 1\n"
    "         when there is one.\n"
    "       leveltool render LEVEL.map OUT.png [--data DIR] [--shrink N]\n"
    "         Draws the whole level as the game's first frame shows it. Pictures come from\n"
    "         DIR/images (default: each from images/ beside the level when that holds it,\n"
    "         else the game's own). --shrink N makes the picture N (1..16) times smaller\n"
    "         on each side. %s\n"
    "dump, check and render also take a level source, built first as build does; they\n"
    "tell a source from a level file by its content and say which they read.\n"
    "Exit status: 0 done, 1 problems in the input or an output not written, 2 wrong usage.\n";

}  // namespace

const char* usage() {
  static char text[2048];
  if (text[0] == '\0') std::snprintf(text, sizeof text, USAGE_TEXT, private_display::where_drawn());
  return text;
}

namespace {
int usage_error(const std::string& problem) {
  std::fprintf(stderr, "leveltool: %s\n%s", problem.c_str(), usage());
  return 2;
}

int fail(const std::string& file, const std::string& problem) {
  std::fprintf(stderr, "leveltool: %s: %s\n", file.c_str(), problem.c_str());
  return 1;
}

void print_lines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::fprintf(stderr, "leveltool: %s\n", line.c_str());
}

// The first LINES_SAID lines, then how many more there are, as the game says
// a level's findings: a polygon too wide for a level has a problem at each
// of its points, hundreds of lines of one kind.
void print_some(const std::vector<std::string>& lines, const std::string& path,
                const std::string& kind) {
  std::size_t said = std::min(lines.size(), LINES_SAID);
  print_lines(std::vector<std::string>(lines.begin(), lines.begin() + said));
  if (lines.size() > said)
    fail(path, "and " + count_of(lines.size() - said, "more " + kind) + "; leveltool build " +
                   path + " lists them all");
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::exists(file_path(b), error) && fs::equivalent(file_path(a), file_path(b), error);
}

int write_output(const std::string& path, const void* data, std::size_t size) {
  std::string why;
  if (write_file_atomically(path, data, size, why)) return 0;
  return fail(path, "cannot write it: " + why);
}

std::string counts_text(const level_data& level) {
  int crates = 0;
  for (const level_object& o : level.objects) crates += o.type == TYPE_PLATFORM;
  return count_of(level.triangles.size(), "triangle") + ", " +
         count_of(level.objects.size(), "object") + " (" + count_of(crates, "crate") + ")";
}

// Reads a level file or builds a level source; false, with every reason
// said, when it cannot.
bool read_input(const std::string& path, level_input& input) {
  problem_list problems(path);
  bool ok = read_level_input(path, input, problems);
  print_some(problems.notes(), path, "note");
  if (ok) return true;
  print_some(problems.lines(), path, "problem");
  std::size_t count = problems.lines().size();
  if (count > 1) fail(path, count_of(count, "problem") + " in the level source");
  return false;
}
}  // namespace

int run_build(const arguments& args) {
  if (args.size() != 2) return usage_error("build takes a source file and an output file");
  const std::string &source = args[0], &out = args[1];
  if (same_file(source, out)) return fail(out, "is the source itself; give another output file");
  problem_list problems(source);
  level_data level;
  bool ok = load_level_source(source, level, problems);
  print_lines(problems.notes());
  if (!ok) {
    print_lines(problems.lines());
    std::size_t count = problems.lines().size();
    if (count > 1) fail(source, count_of(count, "problem") + "; " + out + " not written");
    return 1;
  }
  std::vector<std::uint8_t> bytes = encode_level(level);
  if (int status = write_output(out, bytes.data(), bytes.size())) return status;
  std::printf("%s: %s\n", out.c_str(), counts_text(level).c_str());
  return 0;
}

namespace {
// Things a dump carries over although building its JSON will refuse them or
// give other bytes.
void dump_notes(const std::string& path, std::size_t size, const level_data& level) {
  if (size == 0)
    fail(path, "note: the file is empty; the dump is of an empty level");
  else if (level.truncated)
    fail(
        path,
        "note: the file ends inside a record; only the whole records before that point are dumped");
  std::size_t unknown = 0;
  for (std::size_t k = 0; k < level.objects.size(); ++k)
    if (!is_known_type(level.objects[k].type) && ++unknown <= LINES_SAID)
      fail(path, "note: object " + std::to_string(k + 1) + " has the type code " +
                     std::to_string(level.objects[k].type) +
                     ", which the game skips and build refuses");
  if (unknown > LINES_SAID)
    fail(path, "note: and " + count_of(unknown - LINES_SAID, "more object") +
                   " with a type code the game skips; leveltool check " + path + " lists them all");
}
}  // namespace

int run_dump(const arguments& args) {
  if (args.empty() || args.size() > 2)
    return usage_error("dump takes a level file and, if wanted, an output file");
  if (args.size() == 2 && same_file(args[0], args[1]))
    return fail(args[1], "is the level itself; give another output file");
  level_input input;
  if (!read_input(args[0], input)) return 1;
  level_data level = parse_level(input.bytes.data(), input.bytes.size());
  dump_notes(args[0], input.bytes.size(), level);
  std::string text = write_project_source(level);
  if (args.size() == 2) return write_output(args[1], text.data(), text.size());
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : fail("standard output", "cannot write the dump");
}

int run_check(const arguments& args) {
  if (args.size() != 1) return usage_error("check takes one level file");
  level_input input;
  if (!read_input(args[0], input)) return 1;
  level_report report = examine_level(input.bytes.data(), input.bytes.size(), input.object_names);
  std::string text = "read as: " + kind_text(input.kind) +
                     (input.kind == level_input_kind::level_file ? "" : ", built as build does") +
                     "\n" + report_text(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  if (report.problems.empty()) return 0;
  return fail(args[0], count_of(report.problems.size(), "problem"));
}

namespace {
constexpr int SHRINK_MAX = 16;

bool parse_shrink(const std::string& text, int& factor) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 1 || value > SHRINK_MAX) return false;
  factor = static_cast<int>(value);
  return true;
}

bool parse_render_args(const arguments& args, render_request& request, std::string& level,
                       std::string& out, std::string& error) {
  std::vector<std::string> files;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    bool has_value = k + 1 < args.size();
    if (arg == "--data" && has_value) {
      request.data_dirs = {args[++k]};
    } else if (arg == "--shrink" && has_value) {
      if (parse_shrink(args[++k], request.shrink)) continue;
      error = "--shrink takes a whole number from 1 to " + std::to_string(SHRINK_MAX) + ", not " +
              args[k];
      return false;
    } else if (arg == "--data" || arg == "--shrink") {
      error = arg + " needs a value";
      return false;
    } else if (arg.rfind("--", 0) == 0) {
      error = "unknown option " + arg + " for render";
      return false;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) {
    error = "render takes a level file and an output file";
    return false;
  }
  level = files[0];
  request.level_path = fs::absolute(file_path(level)).string();
  out = fs::absolute(file_path(files[1])).string();
  return true;
}

// Where the pictures came from, when render chose the folders: the level's
// folder supplies the pictures it holds and the game's own data the rest.
void say_picture_origins(const render_request& request, const render_result& drawn) {
  for (const std::string& line : drawn.origins) std::printf("%s\n", line.c_str());
  std::string own = request.data_dirs.back().empty() ? "." : request.data_dirs.back();
  std::error_code error;
  if (!fs::is_directory(file_path(own) / "images", error)) return;
  std::printf("%s from %s/images\n", drawn.origins.empty() ? "pictures" : "other pictures",
              own.c_str());
}
}  // namespace

int run_render(const arguments& args) {
  render_request request;
  std::string level, out, error;
  if (!parse_render_args(args, request, level, out, error)) return usage_error(error);
  level_input input;
  if (!read_input(level, input)) return 1;
  bool chosen_folders = request.data_dirs.empty();
  if (chosen_folders) request.data_dirs = data_folders_for_level(request.level_path);
  request.level = std::move(input.bytes);
  render_result drawn;
  bool ok = render_level(request, drawn, error);
  if (chosen_folders)
    for (const std::string& note :
         picture_name_near_misses(file_path(request.level_path).parent_path().u8string()))
      drawn.notes.push_back(note);
  for (const std::string& note : drawn.notes) fail(level, "note: " + note);
  if (!ok) return fail(level, error);
  std::vector<std::uint8_t> png;
  if (!encode_png(drawn.image, png, error)) return fail(out, error);
  if (int status = write_output(out, png.data(), png.size())) return status;
  std::printf("%s: %d x %d pixels, drawn from %s\n", out.c_str(), drawn.image.width,
              drawn.image.height, kind_text(input.kind).c_str());
  if (chosen_folders) say_picture_origins(request, drawn);
  if (std::size_t unread = pictures_not_read())
    return fail(level, count_of(unread, "picture") + " could not be read (said above): " + out +
                           " shows the level without " + (unread == 1 ? "it" : "them"));
  return 0;
}
