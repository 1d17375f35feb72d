// The generated artwork, read back from the encoded files: sizes, colour tables, cell layouts,
// the key colour, the Moon geometry and the determinism of the generator.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "tools/artgen/artwork.h"
#include "tools/artgen/encoders.h"
#include "tools/artgen/moon.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Le16(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t Le32(const Bytes& b, size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}
uint32_t Be32(const Bytes& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

bool Same(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// A 4-bit picture, top-down, decoded independently of the encoder (or cut out of one).
struct Picture {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    Bytes pixels;
    uint8_t At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * width + x];
    }
};

// Only bottom-up, uncompressed 4-bit files whose sizes and offsets agree decode.
Picture DecodeBmp4(const Bytes& b) {
    Picture d;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 2) != b.size() ||
        Le32(b, 14) != 40 || Le16(b, 26) != 1 || Le16(b, 28) != 4 || Le32(b, 30) != 0 ||
        static_cast<int32_t>(Le32(b, 22)) <= 0) {
        return d;
    }
    d.width = static_cast<int>(Le32(b, 18));
    d.height = static_cast<int>(Le32(b, 22));
    const uint32_t colours = Le32(b, 46) == 0 ? 16 : Le32(b, 46);
    for (uint32_t at = 54; at < 54 + 4 * colours; at += 4) {
        d.palette.push_back(Rgb{b[at + 2], b[at + 1], b[at]});
    }
    const size_t offset = Le32(b, 10);
    const size_t stride = ((d.width * 4 + 31) / 32) * 4;
    if (offset != 54 + 4 * colours || offset + stride * d.height != b.size()) {
        return d;
    }
    for (int y = 0; y < d.height; ++y) {
        for (int x = 0; x < d.width; ++x) {
            const uint8_t byte = b[offset + stride * (d.height - 1 - y) + x / 2];
            d.pixels.push_back(x % 2 == 0 ? byte >> 4 : byte & 15);
        }
    }
    d.ok = true;
    return d;
}

const std::vector<ArtworkFile>& Artwork() {
    static const std::vector<ArtworkFile> files = GenerateArtwork();
    return files;
}

const Bytes& FileBytes(const std::string& name) {
    static const Bytes none;
    for (const ArtworkFile& f : Artwork()) {
        if (f.name == name) {
            return f.bytes;
        }
    }
    return none;
}

Picture Bitmap(const std::string& name) {
    return DecodeBmp4(FileBytes(name));
}

Picture Crop(const Picture& d, int left, int top, int width, int height) {
    Picture cell;
    cell.ok = d.ok;
    cell.width = width;
    cell.height = height;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            cell.pixels.push_back(d.At(x, y));
        }
    }
    return cell;
}

int Count(const Picture& d, uint8_t index) {
    return static_cast<int>(std::count(d.pixels.begin(), d.pixels.end(), index));
}

// ---- Sizes and colour tables ------------------------------------------------------------------

struct BitmapCase {
    const char* name;
    int width;
    int height;
    bool standardPalette;
};

static const BitmapCase kBitmapCases[] = {
    {"130.bmp",   80,  16,  true},
    {"141.bmp", 1892,  64, false},
    {"143.bmp",  421,  16,  true},
    {"144.bmp",   16,  16,  true},
    {"146.bmp",  372,  10,  true},
    {"147.bmp",   84,  10,  true},
    {"153.bmp",  258,  90, false},
    {"230.bmp",  100,  20,  true},
    {"241.bmp", 2380,  80, false},
    {"243.bmp",  533,  20,  true},
    {"244.bmp",   20,  20,  true},
    {"246.bmp",  496,  13,  true},
    {"247.bmp",  112,  13,  true},
    {"330.bmp",  120,  24,  true},
    {"341.bmp", 2868,  96, false},
    {"343.bmp",  645,  24,  true},
    {"344.bmp",   24,  24,  true},
    {"346.bmp",  620,  16,  true},
    {"347.bmp",  140,  16,  true},
    {"430.bmp",  160,  32,  true},
    {"441.bmp", 3844, 128, false},
    {"443.bmp",  869,  32,  true},
    {"444.bmp",   32,  32,  true},
    {"446.bmp",  744,  20,  true},
    {"447.bmp",  168,  20,  true},
};

