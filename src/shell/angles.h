// Conversions between polar motion (length, direction in degrees) and
// Cartesian offsets in world pixels. Directions: 0 right, 90 up (towards
// smaller y), counter-clockwise on screen, never normalised.
#pragma once

double lengthdir_x(double length, double direction);
double lengthdir_y(double length, double direction);

// Direction from point 1 to point 2 in degrees: [0, 90) up-right,
// (90, 270) leftwards, (270, 360) down-right; straight down gives -90 and
// coincident points give NaN.
double point_direction(double x1, double y1, double x2, double y2);

double point_distance(double x1, double y1, double x2, double y2);
