// The leveltool program as a designer uses it: usage, exit statuses, one
// line per error naming the file, and no output written when it fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "level_encoder.h"
#include "tool_run.h"

namespace {
const char* const GOOD_SOURCE =
    R"({"terrain": [{"points": [[-400, 100], [400, 100], [400, 300], [-400, 300]], "color": "#a0b0c0"}],
  "objects": [{"type": "blob", "style": 1, "x": 0, "y": 0}, {"type": "blob", "style": 2, "x": -300, "y": 0},
              {"type": "blob", "style": 3, "x": -200, "y": 0}, {"type": "blob", "style": 4, "x": 250, "y": 0},
              {"type": "blob", "style": 5, "x": 350, "y": 0}, {"type": "crate", "x": 100, "y": 68}]})";

bool only_folder_files_are(const tool_folder& folder, std::vector<std::string> expected) {
  expected.push_back(".out");
  std::sort(expected.begin(), expected.end());
  return folder.files() == expected;
}
}  // namespace

TEST(Cli, UsageMistakesExitWithTwoAndShowTheUsage) {
  tool_folder folder;
  for (const char* args : {"", "frobnicate", "build one.json", "dump", "check a b", "render a.map",
                           "render a b --size 3", "render a b --shrink 0", "render a b --shrink 17",
                           "render a b --shrink x", "render a b --data"}) {
    tool_result r = folder.run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("usage: leveltool build SOURCE.json OUT.map"), std::string::npos) << args;
  }
  EXPECT_NE(folder.run("frobnicate").err.find("unknown command \"frobnicate\""), std::string::npos);
  EXPECT_EQ(folder.run("render a b --shrink 0")
                .err.rfind("leveltool: --shrink takes a whole number from 1 to 16, not 0\n", 0),
            0u);
  tool_result help = folder.run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("leveltool render LEVEL.map OUT.png"), std::string::npos);
}

TEST(Cli, BuildWritesTheLevelAndDumpGivesItsSourceBack) {
  tool_folder folder;
  folder.write("level.json", GOOD_SOURCE);
  tool_result built = folder.run("build level.json level.map");
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_EQ(built.out, "level.map: 2 triangles, 6 objects (1 crate)\n");
  EXPECT_EQ(built.err, "");
  ASSERT_EQ(folder.run("dump level.map dumped.json").status, 0);
  tool_result to_stdout = folder.run("dump level.map");
  EXPECT_EQ(to_stdout.out, folder.read("dumped.json"));
  ASSERT_EQ(folder.run("build dumped.json again.map").status, 0);
  EXPECT_EQ(folder.read("again.map"), folder.read("level.map"));
  EXPECT_TRUE(
      only_folder_files_are(folder, {"level.json", "level.map", "dumped.json", "again.map"}))
      << "a temporary file was left behind";
}

TEST(Cli, AFailedBuildWritesNothingAndKeepsTheOldFile) {
  tool_folder folder;
  folder.write("bad.json",
               R"({"terrain": [{"points": [[0, 0], [40000, 0], [0, 9]], "color": "#ffffff"}],
                               "objects": [{"type": "ghost", "x": 0, "y": 0}]})");
  folder.write("level.map", "old level");
  tool_result r = folder.run("build bad.json level.map");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.error_lines(), 3) << r.err;
  EXPECT_NE(r.err.find("leveltool: bad.json: terrain item 1: point 2 x 40000 is beyond"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("leveltool: bad.json: object 1: \"ghost\" is not a kind of object"),
            std::string::npos);
  EXPECT_NE(r.err.find("leveltool: bad.json: 2 problems; level.map not written"),
            std::string::npos);
  EXPECT_EQ(folder.read("level.map"), "old level");
  EXPECT_TRUE(only_folder_files_are(folder, {"bad.json", "level.map"}));
}

