#include <cmath>

#include "artwork.h"

namespace {

struct Colour {
    double r;
    double g;
    double b;
    double a;
};

// One flat shape of the icon: a signed distance (negative inside, in pixels), painted with a fill
// and an outline `outline` pixels wide just inside its edge.
enum ShapeKind { kRoundRect, kCrescent, kCircle };

struct Shape {
    ShapeKind kind;
    double p[6];  // rectangle: left, top, right, bottom, corner radius; circle: cx, cy, r;
                  // crescent: cx, cy, r, shadow dx, dy, shadow r (fractions of the icon size)
    Colour fill;
    Colour line;
    bool outlined;
};

double RoundRectDistance(double x, double y, const double* p, double size) {
    const double l = p[0] * size;
    const double t = p[1] * size;
    const double r = p[2] * size;
    const double b = p[3] * size;
    const double radius = p[4] * size;
    const double cx = 0.5 * (l + r);
    const double cy = 0.5 * (t + b);
    const double hx = 0.5 * (r - l) - radius;
    const double hy = 0.5 * (b - t) - radius;
    const double qx = std::fabs(x - cx) - hx;
    const double qy = std::fabs(y - cy) - hy;
    const double ox = qx > 0.0 ? qx : 0.0;
    const double oy = qy > 0.0 ? qy : 0.0;
    const double inside = qx > qy ? (qx < 0.0 ? qx : 0.0) : (qy < 0.0 ? qy : 0.0);
    return std::sqrt(ox * ox + oy * oy) + inside - radius;
}

double CircleDistance(double x, double y, double cx, double cy, double r) {
    return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - r;
}

double ShapeDistance(const Shape& s, double x, double y, double size) {
    switch (s.kind) {
        case kRoundRect:
            return RoundRectDistance(x, y, s.p, size);
        case kCircle:
            return CircleDistance(x, y, s.p[0] * size, s.p[1] * size, s.p[2] * size);
        case kCrescent: {
            const double disc = CircleDistance(x, y, s.p[0] * size, s.p[1] * size, s.p[2] * size);
            const double shadow = CircleDistance(x, y, (s.p[0] + s.p[3]) * size,
                                                 (s.p[1] + s.p[4]) * size, s.p[5] * size);
            return disc > -shadow ? disc : -shadow;
        }
    }
    return 1.0;
}

// The 16-pixel icon is drawn pixel by pixel: smoothing at that size only blurs it. Letters: K ink,
// W paper, G the green band, R and L the days (Sundays red), Y the Moon, O the Moon's outline,
// S shadow, '.' transparent.
// clang-format off
const char* const kIcon16[16] = {
    "...........OOO..",
    ".........OOYYO..",
    "........OYYYO...",
    ".......OYYYO....",
    ".......OYYO.....",
    "KKKKKKKOYYO.....",
    "KGGGGGGOYYYO..OO",
    "KGGGGGGOYYYYOOYO",
    "KKKKKKKKOYYYYYO.",
    "KWWWWWWWKOOOOOKS",
    "KWWWWWWWWWWWWWKS",
    "KWRRWLLWLLWLLWKS",
    "KWWWWWWWWWWWWWKS",
    "KWRRWLLWLLWLLWKS",
    "KKKKKKKKKKKKKKKS",
    ".SSSSSSSSSSSSSSS",
};
// clang-format on

struct IconInk {
    char key;
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
};

static const IconInk kIconInks[] = {
    {'K',  34,  34,  38, 255},
    {'W', 252, 252, 248, 255},
    {'G',  16, 128,  64, 255},
    {'R', 220,  40,  40, 255},
    {'L', 190, 196, 200, 255},
    {'Y', 255, 216,  48, 255},
    {'O', 128,  92,   0, 255},
    {'S',   0,   0,   0,  90},
};
const int kIconInkCount = sizeof(kIconInks) / sizeof(kIconInks[0]);

RgbaImage PixelIcon16() {
    RgbaImage image = MakeRgbaImage(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            uint8_t* out = &image.rgba[(static_cast<size_t>(y) * 16 + x) * 4];
            for (int k = 0; k < kIconInkCount; ++k) {
                if (kIconInks[k].key == kIcon16[y][x]) {
                    out[0] = kIconInks[k].r;
                    out[1] = kIconInks[k].g;
                    out[2] = kIconInks[k].b;
                    out[3] = kIconInks[k].a;
                }
            }
        }
    }
    return image;
}

}  // namespace

