// Where a bullet lands: the runtime's random generator, the bullet spread and its arithmetic.
#include "shooting/shot_math.h"

uint32_t randomState = 1;

namespace {

// The arithmetic of MulDivRound, usable in constant expressions so that the spread constants
// below come out of the same rounding as the runtime placement.
constexpr int32_t MulDivValue(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) {
        return -1;
    }
    int64_t product = (int64_t)a * (int64_t)b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Adding half the divisor before a truncating division rounds halves away from zero.
    int64_t quotient = product >= 0 ? (product + divisor / 2) / divisor
                                    : (product - divisor / 2) / divisor;
    // Like the platform's MulDiv, a result that does not fit says -1 instead of wrapping.
    if (quotient > INT32_MAX || quotient < -INT32_MAX) {
        return -1;
    }
    return (int32_t)quotient;
}

// S: the spread scale K in draw units.
constexpr int SPREAD_SCALE_DRAWS = MulDivValue(SPREAD_SCALE, SPREAD_DRAW_RANGE, SPREAD_MAX_DISTANCE);

// The distance curve before scaling: r + r^3/3/S/S, each division truncating in this order.
constexpr int SpreadCurve(int r)
{
    return r + r * r * r / 3 / SPREAD_SCALE_DRAWS / SPREAD_SCALE_DRAWS;
}

// F: the curve's value at N, so that the full draw range maps onto R pixels.
constexpr int SPREAD_CURVE_FULL = SpreadCurve(SPREAD_DRAW_RANGE);

static_assert(SPREAD_SCALE_DRAWS == 256, "S is K expressed in draw units");
static_assert(SPREAD_CURVE_FULL == 6485, "F is 1024 + 5461");

// The centre of the draw range: subtracting it turns a draw into a signed component.
constexpr int SPREAD_DRAW_CENTRE = SPREAD_DRAW_RANGE / 2;

// The bisection's upper end: above any root of a component pair (sqrt(524288) < 725).
constexpr int ROOT_SEARCH_TOP = 1024;

int Magnitude(int value)
{
    return value < 0 ? -value : value;
}

} // namespace

int RandomNext(void)
{
    randomState = randomState * 214013u + 2531011u;
    return (int)((randomState >> 16) & 0x7FFF);
}

int RandomBelow(int n)
{
    // 64 bits keep v * n exact for any n; the quotient is still truncated toward zero.
    return (int)((int64_t)RandomNext() * n / 32768);
}

int32_t MulDivRound(int32_t a, int32_t b, int32_t c)
{
    return MulDivValue(a, b, c);
}

int SpreadDistance(int r)
{
    return MulDivRound(SpreadCurve(r), SPREAD_MAX_DISTANCE, SPREAD_CURVE_FULL);
}

int SpreadRoot(int32_t s)
{
    int lo = 0;
    int hi = ROOT_SEARCH_TOP;
    while (hi - lo > ROOT_TOLERANCE) {
        int mid = (lo + hi) / 2;
        if (mid * mid < s) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return lo;
}

void BulletPlace(BulletPlacement *bullet)
{
    // With these constants one draw always suffices; the bound is kept so the loop stays
    // correct if the curve ever overshoots R.
    int r = 0;
    int d = 0;
    do {
        r = RandomBelow(SPREAD_DRAW_RANGE);
        d = SpreadDistance(r);
    } while (d > SPREAD_MAX_DISTANCE);

    // Components near zero would put the bullet almost on a screen axis: redraw the pair.
    int dx = 0;
    int dy = 0;
    do {
        dx = RandomBelow(SPREAD_DRAW_RANGE) - SPREAD_DRAW_CENTRE;
        dy = RandomBelow(SPREAD_DRAW_RANGE) - SPREAD_DRAW_CENTRE;
    } while (Magnitude(dx) < SPREAD_MIN_COMPONENT || Magnitude(dy) < SPREAD_MIN_COMPONENT);

    int lo = SpreadRoot(dx * dx + dy * dy);

    bullet->r = r;
    bullet->dx = dx;
    bullet->dy = dy;
    bullet->distance = d;
    bullet->offsetX = MulDivRound(d, dx, lo);
    bullet->offsetY = MulDivRound(d, dy, lo);
}
