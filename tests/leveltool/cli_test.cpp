// The leveltool program as a designer uses it: usage, exit statuses, one
// line per error naming the file, and no output written when it fails.
#include <gtest/gtest.h>

#include "level_encoder.h"
#include "tool_run.h"

namespace {
const char* const GOOD_SOURCE =
    R"({"terrain": [{"points": [[-400, 100], [400, 100], [400, 300], [-400, 300]], "color": "#a0b0c0"}],
  "objects": [{"type": "blob", "style": 1, "x": 0, "y": 0}, {"type": "crate", "x": 100, "y": 40}]})";

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
  EXPECT_EQ(built.out, "level.map: 2 triangles, 2 objects (1 crates)\n");
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
  };
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
  folder.write("map.tmx", "<?xml version=\"1.0\"?>\n<map/>");
  r = folder.run("build map.tmx out.map");
  EXPECT_EQ(
      r.err,
      "leveltool: map.tmx: this is XML; save Tiled maps in the JSON format (.tmj or .json)\n");
  EXPECT_FALSE(folder.exists("out.map"));
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
  EXPECT_NE(cut.out.find("problem: the object count 2 asks for more records"), std::string::npos)
      << cut.out;
  EXPECT_EQ(cut.err, "leveltool: cut.map: 1 problems\n");
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
