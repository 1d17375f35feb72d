#include <cmath>
#include <cstring>

#include "artwork.h"
#include "glyphs.h"

namespace {

const int kWidth = 258;
const int kHeight = 90;

// The splash palette: night greens for the sky and the frame, golds for the lettering and the Moon.
enum SplashColour : uint8_t {
    kSky0 = 0,
    kSky1,
    kSky2,
    kSky3,
    kFrameMid,
    kFrameLight,
    kDeepShadow,
    kOlive,
    kDarkGold,
    kGold,
    kLemon,
    kPale,
    kStarBright,
    kStarDim,
    kGlow,
    kAshen,
};

const Rgb kSplashPalette[16] = {
    {  0,  22,  10},
    {  0,  36,  16},
    {  6,  52,  24},
    { 14,  70,  34},
    { 52, 118,  62},
    {120, 176, 104},
    {  0,  10,   4},
    { 84,  80,  18},
    {160, 132,  24},
    {214, 178,  40},
    {246, 218,  76},
    {255, 244, 168},
    {255, 255, 236},
    {140, 170, 130},
    { 24,  84,  40},
    { 22,  50,  26},
};

// Marsaglia's xorshift32: a fixed seed gives the same sky on every host.
uint32_t NextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Two-level ordered dither (4 x 4 Bayer matrix) of a level in [0, 3].
uint8_t DitheredSky(int x, int y, double level) {
    static const int bayer[4][4] = {
        { 0,  8,  2, 10},
        {12,  4, 14,  6},
        { 3, 11,  1,  9},
        {15,  7, 13,  5},
    };
    const int base = static_cast<int>(level);
    const double frac = level - base;
    const int up = frac * 16.0 > bayer[y & 3][x & 3] + 0.5 ? 1 : 0;
    const int index = base + up > 3 ? 3 : base + up;
    return static_cast<uint8_t>(kSky0 + index);
}

// A mask of booleans the size of the splash.
struct Mask {
    int width;
    int height;
    std::vector<uint8_t> on;
};

Mask MakeMask(int width, int height) {
    return Mask{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0)};
}

bool At(const Mask& m, int x, int y) {
    return x >= 0 && y >= 0 && x < m.width && y < m.height &&
           m.on[static_cast<size_t>(y) * m.width + x] != 0;
}

void Put(Mask& m, int x, int y, bool on) {
    if (x >= 0 && y >= 0 && x < m.width && y < m.height) {
        m.on[static_cast<size_t>(y) * m.width + x] = on ? 1 : 0;
    }
}

void Set(Mask& m, int x, int y) {
    Put(m, x, y, true);
}

// Scale2x: doubles a two-colour mask and rounds its staircase diagonals, so that letters drawn on
// a coarse grid come out smooth at four times their size.
Mask Scale2x(const Mask& in) {
    Mask out = MakeMask(in.width * 2, in.height * 2);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            const bool p = At(in, x, y);
            const bool a = At(in, x, y - 1);
            const bool b = At(in, x + 1, y);
            const bool c = At(in, x - 1, y);
            const bool d = At(in, x, y + 1);
            const bool e0 = (c == a && c != d && a != b) ? a : p;
            const bool e1 = (a == b && a != c && b != d) ? b : p;
            const bool e2 = (d == c && d != b && c != a) ? c : p;
            const bool e3 = (b == d && b != a && d != c) ? d : p;
            Put(out, 2 * x, 2 * y, e0);
            Put(out, 2 * x + 1, 2 * y, e1);
            Put(out, 2 * x, 2 * y + 1, e2);
            Put(out, 2 * x + 1, 2 * y + 1, e3);
        }
    }
    return out;
}

const TitleGlyph* FindTitleGlyph(char letter) {
    for (int i = 0; i < kTitleGlyphCount; ++i) {
        if (kTitleGlyphs[i].letter == letter) {
            return &kTitleGlyphs[i];
        }
    }
    return nullptr;
}

// The title on the coarse grid, one column between letters, in a one-cell empty border; `width`
// receives the width of the lettering in grid cells.
Mask TitleGrid(const char* text, int* width) {
    int w = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        const TitleGlyph* g = FindTitleGlyph(*p);
        w += (g != nullptr ? GlyphWidth(g->rows) : 3) + 1;
    }
    Mask grid = MakeMask(w + 2, 9 + 2);
    int x = 1;
    for (const char* p = text; *p != '\0'; ++p) {
        const TitleGlyph* g = FindTitleGlyph(*p);
        if (g == nullptr) {
            x += 4;
            continue;
        }
        for (int j = 0; j < 9; ++j) {
            for (int i = 0; g->rows[j][i] != '\0'; ++i) {
                if (g->rows[j][i] == '#') {
                    Set(grid, x + i, 1 + j);
                }
            }
        }
        x += GlyphWidth(g->rows) + 1;
    }
    *width = w - 1;
    return grid;
}

