// The level object loading real files from the working folder.
#include "level/container.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "level/platform.h"
#include "level/terrain.h"
#include "level_encoder.h"
#include "shell/object.h"
#include "shell/view.h"
#include "support/game_dir.h"
#include "support/gl_window.h"

namespace {
const std::vector<std::uint8_t> FORTY_ONE = {
    0x00, 0x01, 0x00, 0x03, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x01,
    0x00, 0x64, 0x01, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x64,
    0x00, 0x00, 0xFF, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00};

class Container : public ::testing::Test {
 protected:
  void SetUp() override { test_window(); }
  void TearDown() override {
    destroy_all_instances();
    freeCollisions();
  }
  std::string start(bool write_level, const std::vector<std::uint8_t>& bytes = FORTY_ONE) {
    if (write_level) dir_.write_file("level.map", bytes);
    ::testing::internal::CaptureStderr();
    instance_create(0, 0, TYPE_CONTAINER);
    return ::testing::internal::GetCapturedStderr();
  }
  game_dir dir_;
};
}  // namespace

TEST_F(Container, LoadsTheFortyOneByteLevel) {
  EXPECT_EQ(start(true), "");
  primitive* t = start_ptr;
  ASSERT_NE(t, nullptr);
  EXPECT_EQ((std::vector<int>{t->x1, t->y1, t->x2, t->y2, t->x3, t->y3}),
            (std::vector<int>{0, 0, 100, 0, 0, 100}));
  EXPECT_EQ(static_cast<unsigned char>(t->r1), 255);
  EXPECT_EQ(t->g1, 0);
  EXPECT_EQ(static_cast<unsigned char>(t->g2), 255);
  EXPECT_EQ(static_cast<unsigned char>(t->b3), 255);
  // The platform's two triangles come after the level's.
  ASSERT_NE(t->next, nullptr);
  EXPECT_FALSE(t->next->drawn);
  auto* crate = dynamic_cast<obj_platform*>(start_obj);
  ASSERT_NE(crate, nullptr);
  EXPECT_EQ(crate->prim1, t->next);
  EXPECT_TRUE(dynamic_cast<obj_container*>(crate->next));
  EXPECT_NE(static_cast<obj_container*>(crate->next)->texture, 0u);
}

TEST_F(Container, MissingLevelGivesAnEmptyWorldAndSaysWhy) {
  std::string err = start(false);
  EXPECT_EQ(start_ptr, nullptr);
  ASSERT_NE(start_obj, nullptr);
  EXPECT_EQ(start_obj->next, nullptr);
  // Named with the folder it was looked for in, from the root.
  EXPECT_NE(err.find("(level.map in " + std::filesystem::current_path().string() + ")\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("No such file"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  obj_container other;
  EXPECT_EQ(other.loadLevel(".\\nowhere.map"), 0);
}

TEST_F(Container, ShortFileMakesTheWholeRecordsAndWarnsOnce) {
  std::vector<std::uint8_t> cut(FORTY_ONE.begin(), FORTY_ONE.end() - 1);
  std::string err = start(true, cut);
  EXPECT_NE(start_ptr, nullptr) << "the triangle was whole";
  EXPECT_TRUE(dynamic_cast<obj_container*>(start_obj)) << "the platform record was not";
  EXPECT_NE(err.find("ends inside a record"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

  // An empty file holds no record at all, cut short or not: it says so.
  TearDown();
  err = start(true, {});
  EXPECT_EQ(start_ptr, nullptr);
  EXPECT_TRUE(dynamic_cast<obj_container*>(start_obj));
  EXPECT_NE(err.find("empty"), std::string::npos) << err;
  EXPECT_EQ(err.find("record"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST_F(Container, CrateIsDrawnWhereItsPlatformIs) {
  // A crate placed first, before any blob, shows its picture.
  level_data level;
  level.objects.push_back({TYPE_PLATFORM, 100, 200});
  start(true, encode_level(level));
  view_x = -400;
  view_y = -300;
  for (int k = 0; k < 50; ++k) start_obj->step();
  test_window().begin_frame();
  start_obj->draw();
  start_obj->next->draw();  // the terrain: nothing but hidden crate triangles
  test_window().capture();
  const rgb CRATE{200, 120, 40};
  EXPECT_TRUE(pixel_near(test_window(), 503, 453, CRATE, 8));  // crate now at y 150..182
  EXPECT_TRUE(pixel_near(test_window(), 560, 478, CRATE, 8));
  EXPECT_TRUE(pixel_near(test_window(), 530, 490, {0, 0, 0}, 0));  // below it
  EXPECT_TRUE(pixel_near(test_window(), 566, 460, {0, 0, 0}, 0));  // right of it
}