TEST(Cli, FilesThatCannotBeReadOrWrittenGiveOneLine) {
  tool_folder folder;
  struct {
    const char* args;
    const char* line;
  } cases[] = {
      {"build missing.json out.map",
       "leveltool: missing.json: cannot read it: No such file or directory\n"},
      {"dump missing.map", "leveltool: missing.map: cannot read it: No such file or directory\n"},
      {"check missing.map", "leveltool: missing.map: cannot read it: No such file or directory\n"},
      {"render missing.map out.png",
       "leveltool: missing.map: cannot read it: No such file or directory\n"},
      // Endless, or waiting for a writer for ever: refused before a byte is read.
      {"check /dev/zero", "leveltool: /dev/zero: cannot read it: it is a device, not a file\n"},
      {"build /dev/zero out.map",
       "leveltool: /dev/zero: cannot read it: it is a device, not a file\n"},
      {"build pipe.json out.map",
       "leveltool: pipe.json: cannot read it: it is a pipe, not a file\n"},
  };
  ASSERT_EQ(mkfifo(folder.path("pipe.json").c_str(), 0600), 0);
  for (const auto& c : cases) {
    tool_result r = folder.run(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_EQ(r.err, c.line) << c.args;
  }
  folder.write("level.json", GOOD_SOURCE);
  tool_result r = folder.run("build level.json no/such/folder/level.map");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.err,
      "leveltool: no/such/folder/level.map: cannot write it: cannot create a file in its folder: "
      "No such file or directory\n");
  r = folder.run("build level.json ./level.json");
  EXPECT_EQ(r.err, "leveltool: ./level.json: is the source itself; give another output file\n");
  EXPECT_EQ(folder.read("level.json"), GOOD_SOURCE);
}

TEST(Cli, SourcesThatAreNotJsonSayWhere) {
  tool_folder folder;
  folder.write("broken.json", "{\"terrain\": [\n  {\"points\": ]\n}");
  tool_result r = folder.run("build broken.json out.map");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.err.rfind("leveltool: broken.json: not valid JSON: parse error at line 2, column 14", 0),
      0u)
      << r.err;
  EXPECT_EQ(r.error_lines(), 1);
  // XML is told apart after a byte-order mark too, as editors may write one.
  for (const char* start : {"", "\xEF\xBB\xBF"}) {
    folder.write("map.tmx", std::string(start) + "<?xml version=\"1.0\"?>\n<map/>");
    r = folder.run("build map.tmx out.map");
    EXPECT_EQ(
        r.err,
        "leveltool: map.tmx: this is XML; save Tiled maps in the JSON format (.tmj or .json), "
        "in Tiled or with: tiled --export-map json map.tmx map.tmj\n");
    EXPECT_FALSE(folder.exists("out.map"));
  }
  folder.write("my map.tmx", "<?xml version=\"1.0\"?>\n<map/>");
  EXPECT_NE(folder.run("check 'my map.tmx'")
                .err.find("with: tiled --export-map json 'my map.tmx' 'my map.tmj'\n"),
            std::string::npos);
}

// JSON that the reader cannot take: nesting deep enough to exhaust the stack
// (in a terrain item, and in Tiled's group layers) and a number beyond a
// double. One line naming the file, exit 1, nothing written.
TEST(Cli, SourcesTooDeepOrWithNumbersTooLargeGiveOneLine) {
  auto repeat = [](const std::string& text, int times) {
    std::string out;
    for (int k = 0; k < times; ++k) out += text;
    return out;
  };
  tool_folder folder;
  folder.write("deep.json",
               "{\"terrain\": [" + repeat("[", 60000) + repeat("]", 60000) + "], \"objects\": []}");
  folder.write("groups.tmj", "{\"type\": \"map\", \"layers\": " +
                                 repeat("[{\"type\": \"group\", \"layers\": ", 90000) + "[]" +
                                 repeat("}]", 90000) + "}");
  folder.write("huge.json", R"({"terrain": 1e999})");
  for (const char* name : {"deep.json", "groups.tmj", "huge.json"}) {
    tool_result r = folder.run(std::string("build ") + name + " out.map");
    EXPECT_EQ(r.status, 1) << name << ": " << r.err.substr(0, 300);
    EXPECT_EQ(r.err.rfind(std::string("leveltool: ") + name + ": ", 0), 0u) << r.err.substr(0, 300);
    EXPECT_EQ(r.error_lines(), 1) << r.err.substr(0, 300);
  }
  EXPECT_FALSE(folder.exists("out.map"));
}