class BitmapFormatTest : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapFormatTest, IsA4BitBottomUpDibOfItsSize) {
    const BitmapCase& c = GetParam();
    const Picture d = Bitmap(c.name);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, c.width);
    EXPECT_EQ(d.height, c.height);
    ASSERT_EQ(d.palette.size(), 16u);
    for (int i = 0; c.standardPalette && i < 16; ++i) {
        EXPECT_TRUE(Same(d.palette[i], kStandardPalette[i])) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, BitmapFormatTest, ::testing::ValuesIn(kBitmapCases),
                         [](const ::testing::TestParamInfo<BitmapCase>& info) {
                             return "Bitmap" + std::string(info.param.name).substr(0, 3);
                         });

TEST(BitmapFormat, StandardPaletteOrder) {
    EXPECT_TRUE(Same(kStandardPalette[kDarkYellow], Rgb{128, 128, 0}));
    EXPECT_TRUE(Same(kStandardPalette[kLightGrey], Rgb{192, 192, 192}));
    EXPECT_TRUE(Same(kStandardPalette[kYellow], Rgb{255, 255, 0}));
    EXPECT_TRUE(Same(kStandardPalette[kMagenta], Rgb{255, 0, 255}));
    EXPECT_TRUE(Same(kStandardPalette[kWhite], Rgb{255, 255, 255}));
}

TEST(BitmapFormat, OddWidthRowsArePaddedAndPacked) {
    IndexedImage image = MakeIndexedImage(3, 2, kStandardPalette, 16, kBlack);
    SetPixel(image, 0, 0, kRed);
    SetPixel(image, 2, 1, kWhite);
    const Bytes b = EncodeBmp4(image);
    ASSERT_EQ(b.size(), 14u + 40 + 64 + 2 * 4);
    // Bottom row first: pixel (2, 1) is the high nibble of its second byte.
    EXPECT_EQ(b[118], 0x00);
    EXPECT_EQ(b[119], 0xF0);
    EXPECT_EQ(b[122], 0x90);
}

// ---- Tray Moons (143) -------------------------------------------------------------------------

Picture TrayMoon(int k) {
    return Crop(Bitmap("143.bmp"), 15 * k, 0, 16, 16);
}

TEST(TrayMoons, KeyColourSurroundsTheSameDiscInEveryPicture) {
    const Picture first = TrayMoon(0);
    for (int k = 0; k < 28; ++k) {
        const Picture cell = TrayMoon(k);
        for (int i = 0; i < 16 * 16; ++i) {
            EXPECT_EQ(cell.pixels[i] == kMagenta, first.pixels[i] == kMagenta) << k << " " << i;
        }
        // The shared border columns stay transparent.
        for (int y = 0; y < 16; ++y) {
            EXPECT_TRUE(cell.At(0, y) == kMagenta && cell.At(15, y) == kMagenta) << k << " " << y;
        }
    }
    EXPECT_EQ(first.At(8, 8), kBlack);
    EXPECT_EQ(first.At(8, 1), kDarkYellow);
    EXPECT_EQ(first.At(1, 1), kMagenta);
}

TEST(TrayMoons, NewQuartersFullAndTheWaningMirrorOfTheWaxing) {
    EXPECT_EQ(Count(TrayMoon(0), kYellow), 0);
    EXPECT_EQ(Count(TrayMoon(14), kBlack), 0);
    EXPECT_GT(Count(TrayMoon(14), kYellow), 100);
    const Picture first = TrayMoon(7);
    const Picture last = TrayMoon(21);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (first.At(x, y) == kYellow || first.At(x, y) == kBlack) {
                EXPECT_EQ(first.At(x, y), x >= 8 ? kYellow : kBlack) << x << "," << y;
                EXPECT_EQ(last.At(x, y), x < 8 ? kYellow : kBlack) << x << "," << y;
            }
        }
    }
    for (int k = 1; k < 14; ++k) {
        const Picture waxing = TrayMoon(k);
        const Picture waning = TrayMoon(28 - k);
        bool rightLimbLit = false;  // the lit part touches the right rim while the Moon waxes
        for (int y = 0; y < 16; ++y) {
            rightLimbLit = rightLimbLit || waxing.At(13, y) == kYellow;
            for (int x = 0; x < 16; ++x) {
                EXPECT_EQ(waxing.At(x, y), waning.At(15 - x, y)) << k << " " << x << "," << y;
            }
        }
        EXPECT_TRUE(rightLimbLit) << k;
    }
}

