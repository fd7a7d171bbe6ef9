// `leveltool render` draws the level with the game's code, on the display it
// is given or on an Xvfb of its own. The pictures are the tests' own, whose
// flat colours make the expected pixels known: the terrain texture is white
// on the left half of each 400-pixel repeat and mid grey on the right, the
// crate is (200, 120, 40), the eyes a green block in the middle of the face.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>

#include "level_encoder.h"
#include "rgb_image.h"
#include "tool_run.h"

namespace {
struct picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  // The pixel showing world point (wx, wy): the picture's top-left corner is
  // world (-32, -68) for the level below.
  std::array<int, 3> at_world(int wx, int wy) const {
    std::size_t k = (static_cast<std::size_t>(wy + 68) * width + (wx + 32)) * 3;
    return {rgb[k], rgb[k + 1], rgb[k + 2]};
  }
};

picture read_png(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  picture p;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return p;
  image.format = PNG_FORMAT_RGB;
  p.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) return p;
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  return p;
}

// Terrain from (0, 100) to (400, 300) in (200, 40, 40), a crate at (100, 40)
// and blob 1 at (300, 0). With the 32-pixel margin the picture spans world
// x -32..432 and y -68..332 (the blob's face reaches 36 pixels up).
std::vector<std::uint8_t> test_level() {
  level_data level;
  level_vertex a{0, 100, 200, 40, 40}, b{400, 100, 200, 40, 40}, c{400, 300, 200, 40, 40},
      d{0, 300, 200, 40, 40};
  level.triangles = {{{a, b, d}}, {{b, c, d}}};
  level.objects = {{0, 100, 40}, {1, 300, 0}};
  return encode_level(level);
}

::testing::AssertionResult near(std::array<int, 3> got, std::array<int, 3> expected,
                                int tolerance = 4) {
  for (int k = 0; k < 3; ++k)
    if (std::abs(got[k] - expected[k]) > tolerance)
      return ::testing::AssertionFailure()
             << "(" << got[0] << ", " << got[1] << ", " << got[2] << ") is not (" << expected[0]
             << ", " << expected[1] << ", " << expected[2] << ")";
  return ::testing::AssertionSuccess();
}

void expect_level_with_pictures(const picture& p) {
  ASSERT_EQ(p.width, 465);
  ASSERT_EQ(p.height, 401);
  EXPECT_TRUE(near(p.at_world(50, 200), {200, 40, 40}))
      << "terrain under the white half of the texture";
  EXPECT_TRUE(near(p.at_world(250, 200), {100, 20, 20})) << "terrain under the grey half";
  EXPECT_TRUE(near(p.at_world(130, 55), {200, 120, 40}, 6)) << "the crate";
  EXPECT_TRUE(near(p.at_world(300, -3), {0, 255, 0})) << "blob 1's eyes";
  EXPECT_TRUE(near(p.at_world(-27, -63), {0, 0, 126}, 3)) << "the backdrop's blue top";
  EXPECT_TRUE(near(p.at_world(-27, 327), {0, 0, 2}, 3)) << "the backdrop's dark bottom";
}
}  // namespace

TEST(Render, OnTheDisplayItIsGiven) {
  tool_folder folder;
  folder.write("level.map", test_level());
  tool_result r =
      folder.run("render level.map level.png --data '" + std::string(BLOB_TEST_DATA) + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.path("level.png") + ": 465 x 401 pixels, drawn from a level file\n");
  expect_level_with_pictures(read_png(folder.path("level.png")));
}

// A level source is built first, in memory: nothing is written to the
// temporary folder, and the working folder keeps only what the test wrote.
TEST(Render, ALevelSourceIsBuiltFirst) {
  tool_folder folder;
  folder.write("level.map", test_level());
  ASSERT_EQ(folder.run("dump level.map level.json").status, 0);
  std::filesystem::create_directory(folder.path("tmp"));
  tool_result r =
      folder.run("render level.json level.png --data '" + std::string(BLOB_TEST_DATA) + "'",
                 "TMPDIR='" + folder.path("tmp") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("level source"), std::string::npos) << r.out;
  expect_level_with_pictures(read_png(folder.path("level.png")));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path("tmp")));
  EXPECT_EQ(folder.files(),
            (std::vector<std::string>{".out", "level.json", "level.map", "level.png", "tmp"}));
}

TEST(Render, WithoutADisplayOnAnXvfbOfItsOwn) {
  tool_folder folder;
  folder.write("level.map", test_level());
  tool_result r = folder.run(
      "render level.map level.png --data '" + std::string(BLOB_TEST_DATA) + "'", "env -u DISPLAY");
  ASSERT_EQ(r.status, 0) << r.err;
  expect_level_with_pictures(read_png(folder.path("level.png")));
}

