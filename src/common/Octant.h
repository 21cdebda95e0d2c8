#pragma once

// The 45-degree sector of the vector (x, y), counted anticlockwise from +x, each
// sector half-open: k covers [45k, 45k + 45) degrees, so (1, 1) is in sector 1.
// Returns 0..7, or -1 for the zero vector (and for NaN components).
int Octant(float x, float y);
