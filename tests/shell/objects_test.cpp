// The object list and the event pass: the factory's order, what it refuses,
// and how key events reach every object.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "blob/wobblet.h"
#include "level/container.h"
#include "level/platform.h"
#include "level/terrain.h"
#include "level_encoder.h"
#include "shell/game.h"
#include "shell/object.h"
#include "support/game_dir.h"
#include "support/sdl_events.h"

namespace {
std::vector<obj_parent*> list_contents() {
  std::vector<obj_parent*> objects;
  for (obj_parent* o = start_obj; o; o = o->next) objects.push_back(o);
  return objects;
}

class Objects : public ::testing::Test {
 protected:
  void SetUp() override { start_sdl_events(); }
  void TearDown() override {
    destroy_all_instances();
    freeCollisions();
  }
  void load_level(const std::vector<level_object>& objects) {
    level_data level;
    level.objects = objects;
    dir_.write_file("level.map", encode_level(level));
    instance_create(0, 0, TYPE_CONTAINER);
  }
  game_dir dir_;
};

// Records the key calls it gets, by name and key symbol, into a shared log.
class key_recorder : public obj_parent {
 public:
  key_recorder(std::string name, std::vector<std::string>& log)
      : name_(std::move(name)), log_(log) {}
  void keydown(SDL_Event e) override {
    log_.push_back(name_ + " down " + std::to_string(e.key.keysym.sym));
  }
  void keyup(SDL_Event e) override {
    log_.push_back(name_ + " up " + std::to_string(e.key.keysym.sym));
  }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

SDL_Event key_event(Uint8 type, SDLKey sym) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = sym;
  return e;
}

void push(Uint8 type, SDLKey sym) {
  SDL_Event e = key_event(type, sym);
  ASSERT_EQ(SDL_PushEvent(&e), 0);
}
}  // namespace

TEST_F(Objects, LevelObjectsComeInFileOrderAheadOfTheLevelObject) {
  load_level({{1, 10, 20}, {0, 30, 40}, {3, 50, 60}});
  std::vector<obj_parent*> list = list_contents();
  ASSERT_EQ(list.size(), 4u);
  auto* first = dynamic_cast<obj_wobblet*>(list[0]);
  auto* third = dynamic_cast<obj_wobblet*>(list[2]);
  ASSERT_TRUE(first && third);
  EXPECT_EQ(first->control_index, 0);
  EXPECT_EQ(first->style, 0);
  EXPECT_EQ(first->x, 10.0f);
  EXPECT_EQ(first->y, 20.0f);
  EXPECT_TRUE(dynamic_cast<obj_platform*>(list[1]));
  EXPECT_EQ(third->control_index, 2);
  EXPECT_EQ(third->style, 2);
  EXPECT_EQ(third->type, 3);
  EXPECT_TRUE(dynamic_cast<obj_container*>(list[3]));
  EXPECT_EQ(list[3]->next, nullptr);
}

TEST_F(Objects, EmptyLevelLeavesOnlyTheLevelObject) {
  load_level({});
  std::vector<obj_parent*> list = list_contents();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(dynamic_cast<obj_container*>(list[0]));
}

TEST_F(Objects, FactoryRefusesUnknownCodesAndASecondLevelObject) {
  load_level({{0, 0, 0}});
  EXPECT_EQ(instance_create(1, 2, 6), nullptr);
  EXPECT_EQ(instance_create(1, 2, -2), nullptr);
  EXPECT_EQ(instance_create(1, 2, 127), nullptr);
  EXPECT_EQ(instance_create(0, 0, TYPE_CONTAINER), nullptr);
  EXPECT_EQ(list_contents().size(), 2u);
  // A new object joins at the tail, after the level object.
  obj_parent* crate = instance_create(7, 8, TYPE_PLATFORM);
  ASSERT_NE(crate, nullptr);
  EXPECT_EQ(list_contents().back(), crate);
  EXPECT_EQ(crate->next, nullptr);
}

