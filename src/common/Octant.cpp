#include "common/Octant.h"

#include <cmath>

int Octant(float x, float y)
{
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    if (x > 0 && y >= 0 && x > y) return 0;
    if (x > 0 && y > 0 && y >= x) return 1;
    if (x <= 0 && y > 0 && ay > ax) return 2;
    if (x < 0 && y > 0 && ay <= ax) return 3;
    if (x < 0 && y <= 0 && ay < ax) return 4;
    if (x < 0 && y < 0 && ay >= ax) return 5;
    if (x >= 0 && y < 0 && ay > ax) return 6;
    if (x > 0 && y < 0 && ay <= ax) return 7;
    return -1; // (0, 0), -0 included, or a NaN component
}