TEST(TrayMoons, EveryPictureDiffersLightGrowsToTheFullMoonTerminatorIsCurved) {
    std::set<Bytes> distinct;
    int previous = -1;
    for (int k = 0; k < 28; ++k) {
        const Picture cell = TrayMoon(k);
        distinct.insert(cell.pixels);
        if (k <= 14) {
            EXPECT_GT(Count(cell, kYellow), previous) << k;
            previous = Count(cell, kYellow);
        }
        if (k > 0 && k < 14) {
            EXPECT_GT(Count(cell, kBlack), 0) << k;
        }
    }
    EXPECT_EQ(distinct.size(), 28u);
    // A crescent's lit width is greatest at the equator and narrows toward the horns.
    const Picture crescent = TrayMoon(4);
    auto litInRow = [&](int y) { return Count(Crop(crescent, 0, y, 16, 1), kYellow); };
    EXPECT_GT(litInRow(8), litInRow(3));
    EXPECT_GT(litInRow(7), litInRow(12));
}

// ---- Tide characters (130) and the calendar page (144) ----------------------------------------

TEST(TideCharacters, BlueStrokesRimmedInCyanAndWhiteOnMagenta) {
    const Picture d = Bitmap("130.bmp");
    ASSERT_TRUE(d.ok);
    for (int k = 0; k < 5; ++k) {
        int blue = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 16 * k; x < 16 * k + 16; ++x) {
                const uint8_t p = d.At(x, y);
                EXPECT_TRUE(p == kMagenta || p == kBlue || p == kCyan || p == kWhite);
                if (p != kBlue) {
                    continue;
                }
                ++blue;
                // No stroke pixel touches the transparent background, nor leaves its cell.
                EXPECT_TRUE(x > 16 * k && x < 16 * k + 15) << k << " " << x;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        EXPECT_NE(d.At(x + dx, y + dy), kMagenta) << k << " " << x << "," << y;
                    }
                }
            }
        }
        EXPECT_GT(blue, 20) << k;
    }
}

TEST(CalendarPage, WritingAreaBandOutlineAndTransparentCorners) {
    const Picture d = Bitmap("144.bmp");
    ASSERT_TRUE(d.ok);
    // The writing area is exactly 12 x 10 at (1, 4), black all round it, under a green band.
    for (int y = 4; y < 14; ++y) {
        EXPECT_TRUE(d.At(0, y) == kBlack && d.At(13, y) == kBlack) << y;
        for (int x = 1; x < 13; ++x) {
            EXPECT_EQ(d.At(x, y), kWhite) << x << "," << y;
        }
    }
    for (int x = 1; x < 13; ++x) {
        EXPECT_TRUE(d.At(x, 0) == kBlack && d.At(x, 14) == kBlack && d.At(x, 1) == kDarkGreen) << x;
    }
    EXPECT_EQ(d.At(0, 0), kMagenta);
    EXPECT_EQ(d.At(15, 0), kMagenta);
    EXPECT_EQ(d.At(0, 15), kMagenta);
    EXPECT_EQ(d.At(15, 15), kMagenta);
    EXPECT_EQ(d.At(14, 1), kMagenta);  // the gaps at the ends of the shadow
    EXPECT_EQ(d.At(1, 15), kMagenta);
    EXPECT_EQ(d.At(14, 8), kBlack);  // the shadow
    EXPECT_EQ(d.At(8, 15), kBlack);
}

// ---- Day numbers (146) and weekday characters (147) -------------------------------------------

