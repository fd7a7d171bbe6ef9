// The moving crate: its two collision triangles and its 400-tick cycle.
#include "level/platform.h"

#include <gtest/gtest.h>

#include "level/terrain.h"
#include "shell/object.h"
#include "support/game_dir.h"
#include "support/gl_window.h"

namespace {
class Platform : public ::testing::Test {
 protected:
  void SetUp() override {
    test_window();
    crate_ = static_cast<obj_platform*>(instance_create(100, 200, TYPE_PLATFORM));
  }
  void TearDown() override {
    destroy_all_instances();
    freeCollisions();
  }
  void run(int ticks) {
    for (int k = 0; k < ticks; ++k) crate_->step();
  }
  game_dir dir_;
  obj_platform* crate_ = nullptr;
};
}  // namespace

TEST_F(Platform, CreateBuildsTwoHiddenTrianglesOverTheBox) {
  const primitive* a = crate_->prim1;
  const primitive* b = crate_->prim2;
  EXPECT_EQ(start_ptr, a);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ((std::vector<int>{a->x1, a->y1, a->x2, a->y2, a->x3, a->y3}),
            (std::vector<int>{100, 200, 164, 200, 100, 232}));
  EXPECT_EQ((std::vector<int>{b->x1, b->y1, b->x2, b->y2, b->x3, b->y3}),
            (std::vector<int>{164, 200, 100, 232, 164, 232}));
  EXPECT_FALSE(a->drawn || b->drawn);
  EXPECT_TRUE(a->solid && b->solid);
  EXPECT_EQ(crate_->speed_y, -1);
  EXPECT_EQ(crate_->timer, 0);
  EXPECT_NE(crate_->texture, 0u);
}

TEST_F(Platform, WholeBoxCollidesEdgesAndDiagonalIncluded) {
  EXPECT_TRUE(collideAll(130, 215));
  EXPECT_FALSE(collideAll(130, 233));
  for (int x : {100, 132, 164}) {
    EXPECT_TRUE(collideAll(x, 200));
    EXPECT_TRUE(collideAll(x, 232));
  }
  EXPECT_TRUE(collideAll(132, 216));  // on the shared diagonal
  EXPECT_FALSE(collideAll(99, 210));
  EXPECT_FALSE(collideAll(165, 210));
}

TEST_F(Platform, MovesUpForTwoHundredTicksThenDownAgain) {
  run(1);
  EXPECT_EQ(crate_->y, 199.0f);
  EXPECT_EQ(crate_->timer, 1);
  EXPECT_EQ(crate_->prim1->y1, 199);
  EXPECT_EQ(crate_->prim2->y3, 231);
  run(199);
  EXPECT_EQ(crate_->y, 0.0f);
  EXPECT_EQ(crate_->speed_y, 1);
  EXPECT_EQ(crate_->timer, 0);
  EXPECT_TRUE(collideAll(130, 15));
  EXPECT_FALSE(collideAll(130, 215));
  run(200);
  EXPECT_EQ(crate_->y, 200.0f);
  EXPECT_EQ(crate_->speed_y, -1);
  EXPECT_EQ(crate_->prim1->y1, 200);
  EXPECT_EQ(crate_->prim2->y2, 232);
  EXPECT_EQ(crate_->x, 100.0f);
  EXPECT_EQ(crate_->prim1->x2, 164);
}