TEST(Cli, CheckExitsNonZeroOnProblems) {
  tool_folder folder;
  folder.write("level.json", GOOD_SOURCE);
  ASSERT_EQ(folder.run("build level.json level.map").status, 0);
  tool_result good = folder.run("check level.map");
  EXPECT_EQ(good.status, 0) << good.out;
  EXPECT_NE(good.out.find("object 1: blob 1 at (0, 0), under control at the start"),
            std::string::npos)
      << good.out;

  std::string bytes = folder.read("level.map");
  folder.write("cut.map", bytes.substr(0, bytes.size() - 3));
  tool_result cut = folder.run("check cut.map");
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.out.find("problem: the object count 6 asks for more records"), std::string::npos)
      << cut.out;
  EXPECT_EQ(cut.err, "leveltool: cut.map: 1 problem\n");
}

TEST(Cli, DumpCarriesOverWhatTheGameReadsAndSaysWhatBuildWillRefuse) {
  tool_folder folder;
  level_data level;
  level.objects = {{9, 1, 2}};
  std::vector<std::uint8_t> bytes = encode_level(level);
  bytes.push_back(0);  // half an object record more than the count says: ignored
  folder.write("odd.map", bytes);
  tool_result r = folder.run("dump odd.map");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("{\"type\": 9, \"x\": 1, \"y\": 2}"), std::string::npos) << r.out;
  EXPECT_EQ(r.err,
            "leveltool: odd.map: note: object 1 has the type code 9, which the game skips and "
            "build refuses\n");

  folder.write("cut.map", std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 3));
  r = folder.run("dump cut.map");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("the file ends inside a record"), std::string::npos);
}

namespace {
std::string without_first_line(const std::string& text) { return text.substr(text.find('\n') + 1); }
}  // namespace

// check and dump tell a level source from a level file by its content,
// whatever the file is called, build a source as build does, and say which
// they read. A level file stays one whatever its unread first byte holds.
TEST(Cli, CheckAndDumpTakeLevelSourcesAsWellAsLevelFiles) {
  tool_folder folder;
  folder.write("level.json", GOOD_SOURCE);
  ASSERT_EQ(folder.run("build level.json level.map").status, 0);
  folder.write("source.map", GOOD_SOURCE);
  tool_result file = folder.run("check level.map"), source = folder.run("check source.map");
  EXPECT_EQ(source.status, 0) << source.out << source.err;
  EXPECT_EQ(file.out.rfind("read as: a level file\n", 0), 0u) << file.out;
  EXPECT_EQ(source.out.rfind("read as: a level source (the project's JSON)", 0), 0u) << source.out;
  EXPECT_EQ(without_first_line(source.out), without_first_line(file.out));
  EXPECT_EQ(folder.run("dump source.map").out, folder.run("dump level.map").out);

  folder.write("map.tmj", R"({"type": "map", "orientation": "orthogonal", "layers": [
      {"type": "objectgroup", "name": "L", "objects": [
        {"id": 1, "x": 0, "y": 0, "point": true, "type": "blob",
         "properties": [{"name": "style", "type": "int", "value": 2}]}]}]})");
  tool_result tiled = folder.run("check map.tmj");
  EXPECT_EQ(tiled.status, 1) << "only blob 2: Tab finds no blob on four turns";
  EXPECT_NE(tiled.out.find("Tiled map"), std::string::npos) << tiled.out;
  EXPECT_NE(tiled.out.find("object 1 in layer \"L\": blob 2 at (0, 0)"), std::string::npos)
      << "named as Tiled names it: " << tiled.out;

  folder.write("broken.json", "{\"terrain\": [");
  tool_result broken = folder.run("check broken.json");
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.out, "");
  EXPECT_EQ(broken.err.rfind("leveltool: broken.json: not valid JSON", 0), 0u) << broken.err;
  EXPECT_EQ(broken.error_lines(), 1) << broken.err;

  std::string bytes = folder.read("level.map");
  bytes[0] = '{';
  folder.write("brace.map", bytes);
  tool_result brace = folder.run("check brace.map");
  EXPECT_EQ(brace.status, 0) << brace.err;
  EXPECT_EQ(brace.out.rfind("read as: a level file\n", 0), 0u) << brace.out;
}