TEST(CalendarCells, DistinctMagentaOnWhiteCellsTwoDigitsSeparatedByAWhiteColumn) {
    static const struct {
        const char* file;
        int count;
    } kStrips[] = {
        {"146.bmp", 31},
        {"147.bmp",  7},
    };
    for (const auto& strip : kStrips) {
        SCOPED_TRACE(strip.file);
        const Picture d = Bitmap(strip.file);
        ASSERT_TRUE(d.ok);
        std::set<Bytes> distinct;
        for (int i = 0; i < strip.count; ++i) {
            const Picture cell = Crop(d, 12 * i, 0, 12, 10);
            EXPECT_EQ(Count(cell, kMagenta) + Count(cell, kWhite), 120) << "cell " << i;
            EXPECT_GE(Count(cell, kMagenta), 8) << "cell " << i;
            distinct.insert(cell.pixels);
            if (strip.count != 31 || i < 9) {
                continue;
            }
            int inked[12];
            int first = 12;
            int last = -1;
            for (int x = 0; x < 12; ++x) {
                inked[x] = Count(Crop(cell, x, 0, 1, 10), kMagenta);
                first = inked[x] > 0 ? std::min(first, x) : first;
                last = inked[x] > 0 ? x : last;
            }
            bool gap = false;
            for (int x = first + 1; x < last; ++x) {
                gap = gap || inked[x] == 0;
            }
            EXPECT_TRUE(gap) << "number " << i + 1;
        }
        EXPECT_EQ(distinct.size(), static_cast<size_t>(strip.count));
    }
}

// ---- Calendar Moon strip (141) ----------------------------------------------------------------

TEST(MoonStrip, ColourTableMaskAndRing) {
    const Picture d = Bitmap("141.bmp");
    ASSERT_TRUE(d.ok);
    static const Rgb kUsed[8] = {
        {  0,   0,   0},
        {192, 192, 192},
        {128, 128, 128},
        {255, 255,   0},
        {255, 255, 255},
        {192, 192,  64},
        {255, 255, 192},
        {224, 224, 192},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(Same(d.palette[i], kUsed[i])) << i;
    }
    EXPECT_TRUE(std::all_of(d.pixels.begin(), d.pixels.end(), [](uint8_t p) { return p < 8; }));
    EXPECT_EQ(d.At(0, 0), kStripWhite);
    EXPECT_EQ(d.At(31, 31), kStripWhite);
    EXPECT_EQ(d.At(16, 16), kStripBlack);
    EXPECT_EQ(d.At(0, 16), kStripBlack);  // the disc is 32 across
    EXPECT_EQ(d.At(31, 15), kStripBlack);
    EXPECT_EQ(d.At(16, 32), kStripLightGrey);  // top of the ring
    EXPECT_EQ(d.At(16, 48), kStripBlack);
    EXPECT_EQ(d.At(0, 32), kStripBlack);
    // Every pixel of a frame's disc lies under the mask's disc and inside the ring.
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i) {
            if (InStripDisc(i, j, 30)) {
                EXPECT_TRUE(d.At(i, j) == kStripBlack && d.At(i, 32 + j) == kStripBlack) << i << j;
            }
        }
    }
}

struct FrameCount {
    int disc = 0;
    int lit = 0;
    int edge = 0;
    int unlit = 0;
    int litRight = 0;
    int litLeft = 0;
};

// Frame f of the upper (bright) or lower (pale) row; everything outside the disc must be black.
FrameCount CountFrame(const Picture& d, int f, bool pale) {
    const int top = pale ? 32 : 0;
    const uint8_t lit = pale ? kStripPaleYellow : kStripYellow;
    const uint8_t edge = pale ? kStripPaleEdge : kStripEdge;
    const uint8_t unlit = pale ? kStripLightGrey : kStripGrey;
    FrameCount c;
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32 && 32 + 31 * f + i < d.width; ++i) {
            const uint8_t p = d.At(32 + 31 * f + i, top + j);
            if (!InStripDisc(i, j, 30)) {
                EXPECT_EQ(p, kStripBlack) << f << " " << i << "," << j;
                continue;
            }
            ++c.disc;
            c.lit += p == lit;
            c.edge += p == edge;
            c.unlit += p == unlit;
            (i >= 16 ? c.litRight : c.litLeft) += p == lit;
        }
    }
    return c;
}

