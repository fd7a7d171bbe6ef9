// The reference our blob is measured against: a soft blob in a
// general-purpose 2-D physics engine, twenty small rim circles held to a
// centre circle and to each other by forty soft distance joints, resting on
// the same rolling ground (one static triangle fixture per terrain
// triangle), stepped at our tick rate. Built only where the engine's Debian
// package is installed.
#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <cmath>
#include <memory>
#include <vector>

#include "synthetic_level.h"

namespace {
constexpr float PIXELS_PER_METRE = 32;
constexpr float TICK_SECONDS = 0.017f;
constexpr int RIM_POINTS = 20;
constexpr float BLOB_RADIUS = 20 / PIXELS_PER_METRE;
constexpr float RIM_CIRCLE = 4 / PIXELS_PER_METRE;
constexpr int SETTLE_STEPS = 120;

b2Vec2 metres(int x, int y) { return {x / PIXELS_PER_METRE, y / PIXELS_PER_METRE}; }

void add_ground(b2World& world, const level_data& level) {
  b2BodyDef def;
  b2Body* ground = world.CreateBody(&def);
  for (const level_triangle& t : level.triangles) {
    b2Vec2 corners[3] = {metres(t.v[0].x, t.v[0].y), metres(t.v[1].x, t.v[1].y),
                         metres(t.v[2].x, t.v[2].y)};
    b2Vec2 a = corners[1] - corners[0], b = corners[2] - corners[0];
    if (std::fabs(b2Cross(a, b)) < 0.01f) continue;  // the engine takes no slivers
    b2PolygonShape shape;
    shape.Set(corners, 3);
    ground->CreateFixture(&shape, 0);
  }
}

b2Body* add_circle(b2World& world, b2Vec2 at, float radius) {
  b2BodyDef def;
  def.type = b2_dynamicBody;
  def.position = at;
  b2Body* body = world.CreateBody(&def);
  b2CircleShape shape;
  shape.m_radius = radius;
  body->CreateFixture(&shape, 1);
  return body;
}

void join_softly(b2World& world, b2Body* a, b2Body* b) {
  b2DistanceJointDef def;
  def.Initialize(a, b, a->GetPosition(), b->GetPosition());
  b2LinearStiffness(def.stiffness, def.damping, 4.0f, 0.5f, a, b);
  world.CreateJoint(&def);
}

void add_blob(b2World& world, b2Vec2 centre) {
  b2Body* middle = add_circle(world, centre, BLOB_RADIUS / 2);
  std::vector<b2Body*> rim;
  for (int i = 0; i < RIM_POINTS; ++i) {
    float angle = 2 * b2_pi * static_cast<float>(i) / RIM_POINTS;
    rim.push_back(add_circle(world, centre + BLOB_RADIUS * b2Vec2(std::cos(angle), std::sin(angle)),
                             RIM_CIRCLE));
  }
  for (int i = 0; i < RIM_POINTS; ++i) {
    join_softly(world, middle, rim[i]);
    join_softly(world, rim[i], rim[(i + 1) % RIM_POINTS]);
  }
}

void BM_box2d_soft_blob(benchmark::State& state) {
  int triangles = static_cast<int>(state.range(0));
  int blobs = static_cast<int>(state.range(1));
  level_data level = synthetic_level({triangles, blobs, 0});
  auto world = std::make_unique<b2World>(b2Vec2(0, 10));  // y grows downward, as in the game
  add_ground(*world, level);
  for (const level_object& o : level.objects) add_blob(*world, metres(o.x, o.y));
  for (int t = 0; t < SETTLE_STEPS; ++t) world->Step(TICK_SECONDS, 8, 3);
  for (auto _ : state) world->Step(TICK_SECONDS, 8, 3);
  state.counters["per_blob"] = benchmark::Counter(
      blobs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
}  // namespace

BENCHMARK(BM_box2d_soft_blob)
    ->ArgNames({"triangles", "blobs"})
    ->ArgsProduct({{300, 1000, 10000}, {1, 100}})
    ->Unit(benchmark::kMicrosecond);
