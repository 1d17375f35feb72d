#include "moon.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

// The calendar terminator's bow: how much nearer the centre line it runs at the poles than at
// the equator, as a fraction of its offset. Small, so that the line stays nearly vertical; at
// most 0.5, so that u = -1 still lights the whole disc.
const double kStripBow = 0.3;

// Subsamples per pixel side for coverage estimates.
const int kSubsamples = 8;

double HalfChord(double y, double radius) {
    const double t = 1.0 - (y / radius) * (y / radius);
    return t > 0.0 ? radius * std::sqrt(t) : 0.0;
}

// Lit part of the calendar frames at terminator offset u: waxing geometry, lit right of the line.
bool StripLitRight(double x, double y, double radius, double u) {
    const double v = y / radius;
    return x > u * radius * (1.0 - kStripBow * v * v);
}

double StripLitArea(double u) {
    // Midpoint rule over the unit disc; the integrand is continuous, so 2000 strips give the area
    // to far better than a pixel.
    const int strips = 2000;
    double lit = 0.0;
    double whole = 0.0;
    for (int s = 0; s < strips; ++s) {
        const double y = -1.0 + (s + 0.5) * (2.0 / strips);
        const double h = HalfChord(y, 1.0);
        double t = u * (1.0 - kStripBow * y * y);
        if (t < -h) {
            t = -h;
        }
        if (t < h) {
            lit += h - t;
        }
        whole += 2.0 * h;
    }
    return lit / whole;
}

// A 16-pixel disc cannot show the true crescent of the first days: it is thinner than a pixel.
// The tray pictures use the mean of the true lit width (1 - cos phase) / 2 and a width growing
// linearly with the angle, which keeps the quarters and the full Moon exact and gives every
// picture after the new Moon some light. Returns the cosine of the equivalent phase angle.
double TrayTerminatorCosine(double phaseDegrees) {
    double phase = std::fmod(phaseDegrees, 360.0);
    if (phase < 0.0) {
        phase += 360.0;
    }
    const double fromNew = phase <= 180.0 ? phase : 360.0 - phase;
    const double trueWidth = 0.5 * (1.0 - std::cos(fromNew * (kPi / 180.0)));
    const double linearWidth = fromNew / 180.0;
    return 1.0 - (trueWidth + linearWidth);
}

}  // namespace

void DrawTrayMoon(IndexedImage& image, int left, int top, double phaseDegrees,
                  const TrayMoonColours& colours, int size) {
    const double centre = 0.5 * size;
    // 7.3 at 16 pixels: the rim's pixels just inside the picture's border.
    const double discRadius = centre - 0.7;
    double phase = std::fmod(phaseDegrees, 360.0);
    if (phase < 0.0) {
        phase += 360.0;
    }
    const bool waxing = phase <= 180.0;
    const double c = TrayTerminatorCosine(phase);
    auto inDisc = [&](int i, int j) {
        const double dx = i + 0.5 - centre;
        const double dy = j + 0.5 - centre;
        return dx * dx + dy * dy <= discRadius * discRadius;
    };
    auto onRim = [&](int i, int j) {
        return !inDisc(i - 1, j) || !inDisc(i + 1, j) || !inDisc(i, j - 1) || !inDisc(i, j + 1);
    };
    for (int j = 0; j < size; ++j) {
        // The terminator is the projected circle between day and night, the half-ellipse
        // x = cos(phase) * h(y) with h the disc's half-chord at height y. Here h is half the row
        // of pixels inside the rim, so that the half and the full Moon fill their rows exactly.
        int inner = 0;
        for (int i = 0; i < size; ++i) {
            inner += (inDisc(i, j) && !onRim(i, j)) ? 1 : 0;
        }
        const double terminator = c * 0.5 * inner;
        for (int i = 0; i < size; ++i) {
            uint8_t index = colours.background;
            if (inDisc(i, j)) {
                double x = i + 0.5 - centre;
                if (!waxing) {
                    x = -x;
                }
                index = onRim(i, j) ? colours.rim : x > terminator ? colours.lit : colours.dark;
            }
            SetPixel(image, left + i, top + j, index);
        }
    }
}

double StripTerminatorOffset(double litFraction) {
    if (litFraction <= 0.0) {
        return 1.0;
    }
    if (litFraction >= 1.0) {
        return -1.0;
    }
    // The lit area falls strictly as u grows; 40 halvings of [-1, 1] pin u to 2e-12, far below
    // what could move a subsample.
    double lo = -1.0;
    double hi = 1.0;
    for (int step = 0; step < 40; ++step) {
        const double mid = 0.5 * (lo + hi);
        if (StripLitArea(mid) > litFraction) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return 0.5 * (lo + hi);
}

bool InStripDisc(int i, int j, int diameter, int size) {
    const double r = 0.5 * diameter;
    const double centre = 0.5 * size;
    const double dx = i + 0.5 - centre;
    const double dy = j + 0.5 - centre;
    return dx * dx + dy * dy <= r * r;
}

double StripFrameOffset(int frame) {
    const int litThirtieths = frame <= 30 ? frame : 60 - frame;
    return StripTerminatorOffset(litThirtieths / 30.0);
}

void DrawStripFrame(IndexedImage& image, int left, int top, int frame, double offset,
                    const StripColours& colours, int size) {
    const bool waxing = frame <= 30;
    const double u = offset;
    const double radius = 0.5 * (size - 2);
    const double centre = 0.5 * size;
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            uint8_t index = colours.background;
            if (InStripDisc(i, j, size - 2, size)) {
                int inside = 0;
                int lit = 0;
                for (int b = 0; b < kSubsamples; ++b) {
                    for (int a = 0; a < kSubsamples; ++a) {
                        double x = i + (a + 0.5) / kSubsamples - centre;
                        const double y = j + (b + 0.5) / kSubsamples - centre;
                        if (x * x + y * y > radius * radius) {
                            continue;
                        }
                        ++inside;
                        if (!waxing) {
                            x = -x;
                        }
                        lit += StripLitRight(x, y, radius, u) ? 1 : 0;
                    }
                }
                // A pixel whose centre is inside the disc always has subsamples inside.
                if (4 * lit >= 3 * inside) {
                    index = colours.lit;
                } else if (4 * lit <= inside) {
                    index = colours.unlit;
                } else {
                    index = colours.edge;
                }
            }
            SetPixel(image, left + i, top + j, index);
        }
    }
}