TEST(MoonStrip, NewFullAndQuarterFramesLitAreaProportionalToTheAngleInBothRows) {
    const Picture d = Bitmap("141.bmp");
    const FrameCount newMoon = CountFrame(d, 0, false);
    EXPECT_EQ(newMoon.unlit, newMoon.disc);
    const FrameCount full = CountFrame(d, 30, false);
    EXPECT_EQ(full.lit, full.disc);
    const FrameCount fullPale = CountFrame(d, 30, true);
    EXPECT_EQ(fullPale.lit, fullPale.disc);
    const FrameCount first = CountFrame(d, 15, false);
    EXPECT_EQ(first.litLeft, 0);
    EXPECT_EQ(first.lit + first.edge + first.unlit, first.disc);
    const FrameCount last = CountFrame(d, 45, false);
    EXPECT_EQ(last.litRight, 0);
    EXPECT_EQ(last.lit, first.lit);
    for (int f = 0; f < 60; ++f) {
        const FrameCount upper = CountFrame(d, f, false);
        const FrameCount lower = CountFrame(d, f, true);
        EXPECT_NEAR((upper.lit + 0.5 * upper.edge) / upper.disc, (f <= 30 ? f : 60 - f) / 30.0,
                    0.02)
            << f;
        EXPECT_EQ(upper.lit, lower.lit) << f;
        EXPECT_EQ(upper.edge, lower.edge) << f;
        EXPECT_TRUE(f <= 30 ? upper.litLeft <= upper.litRight : upper.litLeft >= upper.litRight)
            << f;
    }
}

TEST(MoonStrip, TerminatorOffsetBounds) {
    EXPECT_EQ(StripTerminatorOffset(0.0), 1.0);
    EXPECT_EQ(StripTerminatorOffset(1.0), -1.0);
    EXPECT_NEAR(StripTerminatorOffset(0.5), 0.0, 1e-12);
    EXPECT_GT(StripTerminatorOffset(0.25), StripTerminatorOffset(0.26));
}

// ---- Splash (153) -----------------------------------------------------------------------------

TEST(Splash, DarkGreenFieldWithGoldLettering) {
    const Picture d = Bitmap("153.bmp");
    ASSERT_TRUE(d.ok);
    EXPECT_GE(std::set<uint8_t>(d.pixels.begin(), d.pixels.end()).size(), 12u);
    // Most of the picture is sky: greens, darker than the lettering.
    int greenish = 0;
    for (uint8_t p : d.pixels) {
        const Rgb& c = d.palette[p];
        greenish += c.g >= c.r && c.g >= c.b && c.g < 130;
    }
    EXPECT_GT(greenish, 258 * 90 * 6 / 10);
    EXPECT_TRUE(std::any_of(d.palette.begin(), d.palette.end(),
                            [](const Rgb& c) { return c.r > 200 && c.g > 160 && c.b < 100; }));
}

// ---- The larger sets ---------------------------------------------------------------------------

// The 16-pixel pictures, the splash and the icon are the same bytes as before the larger sets came.
TEST(LargerSets, SixteenPixelFilesUnchanged) {
    static const struct {
        const char* name;
        uint32_t crc;
    } kFiles[] = {
        {    "130.bmp", 0x8DF5B820},
        {    "141.bmp", 0xC2048EBE},
        {    "143.bmp", 0x945EE22D},
        {    "144.bmp", 0xED278B4C},
        {    "146.bmp", 0x8DE6FE39},
        {    "147.bmp", 0xE220BEA7},
        {    "153.bmp", 0x6CB80A53},
        {"nocturo.ico", 0x97461FC7},
    };
    for (const auto& f : kFiles) {
        const Bytes& b = FileBytes(f.name);
        ASSERT_FALSE(b.empty()) << f.name;
        EXPECT_EQ(Crc32(b.data(), b.size()), f.crc) << f.name;
    }
}

std::string SetFile(int base, const TrayPictureSet& set) {
    return std::to_string(base + set.resourceOffset) + ".bmp";
}