// dump refuses, as build does, to write over the file it reads, by any name.
TEST(Cli, DumpNeverOverwritesItsInput) {
  tool_folder folder;
  folder.write("level.json", GOOD_SOURCE);
  ASSERT_EQ(folder.run("build level.json level.map").status, 0);
  std::string level = folder.read("level.map");
  std::filesystem::create_hard_link(folder.path("level.map"), folder.path("hard.map"));
  std::filesystem::create_symlink("level.map", folder.path("soft.map"));
  for (const char* out : {"level.map", "./level.map", "hard.map", "soft.map"}) {
    tool_result r = folder.run(std::string("dump level.map ") + out);
    EXPECT_EQ(r.status, 1) << out;
    EXPECT_EQ(r.error_lines(), 1) << r.err;
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
  }
  EXPECT_EQ(folder.read("level.map"), level);
  EXPECT_EQ(folder.run("dump level.map copy.json").status, 0);
}

// An empty file is reported as empty rather than as a record cut short; one
// named as a level source is refused as a broken source, not played empty.
TEST(Cli, AnEmptyLevelFileIsCalledEmpty) {
  tool_folder folder;
  folder.write("empty.map", "");
  tool_result check = folder.run("check empty.map"), dump = folder.run("dump empty.map");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("empty"), std::string::npos) << check.out;
  EXPECT_EQ(dump.status, 0);
  EXPECT_NE(dump.err.find("empty"), std::string::npos) << dump.err;
  for (const std::string& text : {check.out, check.err, dump.err})
    EXPECT_EQ(text.find("ends inside a record"), std::string::npos) << text;
  folder.write("empty.tmj", "");
  folder.write("blank.json", " \n\t\n");
  for (const char* name : {"empty.tmj", "blank.json"}) {
    tool_result r = folder.run(std::string("check ") + name);
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_EQ(r.out, "") << name;
    EXPECT_EQ(r.err, std::string("leveltool: ") + name + ": the file " +
                         (name[0] == 'e' ? "is empty" : "holds only white space") +
                         "; a level source is JSON\n");
  }
}

// Inputs that are not levels, or that would flood the terminal: each says
// what it is in one line, and lines of one kind stop at ten and a count, as
// the game says a level's notes and problems.
TEST(Cli, OddInputsGiveOneLineAndFloodsAreCapped) {
  tool_folder folder;
  std::string wide = R"({"terrain": [{"points": [)";
  for (int k = 0; k < 560; ++k) wide += "[" + std::to_string(k * 120) + ", 0], ";
  folder.write("wide.json", wide + R"([0, 100]]}], "objects": []})");
  folder.write("picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  folder.write("list.json", "[1, 2]");
  level_data unknown;
  for (int k = 0; k < 30; ++k) unknown.objects.push_back({9, k, 0});
  folder.write("unknown.map", encode_level(unknown));
  struct row {
    const char* args;
    int status;
    int lines;
    const char* said;  // on standard error
  };
  for (const row& r :
       {row{"check wide.json", 1, 12,
            "leveltool: wide.json: and 277 more problems; leveltool build wide.json lists them "
            "all\nleveltool: wide.json: 287 problems in the level source\n"},
        row{"render wide.json w.png", 1, 12, "and 277 more problems"},
        row{"check picture.png", 1, 1,
            "leveltool: picture.png: this is a PNG picture, not a level: a level is a level file "
            "(leveltool build makes one) or a level source (.json, .tmj)\n"},
        row{"dump list.json", 1, 1,
            "leveltool: list.json: the file holds [1,2], not a level object"},
        row{"dump unknown.map", 0, 11,
            "leveltool: unknown.map: note: object 10 has the type code 9, which the game skips "
            "and build refuses\nleveltool: unknown.map: note: and 20 more objects with a type "
            "code the game skips; leveltool check unknown.map lists them all\n"}}) {
    tool_result result = folder.run(r.args);
    EXPECT_EQ(result.status, r.status) << r.args;
    EXPECT_EQ(result.error_lines(), r.lines) << r.args << ":\n" << result.err;
    EXPECT_NE(result.err.find(r.said), std::string::npos) << r.args << ":\n" << result.err;
  }
  EXPECT_EQ(folder.run("build wide.json w.map").error_lines(), 288) << "build lists them all";
  EXPECT_FALSE(folder.exists("w.png"));
}
