// The generated artwork, read back from the encoded files: sizes, colour tables, cell layouts,
// the key colour, the Moon geometry and the determinism of the generator.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "tools/artgen/artwork.h"
#include "tools/artgen/encoders.h"
#include "tools/artgen/moon.h"

namespace {

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// A 4-bit bitmap file decoded independently of the encoder.
struct DecodedBmp {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    std::vector<uint8_t> pixels;  // top-down

    uint8_t At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * width + x];
    }
};

DecodedBmp DecodeBmp4(const std::vector<uint8_t>& b) {
    DecodedBmp d;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 2) != b.size() ||
        Le32(b, 14) != 40 || Le16(b, 26) != 1 || Le16(b, 28) != 4 || Le32(b, 30) != 0) {
        return d;
    }
    const int32_t height = static_cast<int32_t>(Le32(b, 22));
    if (height <= 0) {  // the resources are bottom-up
        return d;
    }
    d.width = static_cast<int>(Le32(b, 18));
    d.height = height;
    const uint32_t used = Le32(b, 46);
    const uint32_t colours = used == 0 ? 16 : used;
    for (uint32_t i = 0; i < colours; ++i) {
        const size_t at = 54 + 4 * i;
        d.palette.push_back(Rgb{b[at + 2], b[at + 1], b[at]});
    }
    const uint32_t offset = Le32(b, 10);
    const size_t stride = ((d.width * 4 + 31) / 32) * 4;
    if (offset != 54 + 4 * colours || offset + stride * d.height != b.size()) {
        return d;
    }
    d.pixels.resize(static_cast<size_t>(d.width) * d.height);
    for (int y = 0; y < d.height; ++y) {
        const size_t row = offset + stride * (d.height - 1 - y);
        for (int x = 0; x < d.width; ++x) {
            const uint8_t byte = b[row + x / 2];
            d.pixels[static_cast<size_t>(y) * d.width + x] = x % 2 == 0 ? byte >> 4 : byte & 15;
        }
    }
    d.ok = true;
    return d;
}

const std::vector<ArtworkFile>& Artwork() {
    static const std::vector<ArtworkFile> files = GenerateArtwork();
    return files;
}

const std::vector<uint8_t>& FileBytes(const std::string& name) {
    for (const ArtworkFile& f : Artwork()) {
        if (f.name == name) {
            return f.bytes;
        }
    }
    static const std::vector<uint8_t> none;
    return none;
}

DecodedBmp Bitmap(const std::string& name) {
    return DecodeBmp4(FileBytes(name));
}

bool Same(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// ---- Sizes and colour tables ------------------------------------------------------------------

struct BitmapCase {
    const char* name;
    int width;
    int height;
    bool standardPalette;
};

static const BitmapCase kBitmapCases[] = {
    {"130.bmp",   80, 16,  true},
    {"141.bmp", 1892, 64, false},
    {"143.bmp",  421, 16,  true},
    {"144.bmp",   16, 16,  true},
    {"146.bmp",  372, 10,  true},
    {"147.bmp",   84, 10,  true},
    {"153.bmp",  258, 90, false},
};

class BitmapFormatTest : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapFormatTest, IsA4BitBottomUpDibOfItsSize) {
    const BitmapCase& c = GetParam();
    const DecodedBmp d = Bitmap(c.name);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, c.width);
    EXPECT_EQ(d.height, c.height);
    ASSERT_EQ(d.palette.size(), 16u);
    if (c.standardPalette) {
        for (int i = 0; i < 16; ++i) {
            EXPECT_TRUE(Same(d.palette[i], kStandardPalette[i])) << "entry " << i;
        }
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
    const std::vector<uint8_t> b = EncodeBmp4(image);
    ASSERT_EQ(b.size(), 14u + 40 + 64 + 2 * 4);
    // Bottom row first: pixel (2, 1) is the high nibble of its second byte.
    EXPECT_EQ(b[118], 0x00);
    EXPECT_EQ(b[119], 0xF0);
    EXPECT_EQ(b[122], 0x90);
}

// ---- Tray Moons (143) -------------------------------------------------------------------------

DecodedBmp TrayMoonCell(int k) {
    const DecodedBmp strip = Bitmap("143.bmp");
    DecodedBmp cell;
    cell.ok = strip.ok;
    cell.width = 16;
    cell.height = 16;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            cell.pixels.push_back(strip.At(15 * k + x, y));
        }
    }
    return cell;
}

