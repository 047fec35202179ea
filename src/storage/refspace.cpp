#include "storage/refspace.h"

#include <cmath>

int roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; this program never does.
    return int(std::nearbyint(value));
}

int scaleHalfEven(long long value, long long mul, long long div) {
    if (div == 0)
        return 0;
    long long num = value * mul;
    if (div < 0) {
        num = -num;
        div = -div;
    }
    long long q = num / div;
    long long r = num % div;
    if (r < 0) { // make q the floor and 0 <= r < div
        q -= 1;
        r += div;
    }
    if (2 * r > div || (2 * r == div && (q % 2 != 0)))
        q += 1;
    return int(q);
}