// A crescent Moon over a small tear-off calendar page. Drawn from flat shapes with 8 x 8
// subsamples per pixel (4 x 4 at 256); outlines keep at least one pixel at the small sizes.
RgbaImage MakeIconImage(int size) {
    if (size == 16) {
        return PixelIcon16();
    }
    const Colour none = {0, 0, 0, 0};
    const Colour ink = {34, 34, 38, 1};
    const Colour shadow = {0, 0, 0, 0.35};
    const Colour paper = {252, 252, 248, 1};
    const Colour band = {16, 128, 64, 1};
    const Colour grid = {190, 196, 200, 1};
    const Colour red = {220, 40, 40, 1};
    const Colour moon = {255, 216, 48, 1};
    const Colour moonLine = {128, 92, 0, 1};
    const Colour ring = {96, 96, 104, 1};
    std::vector<Shape> shapes = {
        {kRoundRect, {0.08, 0.34, 0.82, 0.98, 0.08, 0}, shadow, none, false},
        {kRoundRect, {0.04, 0.30, 0.78, 0.94, 0.08, 0},  paper,  ink,  true},
        {kRoundRect, {0.04, 0.30, 0.78, 0.47, 0.08, 0},   band,  ink,  true},
    };
    if (size >= 32) {
        // Days of the month as small squares, the first column red for Sundays.
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 4; ++col) {
                const double l = 0.13 + col * 0.155;
                const double t = 0.54 + row * 0.125;
                shapes.push_back({
                    kRoundRect,
                    {l, t, l + 0.095, t + 0.075, 0.01, 0},
                    col == 0 ? red : grid,
                    none,
                    false
                });
            }
        }
        shapes.push_back({
            kRoundRect, {0.12, 0.25, 0.18, 0.37, 0.03, 0},
             ring, ink, size >= 48
        });
        shapes.push_back({
            kRoundRect, {0.29, 0.25, 0.35, 0.37, 0.03, 0},
             ring, ink, size >= 48
        });
    }
    shapes.push_back({
        kCrescent, {0.66, 0.30, 0.28, 0.14, -0.10, 0.24},
         moon, moonLine, true
    });

    const double line = size / 40.0 > 1.0 ? size / 40.0 : 1.0;
    const int n = size >= 128 ? 4 : 8;  // 16 levels of coverage suffice at the large size
    RgbaImage image = MakeRgbaImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const double px = x + (sx + 0.5) / n;
                    const double py = y + (sy + 0.5) / n;
                    // Paint the shapes in order over a transparent subsample.
                    Colour c = none;
                    for (const Shape& s : shapes) {
                        const double d = ShapeDistance(s, px, py, size);
                        if (d > 0.0) {
                            continue;
                        }
                        const Colour& top = (s.outlined && d > -line) ? s.line : s.fill;
                        const double k = top.a + c.a * (1.0 - top.a);
                        if (k > 0.0) {
                            c.r = (top.r * top.a + c.r * c.a * (1.0 - top.a)) / k;
                            c.g = (top.g * top.a + c.g * c.a * (1.0 - top.a)) / k;
                            c.b = (top.b * top.a + c.b * c.a * (1.0 - top.a)) / k;
                        }
                        c.a = k;
                    }
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            uint8_t* out = &image.rgba[(static_cast<size_t>(y) * size + x) * 4];
            if (a > 0.0) {
                out[0] = static_cast<uint8_t>(r / a + 0.5);
                out[1] = static_cast<uint8_t>(g / a + 0.5);
                out[2] = static_cast<uint8_t>(b / a + 0.5);
            }
            out[3] = static_cast<uint8_t>(255.0 * a / (n * n) + 0.5);
        }
    }
    return image;
}
