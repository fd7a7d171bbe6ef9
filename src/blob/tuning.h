// The numbers that make a blob feel the way it does. Speeds and impulses are
// in pixels per tick, distances in pixels, angles in degrees; one tick is the
// game's fixed 17 ms step.
#pragma once

namespace blob_tuning {

constexpr int RIM_POINTS = 20;          // rim points on the ring
constexpr double RADIUS = 20.0;         // rest distance of the rim, pixels
constexpr double RADIUS_SLACK = 0.0;    // pixels; 0 puts the rim back on the circle every tick
constexpr int STIFFNESS = 8;            // spring divisor: impulse = stretch / 8
constexpr int SOFT_STIFFNESS = 16;      // the wobblier white blob
constexpr double GRAVITY = 0.75;        // pixels per tick, added to every rim point each tick
constexpr double HEAVY_GRAVITY = 0.85;  // the grey blob
constexpr double LIGHT_GRAVITY = 0.5;   // the white blob
// A spring pushes the centre ten times more gently than it pushes its rim
// point: twenty points share one centre, so the centre still feels about
// twice the pull of a single point.
constexpr int CENTRE_SHARE = 10;

constexpr double STEER_IMPULSE = 0.25;    // pixels per tick, per tick an arrow is held
constexpr double CENTRE_FRICTION = 0.05;  // pixels per tick, taken off every tick
constexpr double MAX_CENTRE_SPEED = 15;   // pixels per tick
constexpr double MAX_RIM_SPEED = 15;      // pixels per tick, before gravity is added
constexpr double RIM_FRICTION = 0.25;     // pixels per tick, taken off every tick
constexpr double JUMP_SPEED = 15;         // pixels per tick, straight up
constexpr double PUSH_DOWN = 3;           // pixels per tick, one per press of Down

// The view closes a tenth of its distance to the blob each tick.
constexpr int CAMERA_FRACTION = 10;

// Longest walk, in one-pixel steps, out of terrain that the centre ended up
// inside; beyond it the centre goes back to where it was a tick ago.
constexpr int RECOVERY_WALK_LIMIT = 10000;

constexpr double FACE_HALF_SIZE = 16;  // pixels: the eyes and mouth are 32x32
constexpr double MOUTH_DROP = 6;       // pixels below the eyes
constexpr double LOOK_AHEAD = 2;       // ticks: the face leads by speed * 2 pixels

constexpr int CONTROL_SLOTS = 5;  // Tab rotates control_index through 0..4
constexpr int STYLE_COUNT = 5;
constexpr int OUTLINE_ONLY_STYLE = 3;

// Directions, degrees.
constexpr double RIGHT = 0;
constexpr double UP = 90;
constexpr double LEFT = 180;
constexpr double DOWN = 270;
constexpr double HALF_TURN = 180;

}  // namespace blob_tuning