// Each larger set: Moons inside their cells (corners magenta, new Moon dark, full Moon lit), a
// white writing area where the program copies the cells, and 31 numbers and 7 weekdays that all
// differ. (The tide characters share the 16-pixel set's rim, which TideCharacters checks.)
TEST(LargerSets, PicturesDrawnForTheirSize) {
    for (int k = 1; k < kTrayPictureSetCount; ++k) {
        const TrayPictureSet& set = kTrayPictureSets[k];
        const int n = set.size;
        const Picture moons = Bitmap(SetFile(143, set));
        ASSERT_TRUE(moons.ok);
        for (int cell : {0, 14, 27}) {
            const Picture m = Crop(moons, TrayMoonCellX(set, cell), 0, n, n);
            EXPECT_TRUE(m.At(0, 0) == kMagenta && m.At(n - 1, n - 1) == kMagenta) << n;
            EXPECT_EQ(Count(m, kYellow) == 0, cell == 0) << n << " " << cell;
            EXPECT_EQ(Count(m, kYellow) > n * n / 2, cell == 14) << n << " " << cell;
        }

        const Picture page = Bitmap(SetFile(144, set));
        ASSERT_TRUE(page.ok);
        const Picture area = Crop(page, set.pageLeft, set.pageTop, set.cellWidth, set.cellHeight);
        EXPECT_EQ(Count(area, kWhite), set.cellWidth * set.cellHeight) << n;
        EXPECT_EQ(page.At(set.pageLeft + set.cellWidth, set.pageTop), kBlack) << n;
        EXPECT_EQ(page.At(set.pageLeft, set.pageTop - 1), kDarkGreen) << n;
        EXPECT_EQ(page.At(0, 0), kMagenta) << n;
        EXPECT_EQ(page.At(n - 1, n - 1), kMagenta) << n;

        for (int base : {146, 147}) {
            const Picture strip = Bitmap(SetFile(base, set));
            ASSERT_TRUE(strip.ok);
            std::set<Bytes> cells;
            const int count = strip.width / set.cellWidth;
            for (int c = 0; c < count; ++c) {
                const Picture cell = Crop(strip, c * set.cellWidth, 0, set.cellWidth, strip.height);
                EXPECT_EQ(Count(cell, kMagenta) + Count(cell, kWhite),
                          set.cellWidth * strip.height);
                EXPECT_GT(Count(cell, kMagenta), set.cellHeight) << base << " " << c;
                cells.insert(cell.pixels);
            }
            EXPECT_EQ(static_cast<int>(cells.size()), count) << base << " " << n;
        }
    }
}

// Each larger Moon strip: the black disc of the mask, the new Moon without light and the full
// Moon lit over most of its disc, in the layout the windows draw from.
TEST(LargerSets, MoonStripsForTheirDpis) {
    for (int k = 1; k < kMoonStripSetCount; ++k) {
        const MoonStripSet& set = kMoonStripSets[k];
        const int n = set.size;
        const Picture strip = Bitmap(std::to_string(set.resource) + ".bmp");
        ASSERT_TRUE(strip.ok);
        const Picture mask = Crop(strip, 0, 0, n, n);
        EXPECT_EQ(mask.At(n / 2, n / 2), kStripBlack);  // cleared under the disc, kept outside
        EXPECT_EQ(mask.At(0, 0), kStripWhite);
        const Picture fresh = Crop(strip, MoonStripFrameX(n, 0), 0, n, n);
        const Picture full = Crop(strip, MoonStripFrameX(n, 30), 0, n, n);
        EXPECT_EQ(Count(fresh, kStripYellow), 0) << n;
        EXPECT_GT(Count(full, kStripYellow), n * n / 2) << n;
    }
}

// ---- Icon -------------------------------------------------------------------------------------