int Count(const DecodedBmp& d, uint8_t index) {
    int n = 0;
    for (uint8_t p : d.pixels) {
        n += p == index ? 1 : 0;
    }
    return n;
}

TEST(TrayMoons, KeyColourSurroundsTheSameDiscInEveryPicture) {
    const DecodedBmp first = TrayMoonCell(0);
    for (int k = 0; k < 28; ++k) {
        const DecodedBmp cell = TrayMoonCell(k);
        for (int i = 0; i < 16 * 16; ++i) {
            EXPECT_EQ(cell.pixels[i] == kMagenta, first.pixels[i] == kMagenta) << k << " " << i;
        }
        // The shared border columns stay transparent.
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(cell.At(0, y), kMagenta);
            EXPECT_EQ(cell.At(15, y), kMagenta);
        }
    }
    EXPECT_EQ(first.At(8, 8), kBlack);
    EXPECT_EQ(first.At(8, 1), kDarkYellow);
    EXPECT_EQ(first.At(1, 1), kMagenta);
}

TEST(TrayMoons, NewFirstQuarterFullLastQuarter) {
    const DecodedBmp newMoon = TrayMoonCell(0);
    const DecodedBmp full = TrayMoonCell(14);
    EXPECT_EQ(Count(newMoon, kYellow), 0);
    EXPECT_EQ(Count(full, kBlack), 0);
    EXPECT_GT(Count(full, kYellow), 100);
    const DecodedBmp first = TrayMoonCell(7);
    const DecodedBmp last = TrayMoonCell(21);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (first.At(x, y) == kYellow || first.At(x, y) == kBlack) {
                EXPECT_EQ(first.At(x, y), x >= 8 ? kYellow : kBlack) << x << "," << y;
                EXPECT_EQ(last.At(x, y), x < 8 ? kYellow : kBlack) << x << "," << y;
            }
        }
    }
}

TEST(TrayMoons, WaxingLitFromTheRightWaningMirrorsIt) {
    for (int k = 1; k < 14; ++k) {
        const DecodedBmp waxing = TrayMoonCell(k);
        const DecodedBmp waning = TrayMoonCell(28 - k);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                EXPECT_EQ(waxing.At(x, y), waning.At(15 - x, y)) << k << " " << x << "," << y;
            }
        }
        // The lit part touches the right rim while the Moon waxes.
        bool rightLimbLit = false;
        for (int y = 0; y < 16; ++y) {
            rightLimbLit = rightLimbLit || waxing.At(13, y) == kYellow;
        }
        EXPECT_TRUE(rightLimbLit) << k;
    }
}

TEST(TrayMoons, EveryPictureDiffersAndLightGrowsToTheFullMoon) {
    std::set<std::vector<uint8_t>> distinct;
    int previous = -1;
    for (int k = 0; k <= 14; ++k) {
        const DecodedBmp cell = TrayMoonCell(k);
        distinct.insert(cell.pixels);
        const int lit = Count(cell, kYellow);
        EXPECT_GT(lit, previous) << k;
        previous = lit;
        if (k > 0 && k < 14) {
            EXPECT_GT(Count(cell, kBlack), 0) << k;
        }
    }
    for (int k = 15; k < 28; ++k) {
        distinct.insert(TrayMoonCell(k).pixels);
    }
    EXPECT_EQ(distinct.size(), 28u);
}

TEST(TrayMoons, TerminatorIsCurved) {
    // A crescent's lit width is greatest at the equator and narrows toward the horns.
    const DecodedBmp crescent = TrayMoonCell(4);
    auto litInRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < 16; ++x) {
            n += crescent.At(x, y) == kYellow ? 1 : 0;
        }
        return n;
    };
    EXPECT_GT(litInRow(8), litInRow(3));
    EXPECT_GT(litInRow(7), litInRow(12));
}

// ---- Tide characters (130) --------------------------------------------------------------------