// Shrinking tile by tile gives the full picture shrunk as a whole, also for
// factors that do not divide the window's 800 x 600 (whose tiles then start
// elsewhere, which moves a few values of the backdrop's gradient by one
// level: measured 6 of 551,889 for 3); and the size
// limit counts the shrunk picture, so a level too wide for it at full size
// is drawn when shrunk.
TEST(Render, ShrunkForAnOverview) {
  tool_folder folder;
  level_data wide;
  level_vertex a{-1000, 100, 200, 40, 40}, b{1000, 100, 200, 40, 40}, c{1000, 700, 200, 40, 40},
      d{-1000, 700, 200, 40, 40};
  wide.triangles = {{{a, b, d}}, {{b, c, d}}};
  wide.objects = {{0, 100, 40}, {1, 300, 0}, {2, -900, 50}};
  folder.write("level.map", encode_level(wide));
  std::string data = " --data '" + std::string(BLOB_TEST_DATA) + "'";
  ASSERT_EQ(folder.run("render level.map full.png" + data).status, 0);
  picture full = read_png(folder.path("full.png"));
  rgb_image whole{full.width, full.height, full.rgb};
  for (int factor : {2, 3, 7, 16}) {
    std::string name = "small" + std::to_string(factor) + ".png";
    tool_result r =
        folder.run("render level.map " + name + " --shrink " + std::to_string(factor) + data);
    ASSERT_EQ(r.status, 0) << r.err;
    picture p = read_png(folder.path(name));
    rgb_image expected = shrunk(whole, factor);
    ASSERT_EQ(p.width, expected.width) << factor;
    ASSERT_EQ(p.height, expected.height) << factor;
    int worst = 0;
    std::size_t differing = 0;
    for (std::size_t k = 0; k < p.rgb.size(); ++k) {
      int d = std::abs(p.rgb[k] - expected.pixels[k]);
      worst = std::max(worst, d);
      differing += d > 0;
    }
    EXPECT_LE(worst, 1) << "shrunk by " << factor;
    EXPECT_LT(differing * 1000, p.rgb.size()) << "shrunk by " << factor;
  }

  level_data too_wide;
  too_wide.triangles = {
      {{{-30000, 0, 255, 255, 255}, {30000, 0, 255, 255, 255}, {0, 1500, 255, 255, 255}}}};
  folder.write("wide.map", encode_level(too_wide));
  tool_result r = folder.run("render wide.map wide.png" + data);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("60065 x 1565 pixels; render makes pictures of at most 50 million pixels "
                       "(--shrink 2 makes it small enough)"),
            std::string::npos)
      << r.err;
  r = folder.run("render wide.map wide.png --shrink 16" + data);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_png(folder.path("wide.png")).width, 3755);
}

// With no images/ beside the level the game's own pictures are used, and
// named, after the picture is written; an images/ folder beside the level
// supplies the pictures it holds and no others. A data folder without
// pictures gives the plain colours.
TEST(Render, PicturesBesideItElseTheGamesOwnElsePlainColours) {
  tool_folder folder;
  folder.write("level.map", test_level());
  tool_result r = folder.run("render level.map level.png");  // the scratch folder has no images/
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.path("level.png") +
                       ": 465 x 401 pixels, drawn from a level file\n"
                       "pictures from " BLOB_CHECKOUT_DATA "/images\n");
  picture shipped = read_png(folder.path("level.png"));
  ASSERT_EQ(shipped.width, 465);
  std::array<int, 3> crate = shipped.at_world(130, 55);
  EXPECT_TRUE(crate[0] > crate[2] + 30) << "the game's wooden crate, not a white box";

  // A tileset of the designer's own and the tests' flat crate beside the level.
  std::filesystem::create_directory(folder.path("images"));
  std::filesystem::copy_file(std::string(BLOB_TEST_DATA) + "/images/crate.jpg",
                             folder.path("images/crate.jpg"));
  std::filesystem::copy_file(std::string(BLOB_TEST_DATA) + "/images/font.png",
                             folder.path("images/tileset.png"));
  r = folder.run("render level.map level.png");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("\npicture images/crate.jpg taken from beside the level (" +
                       folder.path("images/crate.jpg") +
                       ")\nother pictures from " BLOB_CHECKOUT_DATA "/images\n"),
            std::string::npos)
      << r.out;
  picture mixed = read_png(folder.path("level.png"));
  EXPECT_TRUE(near(mixed.at_world(130, 55), {200, 120, 40}, 6)) << "the crate beside the level";
  EXPECT_EQ(mixed.at_world(300, -3), shipped.at_world(300, -3)) << "the game's own face";
  EXPECT_EQ(mixed.at_world(250, 200), shipped.at_world(250, 200)) << "the game's own snow";
  std::filesystem::remove_all(folder.path("images"));

  r = folder.run("render level.map level.png --data .");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("note: no images folder in"), std::string::npos) << r.err;
  picture p = read_png(folder.path("level.png"));
  ASSERT_EQ(p.width, 465);
  EXPECT_TRUE(near(p.at_world(250, 200), {200, 40, 40})) << "untextured terrain";
  EXPECT_TRUE(near(p.at_world(130, 55), {255, 255, 255})) << "untextured crate";
}