TEST(Checksums, KnownValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

TEST(Icon, FourSizesDibsWithMasksAndAPng) {
    const Bytes& b = FileBytes("nocturo.ico");
    ASSERT_GT(b.size(), 6u + 4 * 16);
    EXPECT_EQ(Le16(b, 0), 0u);
    EXPECT_EQ(Le16(b, 2), 1u);
    ASSERT_EQ(Le16(b, 4), 4u);
    static const int kSizes[4] = {16, 32, 48, 256};
    for (int e = 0; e < 4; ++e) {
        const size_t dir = 6 + 16 * e;
        const int size = kSizes[e];
        EXPECT_EQ(b[dir], size & 0xFF);
        EXPECT_EQ(b[dir + 1], size & 0xFF);
        EXPECT_EQ(Le16(b, dir + 6), 32u);
        const uint32_t length = Le32(b, dir + 8);
        const uint32_t at = Le32(b, dir + 12);
        ASSERT_LE(at + length, b.size());
        if (size == 256) {
            static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
            EXPECT_TRUE(std::equal(kSignature, kSignature + 8, b.begin() + at));
            EXPECT_EQ(at + length, b.size());
            continue;
        }
        ASSERT_EQ(Le32(b, at), 40u);
        EXPECT_EQ(Le32(b, at + 4), static_cast<uint32_t>(size));
        EXPECT_EQ(Le32(b, at + 8), static_cast<uint32_t>(2 * size));
        EXPECT_EQ(Le16(b, at + 14), 32u);
        const size_t maskStride = ((size + 31) / 32) * 4;
        ASSERT_EQ(length, 40 + size * size * 4 + maskStride * size);
        int transparent = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const size_t row = size - 1 - y;
                const uint8_t alpha = b[at + 40 + (row * size + x) * 4 + 3];
                const uint8_t maskByte = b[at + 40 + size * size * 4 + row * maskStride + x / 8];
                EXPECT_EQ((maskByte >> (7 - x % 8)) & 1, alpha == 0)
                    << size << " " << x << "," << y;
                transparent += alpha == 0;
            }
        }
        EXPECT_GT(transparent, 0) << size;
        EXPECT_GT(size * size - transparent, size * size / 3) << size;
    }
}

TEST(Icon, PngChunksAreValidAndThePixelsComeBackWhole) {
    RgbaImage image = MakeRgbaImage(300, 300);
    for (size_t i = 0; i < image.rgba.size(); ++i) {
        image.rgba[i] = static_cast<uint8_t>(i * 7);
    }
    const Bytes png = EncodePng(image);
    size_t at = 8;
    Bytes idat;
    std::vector<std::string> types;
    while (at + 12 <= png.size()) {
        const uint32_t length = Be32(png, at);
        types.emplace_back(png.begin() + at + 4, png.begin() + at + 8);
        EXPECT_EQ(Crc32(png.data() + at + 4, length + 4), Be32(png, at + 8 + length))
            << types.back();
        if (types.back() == "IDAT") {
            idat.assign(png.begin() + at + 8, png.begin() + at + 8 + length);
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_GE(idat.size(), 6u);
    EXPECT_EQ((idat[0] * 256 + idat[1]) % 31, 0);  // a valid zlib header
    // The stream inflates to the filtered rows exactly, its Adler-32 checked by zlib on the way.
    Bytes raw(300u * (1 + 300 * 4) + 1);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(raw.data(), &rawSize, idat.data(), static_cast<uLong>(idat.size())), Z_OK);
    ASSERT_EQ(rawSize, 300u * (1 + 300 * 4));
    EXPECT_EQ(raw[1 + 300 * 4], 0);  // filter byte of the second row
    EXPECT_EQ(raw[1 + 300 * 4 + 1], image.rgba[300 * 4]);
    EXPECT_EQ(raw[rawSize - 1], image.rgba.back());
}

TEST(Icon, ProgramIconIsCompressedAndTheSameEveryRun) {
    const Bytes& icon = FileBytes("nocturo.ico");
    EXPECT_LT(icon.size(), 40u * 1024);
    const RgbaImage large = MakeRgbaImage(256, 256);
    EXPECT_EQ(EncodePng(large), EncodePng(large));
}

// ---- Determinism and files --------------------------------------------------------------------

TEST(Generator, SameBytesEveryRunWritesEveryFileAndFailsOnAMissingFolder) {
    const std::vector<ArtworkFile> again = GenerateArtwork();
    ASSERT_EQ(again.size(), Artwork().size());
    char pattern[] = "/tmp/artgen-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    ASSERT_TRUE(WriteArtwork(dir));
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].name, Artwork()[i].name);
        EXPECT_TRUE(again[i].bytes == Artwork()[i].bytes) << again[i].name;
        const std::string path = std::string(dir) + "/" + again[i].name;
        Bytes written;
        if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
            for (int c; (c = std::fgetc(f)) != EOF;) {
                written.push_back(static_cast<uint8_t>(c));
            }
            std::fclose(f);
        }
        EXPECT_TRUE(written == again[i].bytes) << again[i].name;
        std::remove(path.c_str());
    }
    rmdir(dir);
    EXPECT_FALSE(WriteArtwork(std::string(dir) + "/missing"));
}

}  // namespace