// Small capitals of the tagline, 5 rows high.
struct TaglineGlyph {
    char letter;
    const char* rows[5];
};

// clang-format off
const TaglineGlyph kTaglineGlyphs[] = {
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}},
    {'I', {"###", ".#.", ".#.", ".#.", "###"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
    {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'*', {"...", "...", ".#.", "...", "..."}},
};
// clang-format on
const int kTaglineGlyphCount = sizeof(kTaglineGlyphs) / sizeof(kTaglineGlyphs[0]);

const TaglineGlyph* FindTaglineGlyph(char letter) {
    for (int i = 0; i < kTaglineGlyphCount; ++i) {
        if (kTaglineGlyphs[i].letter == letter) {
            return &kTaglineGlyphs[i];
        }
    }
    return nullptr;
}

int TaglineWidth(const char* text) {
    int w = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        const TaglineGlyph* g = FindTaglineGlyph(*p);
        w += (g != nullptr ? static_cast<int>(std::strlen(g->rows[0])) : 2) + 1;
    }
    return w - 1;
}

void DrawTagline(IndexedImage& image, const char* text, int x, int y, uint8_t index) {
    for (const char* p = text; *p != '\0'; ++p) {
        const TaglineGlyph* g = FindTaglineGlyph(*p);
        if (g == nullptr) {
            x += 3;
            continue;
        }
        for (int j = 0; j < 5; ++j) {
            for (int i = 0; g->rows[j][i] != '\0'; ++i) {
                if (g->rows[j][i] == '#') {
                    SetPixel(image, x + i, y + j, index);
                }
            }
        }
        x += static_cast<int>(std::strlen(g->rows[0])) + 1;
    }
}

void DrawSky(IndexedImage& image) {
    for (int y = 0; y < kHeight; ++y) {
        const double level = 3.0 * y / (kHeight - 1);
        for (int x = 0; x < kWidth; ++x) {
            SetPixel(image, x, y, DitheredSky(x, y, level));
        }
    }
}

// Stars, kept off the title and the Moon so that the lettering stays clean.
void DrawStars(IndexedImage& image, const Mask& keepClear) {
    uint32_t state = 0x4E6F6374u;
    const int count = 110;
    for (int s = 0; s < count; ++s) {
        const int x = 6 + static_cast<int>(NextRandom(state) % (kWidth - 12));
        const int y = 6 + static_cast<int>(NextRandom(state) % (kHeight - 12));
        const uint32_t kind = NextRandom(state) % 16;
        bool clear = true;
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                clear = clear && !At(keepClear, x + dx, y + dy);
            }
        }
        if (!clear) {
            continue;
        }
        if (kind < 2) {
            SetPixel(image, x - 1, y, kStarDim);
            SetPixel(image, x + 1, y, kStarDim);
            SetPixel(image, x, y - 1, kStarDim);
            SetPixel(image, x, y + 1, kStarDim);
            SetPixel(image, x, y, kStarBright);
        } else if (kind < 6) {
            SetPixel(image, x, y, kStarBright);
        } else {
            SetPixel(image, x, y, kStarDim);
        }
    }
}