TEST(TideCharacters, BlueStrokesRimmedInCyanAndWhiteOnMagenta) {
    const DecodedBmp d = Bitmap("130.bmp");
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
                EXPECT_GT(x, 16 * k);
                EXPECT_LT(x, 16 * k + 15);
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

// ---- Calendar page (144) ----------------------------------------------------------------------

TEST(CalendarPage, WritingAreaBandOutlineAndTransparentCorners) {
    const DecodedBmp d = Bitmap("144.bmp");
    ASSERT_TRUE(d.ok);
    for (int y = 4; y < 14; ++y) {
        for (int x = 1; x < 13; ++x) {
            EXPECT_EQ(d.At(x, y), kWhite) << x << "," << y;
        }
    }
    // The writing area is exactly 12 x 10: black all round it.
    for (int y = 4; y < 14; ++y) {
        EXPECT_EQ(d.At(0, y), kBlack);
        EXPECT_EQ(d.At(13, y), kBlack);
    }
    for (int x = 1; x < 13; ++x) {
        EXPECT_EQ(d.At(x, 14), kBlack);
        EXPECT_EQ(d.At(x, 0), kBlack);
        EXPECT_EQ(d.At(x, 1), kDarkGreen);
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

std::vector<uint8_t> Cell(const DecodedBmp& d, int index) {
    std::vector<uint8_t> cell;
    for (int y = 0; y < 10; ++y) {
        for (int x = 12 * index; x < 12 * index + 12; ++x) {
            cell.push_back(d.At(x, y));
        }
    }
    return cell;
}

void ExpectMagentaOnWhiteCells(const DecodedBmp& d, int count) {
    std::set<std::vector<uint8_t>> distinct;
    for (int i = 0; i < count; ++i) {
        const std::vector<uint8_t> cell = Cell(d, i);
        int strokes = 0;
        for (uint8_t p : cell) {
            EXPECT_TRUE(p == kMagenta || p == kWhite) << "cell " << i;
            strokes += p == kMagenta ? 1 : 0;
        }
        EXPECT_GE(strokes, 8) << "cell " << i;
        distinct.insert(cell);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(count));
}

TEST(DayNumbers, ThirtyOneDistinctMagentaOnWhiteCells) {
    const DecodedBmp d = Bitmap("146.bmp");
    ASSERT_TRUE(d.ok);
    ExpectMagentaOnWhiteCells(d, 31);
}

TEST(DayNumbers, TwoDigitsAreSeparatedByAWhiteColumn) {
    const DecodedBmp d = Bitmap("146.bmp");
    for (int n = 10; n <= 31; ++n) {
        const std::vector<uint8_t> cell = Cell(d, n - 1);
        auto columnInk = [&](int x) {
            int ink = 0;
            for (int y = 0; y < 10; ++y) {
                ink += cell[y * 12 + x] == kMagenta ? 1 : 0;
            }
            return ink;
        };
        int firstInk = 12;
        int lastInk = -1;
        for (int x = 0; x < 12; ++x) {
            if (columnInk(x) > 0) {
                firstInk = firstInk < x ? firstInk : x;
                lastInk = x;
            }
        }
        bool gap = false;
        for (int x = firstInk + 1; x < lastInk; ++x) {
            gap = gap || columnInk(x) == 0;
        }
        EXPECT_TRUE(gap) << n;
    }
}

TEST(WeekdayCharacters, SevenDistinctMagentaOnWhiteCells) {
    const DecodedBmp d = Bitmap("147.bmp");
    ASSERT_TRUE(d.ok);
    ExpectMagentaOnWhiteCells(d, 7);
}

// ---- Calendar Moon strip (141) ----------------------------------------------------------------

TEST(MoonStrip, ColourTable) {
    const DecodedBmp d = Bitmap("141.bmp");
    ASSERT_TRUE(d.ok);
    static const Rgb used[8] = {
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
        EXPECT_TRUE(Same(d.palette[i], used[i])) << i;
    }
    for (uint8_t p : d.pixels) {
        ASSERT_LT(p, 8);
    }
}

TEST(MoonStrip, MaskAndRing) {
    const DecodedBmp d = Bitmap("141.bmp");
    EXPECT_EQ(d.At(0, 0), kStripWhite);
    EXPECT_EQ(d.At(31, 31), kStripWhite);
    EXPECT_EQ(d.At(16, 16), kStripBlack);
    EXPECT_EQ(d.At(0, 16), kStripBlack);  // the disc is 32 across
    EXPECT_EQ(d.At(31, 15), kStripBlack);
    EXPECT_EQ(d.At(16, 32), kStripLightGrey);  // top of the ring
    EXPECT_EQ(d.At(16, 48), kStripBlack);
    EXPECT_EQ(d.At(0, 32), kStripBlack);
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i) {
            // Every pixel of a frame's disc lies under the mask's disc and inside the ring.
            if (InStripDisc(i, j, 30)) {
                EXPECT_EQ(d.At(i, j), kStripBlack);
                EXPECT_EQ(d.At(i, 32 + j), kStripBlack);
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

FrameCount CountFrame(const DecodedBmp& d, int f, int top, uint8_t lit, uint8_t edge,
                      uint8_t unlit) {
    FrameCount c;
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i) {
            const int x = 32 + 31 * f + i;
            if (x >= d.width) {
                continue;
            }
            const uint8_t p = d.At(x, top + j);
            if (!InStripDisc(i, j, 30)) {
                EXPECT_EQ(p, kStripBlack) << f << " " << i << "," << j;
                continue;
            }
            ++c.disc;
            c.lit += p == lit ? 1 : 0;
            c.edge += p == edge ? 1 : 0;
            c.unlit += p == unlit ? 1 : 0;
            if (p == lit) {
                (i >= 16 ? c.litRight : c.litLeft) += 1;
            }
        }
    }
    return c;
}

TEST(MoonStrip, NewFullAndQuarterFrames) {
    const DecodedBmp d = Bitmap("141.bmp");
    const FrameCount newMoon = CountFrame(d, 0, 0, kStripYellow, kStripEdge, kStripGrey);
    EXPECT_EQ(newMoon.unlit, newMoon.disc);
    const FrameCount full = CountFrame(d, 30, 0, kStripYellow, kStripEdge, kStripGrey);
    EXPECT_EQ(full.lit, full.disc);
    const FrameCount fullAdjacent =
        CountFrame(d, 30, 32, kStripPaleYellow, kStripPaleEdge, kStripLightGrey);
    EXPECT_EQ(fullAdjacent.lit, fullAdjacent.disc);
    const FrameCount first = CountFrame(d, 15, 0, kStripYellow, kStripEdge, kStripGrey);
    EXPECT_EQ(first.litLeft, 0);
    EXPECT_EQ(first.lit + first.edge + first.unlit, first.disc);
    const FrameCount last = CountFrame(d, 45, 0, kStripYellow, kStripEdge, kStripGrey);
    EXPECT_EQ(last.litRight, 0);
    EXPECT_EQ(last.lit, first.lit);
}

TEST(MoonStrip, LitAreaIsProportionalToTheAngleInBothRows) {
    const DecodedBmp d = Bitmap("141.bmp");
    for (int f = 0; f < 60; ++f) {
        const double expected = (f <= 30 ? f : 60 - f) / 30.0;
        const FrameCount upper = CountFrame(d, f, 0, kStripYellow, kStripEdge, kStripGrey);
        const FrameCount lower =
            CountFrame(d, f, 32, kStripPaleYellow, kStripPaleEdge, kStripLightGrey);
        const double area = (upper.lit + 0.5 * upper.edge) / upper.disc;
        EXPECT_NEAR(area, expected, 0.02) << f;
        EXPECT_EQ(upper.lit, lower.lit) << f;
        EXPECT_EQ(upper.edge, lower.edge) << f;
        EXPECT_EQ(f <= 30 ? upper.litLeft <= upper.litRight : upper.litLeft >= upper.litRight, true)
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
    const DecodedBmp d = Bitmap("153.bmp");
    ASSERT_TRUE(d.ok);
    std::set<uint8_t> used(d.pixels.begin(), d.pixels.end());
    EXPECT_GE(used.size(), 12u);
    // Most of the picture is sky: greens, darker than the lettering.
    int greenish = 0;
    for (uint8_t p : d.pixels) {
        const Rgb& c = d.palette[p];
        greenish += (c.g >= c.r && c.g >= c.b && c.g < 130) ? 1 : 0;
    }
    EXPECT_GT(greenish, 258 * 90 * 6 / 10);
    bool gold = false;
    for (const Rgb& c : d.palette) {
        gold = gold || (c.r > 200 && c.g > 160 && c.b < 100);
    }
    EXPECT_TRUE(gold);
}

// ---- Icon -------------------------------------------------------------------------------------

TEST(Checksums, KnownValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(word.data()), word.size()), 0x11E60398u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(Icon, FourSizesDibsWithMasksAndAPng) {
    const std::vector<uint8_t>& b = FileBytes("nocturo.ico");
    ASSERT_GT(b.size(), 6u + 4 * 16);
    EXPECT_EQ(Le16(b, 0), 0u);
    EXPECT_EQ(Le16(b, 2), 1u);
    ASSERT_EQ(Le16(b, 4), 4u);
    static const int sizes[4] = {16, 32, 48, 256};
    for (int e = 0; e < 4; ++e) {
        const size_t dir = 6 + 16 * e;
        const int size = sizes[e];
        EXPECT_EQ(b[dir], size & 0xFF);
        EXPECT_EQ(b[dir + 1], size & 0xFF);
        EXPECT_EQ(Le16(b, dir + 6), 32u);
        const uint32_t length = Le32(b, dir + 8);
        const uint32_t at = Le32(b, dir + 12);
        ASSERT_LE(at + length, b.size());
        if (size == 256) {
            static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
            EXPECT_TRUE(std::equal(signature, signature + 8, b.begin() + at));
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
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const size_t row = size - 1 - y;
                const uint8_t alpha = b[at + 40 + (row * size + x) * 4 + 3];
                const uint8_t maskByte = b[at + 40 + size * size * 4 + row * maskStride + x / 8];
                const bool maskSet = (maskByte >> (7 - x % 8)) & 1;
                EXPECT_EQ(maskSet, alpha == 0) << size << " " << x << "," << y;
                (alpha == 0 ? transparent : opaque) += 1;
            }
        }
        EXPECT_GT(transparent, 0) << size;
        EXPECT_GT(opaque, size * size / 3) << size;
    }
}

TEST(Icon, PngChunksAndStoredDeflateAreValid) {
    RgbaImage image = MakeRgbaImage(300, 300);  // more than one stored block
    for (size_t i = 0; i < image.rgba.size(); ++i) {
        image.rgba[i] = static_cast<uint8_t>(i * 7);
    }
    const std::vector<uint8_t> png = EncodePng(image);
    size_t at = 8;
    std::vector<uint8_t> idat;
    std::vector<std::string> types;
    while (at + 12 <= png.size()) {
        const uint32_t length = Be32(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        EXPECT_EQ(Crc32(png.data() + at + 4, length + 4), Be32(png, at + 8 + length)) << type;
        if (type == "IDAT") {
            idat.assign(png.begin() + at + 8, png.begin() + at + 8 + length);
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_GE(idat.size(), 6u);
    EXPECT_EQ((idat[0] * 256 + idat[1]) % 31, 0);
    std::vector<uint8_t> raw;
    size_t p = 2;
    bool last = false;
    while (!last && p + 5 <= idat.size()) {
        last = idat[p] & 1;
        EXPECT_EQ(idat[p] & 6, 0);
        const uint32_t n = Le16(idat, p + 1);
        EXPECT_EQ(Le16(idat, p + 3), (~n) & 0xFFFFu);
        raw.insert(raw.end(), idat.begin() + p + 5, idat.begin() + p + 5 + n);
        p += 5 + n;
    }
    EXPECT_TRUE(last);
    ASSERT_EQ(raw.size(), 300u * (1 + 300 * 4));
    EXPECT_EQ(Be32(idat, p), Adler32(raw.data(), raw.size()));
    EXPECT_EQ(raw[1 + 300 * 4], 0);  // filter byte of the second row
    EXPECT_EQ(raw[1 + 300 * 4 + 1], image.rgba[300 * 4]);
}

// ---- Determinism and files --------------------------------------------------------------------

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return bytes;
    }
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    std::fclose(f);
    return bytes;
}

TEST(Generator, SameBytesEveryRun) {
    const std::vector<ArtworkFile> again = GenerateArtwork();
    ASSERT_EQ(again.size(), Artwork().size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].name, Artwork()[i].name);
        EXPECT_TRUE(again[i].bytes == Artwork()[i].bytes) << again[i].name;
    }
}

TEST(Generator, WritesEveryFileAndFailsOnAMissingFolder) {
    char pattern[] = "/tmp/artgen-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    ASSERT_TRUE(WriteArtwork(dir));
    for (const ArtworkFile& f : Artwork()) {
        const std::string path = std::string(dir) + "/" + f.name;
        EXPECT_TRUE(ReadFile(path) == f.bytes) << f.name;
        std::remove(path.c_str());
    }
    rmdir(dir);
    EXPECT_FALSE(WriteArtwork(std::string(dir) + "/missing"));
}

}  // namespace