// The list keeps its tail, so an object joins it in constant time, but a
// list put in place through start_obj (as tests and the shutdown pass do)
// is still appended to at its true end, and so is the game's list when it
// comes back.
TEST_F(Objects, NewObjectsJoinTheTrueTailOfWhateverListStartObjHeads) {
  load_level({{0, 0, 0}, {1, 10, 10}});
  obj_parent* game_list = start_obj;
  obj_parent* level_object = list_contents().back();
  obj_parent a, b;
  start_obj = &a;
  a.next = &b;
  obj_parent* crate = instance_create(5, 5, TYPE_PLATFORM);
  EXPECT_EQ(list_contents(), (std::vector<obj_parent*>{&a, &b, crate}));
  start_obj = game_list;
  obj_parent* blob = instance_create(6, 6, 2);
  std::vector<obj_parent*> list = list_contents();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[2], level_object);
  EXPECT_EQ(list[3], blob);
  // Release the two made here by hand, then empty the list: the next
  // object starts a fresh one.
  level_object->next = nullptr;
  blob->destroy();
  delete blob;
  crate->destroy();
  delete crate;
  destroy_all_instances();
  obj_parent* first = instance_create(1, 1, TYPE_PLATFORM);
  obj_parent* second = instance_create(2, 2, TYPE_PLATFORM);
  EXPECT_EQ(list_contents(), (std::vector<obj_parent*>{first, second}));
}

// A random file holds thousands of unknown records: the first three are
// named, the rest counted in one line.
TEST_F(Objects, LevelRecordsNamingTheLevelObjectOrUnknownCodesAreSkipped) {
  std::vector<level_object> records = {{-1, 0, 0}, {1, 5, 5}, {9, 0, 0}, {-128, 0, 0}};
  records.insert(records.end(), 1000, {7, 0, 0});
  ::testing::internal::CaptureStderr();
  load_level(records);
  std::string err = ::testing::internal::GetCapturedStderr();
  std::vector<obj_parent*> list = list_contents();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(dynamic_cast<obj_wobblet*>(list[0]));
  EXPECT_NE(err.find("type code -1"), std::string::npos) << err;
  EXPECT_NE(err.find("type code 9"), std::string::npos) << err;
  EXPECT_NE(err.find("type code -128"), std::string::npos) << err;
  EXPECT_NE(err.find("1000 more object records with an unknown type code were skipped"),
            std::string::npos)
      << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4) << err.substr(0, 500);
}

TEST_F(Objects, EveryKeyEventReachesEveryObjectInListOrder) {
  std::vector<std::string> log;
  key_recorder a("a", log), b("b", log);
  obj_parent silent;  // handles no keys itself: the base calls do nothing
  start_obj = &a;
  a.next = &silent;
  silent.next = &b;
  SDL_Event drain;
  while (SDL_PollEvent(&drain)) {
  }
  push(SDL_KEYDOWN, SDLK_LEFT);
  push(SDL_KEYUP, SDLK_LEFT);
  SDL_Event mouse{};
  mouse.type = SDL_MOUSEBUTTONDOWN;
  SDL_PushEvent(&mouse);
  SDL_Event close{};
  close.type = SDL_QUIT;
  SDL_PushEvent(&close);
  EXPECT_FALSE(event_pass()) << "closing the window does not end the game";
  EXPECT_EQ(log, (std::vector<std::string>{"a down 276", "b down 276", "a up 276", "b up 276"}));
  start_obj = nullptr;
}

TEST_F(Objects, EscapeEndsTheGameAfterEveryQueuedEventIsDispatched) {
  std::vector<std::string> log;
  key_recorder a("a", log), b("b", log);
  start_obj = &a;
  a.next = &b;
  SDL_Event drain;
  while (SDL_PollEvent(&drain)) {
  }
  push(SDL_KEYDOWN, SDLK_TAB);
  push(SDL_KEYDOWN, SDLK_ESCAPE);
  push(SDL_KEYUP, SDLK_TAB);
  EXPECT_TRUE(event_pass());
  EXPECT_EQ(log, (std::vector<std::string>{"a down 9", "b down 9", "a down 27", "b down 27",
                                           "a up 9", "b up 9"}));
  start_obj = nullptr;
}