// A crescent: the disc of radius r at (cx, cy) less a disc of radius r2 shifted toward the upper
// right; the shadowed part shows faintly in ashen light, the disc sits in a soft glow.
void DrawCrescent(IndexedImage& image, Mask& keepClear, double cx, double cy, double r) {
    const double r2 = 0.9 * r;
    const double sx = cx + 0.55 * r;
    const double sy = cy - 0.3 * r;
    const int n = 4;
    for (int y = static_cast<int>(cy - r - 4); y <= static_cast<int>(cy + r + 4); ++y) {
        for (int x = static_cast<int>(cx - r - 4); x <= static_cast<int>(cx + r + 4); ++x) {
            int lit = 0;
            int disc = 0;
            for (int b = 0; b < n; ++b) {
                for (int a = 0; a < n; ++a) {
                    const double px = x + (a + 0.5) / n;
                    const double py = y + (b + 0.5) / n;
                    const bool inDisc = (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
                    const bool inShadow = (px - sx) * (px - sx) + (py - sy) * (py - sy) <= r2 * r2;
                    disc += inDisc ? 1 : 0;
                    lit += (inDisc && !inShadow) ? 1 : 0;
                }
            }
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (disc == 0) {
                // A halo that thins out with the distance: every pixel near the disc, every
                // other one a little farther.
                if (d <= r + 1.5 || (d <= r + 3.5 && ((x + y) & 1) == 0)) {
                    SetPixel(image, x, y, kGlow);
                }
                if (d <= r + 3.5) {
                    Set(keepClear, x, y);
                }
                continue;
            }
            Set(keepClear, x, y);
            uint8_t index = kAshen;
            if (4 * lit >= 3 * n * n) {
                // Brighter toward the lit limb at the lower left.
                const double t = (-dx + dy) / (1.4142 * r);
                index = t > 0.55 ? kPale : t > -0.1 ? kLemon : kGold;
            } else if (4 * lit >= n * n) {
                index = kDarkGold;
            } else if (lit > 0) {
                index = kOlive;
            }
            SetPixel(image, x, y, index);
        }
    }
}

void DrawTitle(IndexedImage& image, Mask& keepClear, const char* text, int centreX, int baseline) {
    int gridWidth = 0;
    const Mask grid = TitleGrid(text, &gridWidth);
    const Mask letters = Scale2x(Scale2x(grid));
    // Grid cell (1, 1) is the top-left of the text; after scaling it starts at pixel (4, 4).
    const int ox = centreX - 2 * gridWidth - 4;
    const int oy = baseline - 36 - 4;
    const int top = baseline - 36;
    for (int y = 0; y < letters.height; ++y) {
        for (int x = 0; x < letters.width; ++x) {
            const int px = ox + x;
            const int py = oy + y;
            if (At(letters, x, y)) {
                Set(keepClear, px, py);
                continue;
            }
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    near = near || At(letters, x + dx, y + dy);
                }
            }
            if (near) {
                SetPixel(image, px, py, kOlive);
                Set(keepClear, px, py);
            } else if (At(letters, x - 2, y - 2) || At(letters, x - 3, y - 3)) {
                SetPixel(image, px, py, kDeepShadow);
                Set(keepClear, px, py);
            }
        }
    }
    for (int y = 0; y < letters.height; ++y) {
        for (int x = 0; x < letters.width; ++x) {
            if (!At(letters, x, y)) {
                continue;
            }
            const int py = oy + y;
            const double t = (py - top) / 36.0;
            uint8_t index = t < 0.3 ? kPale : t < 0.62 ? kLemon : t < 0.86 ? kGold : kDarkGold;
            if (!At(letters, x, y - 1) || !At(letters, x - 1, y)) {
                index = kPale;
            } else if (!At(letters, x, y + 1) || !At(letters, x + 1, y)) {
                index = kDarkGold;
            }
            SetPixel(image, ox + x, py, index);
        }
    }
}

// A bevelled frame: a raised outer edge, a flat band and a sunken inner edge.
void DrawFrame(IndexedImage& image) {
    struct Ring {
        uint8_t topLeft;
        uint8_t bottomRight;
    };
    static const Ring rings[] = {
        {kFrameLight, kDeepShadow},
        {kFrameLight,       kGlow},
        {  kFrameMid,       kGlow},
        {  kFrameMid,   kFrameMid},
        {kDeepShadow,   kFrameMid},
    };
    const int count = sizeof(rings) / sizeof(rings[0]);
    for (int k = 0; k < count; ++k) {
        const int l = k;
        const int t = k;
        const int r = kWidth - 1 - k;
        const int b = kHeight - 1 - k;
        for (int x = l; x <= r; ++x) {
            SetPixel(image, x, t, rings[k].topLeft);
            SetPixel(image, x, b, rings[k].bottomRight);
        }
        for (int y = t; y <= b; ++y) {
            SetPixel(image, l, y, rings[k].topLeft);
            SetPixel(image, r, y, rings[k].bottomRight);
        }
        // The corner where the two edges meet is split along the diagonal.
        SetPixel(image, r, t, rings[k].topLeft);
        SetPixel(image, l, b, rings[k].bottomRight);
    }
}

}  // namespace

IndexedImage MakeSplash() {
    IndexedImage image = MakeIndexedImage(kWidth, kHeight, kSplashPalette, 16, kSky0);
    Mask keepClear = MakeMask(kWidth, kHeight);
    DrawSky(image);
    DrawCrescent(image, keepClear, 227.0, 25.0, 15.0);
    DrawTitle(image, keepClear, "Nocturo", kWidth / 2 - 9, 62);
    const char* tagline = "MOON * TIDE * CALENDAR";
    const int taglineWidth = TaglineWidth(tagline);
    const int taglineX = (kWidth - taglineWidth) / 2;
    for (int y = 70; y < 79; ++y) {
        for (int x = taglineX - 3; x < taglineX + taglineWidth + 3; ++x) {
            Set(keepClear, x, y);
        }
    }
    DrawTagline(image, tagline, taglineX, 72, kGold);
    DrawStars(image, keepClear);
    DrawFrame(image);
    return image;
}