// A level too large to draw at full size and shrink (over 200 million
// pixels) is drawn at the picture's own scale, with a note: the work follows
// the picture. In plain colours, the terrain's edges land where the scale
// puts them, across the seams between tiles.
TEST(Render, ALevelTooLargeToDrawWholeIsDrawnAtThePicturesScale) {
  tool_folder folder;
  level_data wide;
  level_vertex a{-16000, -4000, 200, 40, 40}, b{16000, -4000, 200, 40, 40},
      c{16000, 4000, 200, 40, 40}, d{-16000, 4000, 200, 40, 40};
  wide.triangles = {{{a, b, d}}, {{b, c, d}}};
  folder.write("wide.map", encode_level(wide));
  tool_result r = folder.run("render wide.map wide.png --shrink 8 --data .");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("note: the level spans 32065 x 8065 pixels, more than the 200 million "
                       "render draws at full size to shrink: drawn at 1/8 of its size instead"),
            std::string::npos)
      << r.err;
  picture p = read_png(folder.path("wide.png"));
  ASSERT_EQ(p.width, 4009);  // world x -16032..16032, y -4032..4032
  ASSERT_EQ(p.height, 1009);
  auto at = [&p](int x, int y) {
    std::size_t k = (static_cast<std::size_t>(y) * p.width + x) * 3;
    return std::array<int, 3>{p.rgb[k], p.rgb[k + 1], p.rgb[k + 2]};
  };
  for (int x : {8, 799, 800, 1600, 2004, 3999})  // tiles meet at 800, 1600, ...
    EXPECT_TRUE(near(at(x, 504), {200, 40, 40})) << "terrain at x " << x;
  for (int y : {8, 599, 600, 1000})
    EXPECT_TRUE(near(at(2004, y), {200, 40, 40})) << "terrain at y " << y;
  for (int x : {1, 4007}) EXPECT_LT(at(x, 504)[0], 20) << "backdrop beside the terrain at x " << x;
  EXPECT_LT(at(2004, 1)[0], 20) << "backdrop above the terrain";
}

// A picture that cannot be read is said with the program's name and what is
// drawn without it; the level is drawn and written without it, and the exit
// status says so. A picture under a name the game does not read gets a note.
TEST(Render, APictureThatCannotBeReadIsSaidAndGivesStatusOne) {
  tool_folder folder;
  folder.write("level.map", test_level());
  std::filesystem::create_directory(folder.path("images"));
  folder.write("images/tex_snow.png", std::string("not a picture"));
  folder.write("images/Crate.JPG", std::string("x"));
  tool_result r = folder.run("render level.map level.png");
  EXPECT_EQ(r.status, 1);
  for (const std::string& line :
       {"leveltool: texture: not a PNG, JPEG or BMP picture (" +
            folder.path("images/tex_snow.png") + "); the terrain is drawn without it\n",
        std::string("leveltool: level.map: note: images/Crate.JPG beside the level is not read: "
                    "the game reads that picture only as images/crate.jpg"),
        "leveltool: level.map: 1 picture could not be read (said above): " +
            folder.path("level.png") + " shows the level without it\n"})
    EXPECT_NE(r.err.find(line), std::string::npos) << line << " in:\n" << r.err;
  EXPECT_EQ(r.error_lines(), 3) << r.err;
  EXPECT_TRUE(folder.exists("level.png"));
}

TEST(Render, FailuresGiveOneLineAndNoPicture) {
  tool_folder folder;
  folder.write("level.map", test_level());
  const char* free_display = std::getenv("BLOB_FREE_DISPLAY");  // see with_free_display.sh
  ASSERT_NE(free_display, nullptr);
  tool_result r = folder.run("render level.map level.png", std::string("DISPLAY=") + free_display);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.err.rfind(std::string("leveltool: level.map: cannot open an OpenGL window on display ") +
                      free_display + ": ",
                  0),
      0u)
      << r.err;
  EXPECT_EQ(r.error_lines(), 1) << r.err;

  r = folder.run("render level.map level.png", "env -u DISPLAY PATH=/nonexistent");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "leveltool: level.map: cannot start Xvfb: Xvfb is not installed (Debian package xvfb), "
            "or set "
            "DISPLAY to a running X server\n");

  level_data huge;
  huge.objects = {{0, -30000, -30000}, {0, 30000, 30000}};
  folder.write("huge.map", encode_level(huge));
  r = folder.run("render huge.map huge.png");
  EXPECT_EQ(r.err,
            "leveltool: huge.map: the level spans 60129 x 60098 pixels; render makes pictures of "
            "at most 50 million pixels (--shrink 9 makes it small enough)\n");
  r = folder.run("render level.map no/such/folder/level.png");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "") << "nothing said of pictures for a picture not written";
  EXPECT_FALSE(folder.exists("level.png"));
  EXPECT_FALSE(folder.exists("huge.png"));
}
