#include "artwork.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "encoders.h"
#include "glyphs.h"
#include "moon.h"

const Rgb kStandardPalette[16] = {
    {  0,   0,   0},
    {128,   0,   0},
    {  0, 128,   0},
    {128, 128,   0},
    {  0,   0, 128},
    {128,   0, 128},
    {  0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255,   0,   0},
    {  0, 255,   0},
    {255, 255,   0},
    {  0,   0, 255},
    {255,   0, 255},
    {  0, 255, 255},
    {255, 255, 255},
};

const Rgb kStripPalette[8] = {
    {  0,   0,   0},
    {192, 192, 192},
    {128, 128, 128},
    {255, 255,   0},
    {255, 255, 255},
    {192, 192,  64},
    {255, 255, 192},
    {224, 224, 192},
};

namespace {

const int kTrayMoonCount = 28;
const int kTrayMoonPitch = 15;
const int kTideCount = 5;
const int kDayCellWidth = 12;
const int kDayCellHeight = 10;
const int kStripFrameCount = 60;
const int kStripFramePitch = 31;

// The calendar page, one character per pixel: K black, G dark green, W white, L light grey,
// '.' magenta (transparent). The page casts a one-pixel shadow down and to the right; its rounded
// corners and the gaps at the ends of the shadow stay transparent.
// clang-format off
const char* const kPageRows[16] = {
    ".KKKKKKKKKKKK...",
    "KGGGGGGGGGGGGK..",
    "KGGLGGGGGGLGGKK.",
    "KGGGGGGGGGGGGKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    "KWWWWWWWWWWWWKK.",
    ".KKKKKKKKKKKKKK.",
    "..KKKKKKKKKKKK..",
};
// clang-format on

void DrawRows(IndexedImage& image, const char* const* rows, int count, int x, int y,
              uint8_t index) {
    for (int j = 0; j < count; ++j) {
        for (int i = 0; rows[j][i] != '\0'; ++i) {
            if (rows[j][i] == '#') {
                SetPixel(image, x + i, y + j, index);
            }
        }
    }
}

bool IsStroke(const IndexedImage& image, int x, int y, int left, int right) {
    return x >= left && x < right && GetPixel(image, x, y) == kBlue;
}

// Rims the blue strokes in the cell [left, right): background pixels touching a stroke become
// white where the stroke lies below or to the right of them (the light comes from the upper left)
// and cyan elsewhere.
void RimStrokes(IndexedImage& image, int left, int right) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = left; x < right; ++x) {
            if (GetPixel(image, x, y) != kMagenta) {
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    touches = touches || IsStroke(image, x + dx, y + dy, left, right);
                }
            }
            if (!touches) {
                continue;
            }
            const bool lit = IsStroke(image, x + 1, y, left, right) ||
                             IsStroke(image, x, y + 1, left, right) ||
                             IsStroke(image, x + 1, y + 1, left, right);
            SetPixel(image, x, y, lit ? kWhite : kCyan);
        }
    }
}

// One stroke's end points in pixels, with the widths across its upright and level parts.
struct StrokePen {
    double left;
    double top;
    double scaleX;  // pixels per grid unit
    double scaleY;
    int upright;  // width of upright strokes, in pixels
    int level;    // width of level strokes
};

// A grid point's pixel position: snapped to whole pixels so that strokes of the same width start
// on the same column or row, then moved to the stroke's centre line.
double PenX(const StrokePen& pen, double gx) {
    return pen.left + std::floor(gx * pen.scaleX + 0.5) + 0.5 * pen.upright;
}
double PenY(const StrokePen& pen, double gy) {
    return pen.top + std::floor(gy * pen.scaleY + 0.5) + 0.5 * pen.level;
}

// Whether the pixel centre (px, py) lies on the segment (x0, y0)-(x1, y1). Upright and level
// segments are exact rectangles of their width, reaching half the other width past their ends so
// that corners close; slanted ones take pixels within half their mean width of the line.
bool OnSegment(double px, double py, double x0, double y0, double x1, double y1,
               const StrokePen& pen) {
    const double hu = 0.5 * pen.upright;
    const double hl = 0.5 * pen.level;
    if (x0 == x1) {
        const double lo = (y0 < y1 ? y0 : y1) - hl;
        const double hi = (y0 < y1 ? y1 : y0) + hl;
        return std::fabs(px - x0) < hu && py > lo && py < hi;
    }
    if (y0 == y1) {
        const double lo = (x0 < x1 ? x0 : x1) - hu;
        const double hi = (x0 < x1 ? x1 : x0) + hu;
        return std::fabs(py - y0) < hl && px > lo && px < hi;
    }
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t = ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy);
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    const double ex = px - (x0 + t * dx);
    const double ey = py - (y0 + t * dy);
    const double reach = 0.25 * (pen.upright + pen.level) + 0.2;
    return ex * ex + ey * ey <= reach * reach;
}

// Draws `glyph` into the box of boxWidth x boxHeight at (left, top).
void DrawStrokeGlyph(IndexedImage& image, const StrokeGlyph& glyph, int left, int top, int boxWidth,
                     int boxHeight, int upright, int level, uint8_t index) {
    const StrokePen pen = {static_cast<double>(left),
                           static_cast<double>(top),
                           static_cast<double>(boxWidth - upright) / glyph.width,
                           static_cast<double>(boxHeight - level) / glyph.height,
                           upright,
                           level};
    for (const char* stroke : glyph.strokes) {
        if (stroke == nullptr) {
            break;
        }
        double points[16][2];
        int count = 0;
        for (const char* at = stroke; *at != '\0' && count < 16;) {
            char* end = nullptr;
            const double gx = std::strtod(at, &end);
            const double gy = std::strtod(end + 1, &end);
            points[count][0] = PenX(pen, gx);
            points[count][1] = PenY(pen, gy);
            ++count;
            at = *end == ' ' ? end + 1 : end;
        }
        for (int k = 0; k + 1 < count; ++k) {
            for (int y = top; y < top + boxHeight; ++y) {
                for (int x = left; x < left + boxWidth; ++x) {
                    if (OnSegment(x + 0.5, y + 0.5, points[k][0], points[k][1], points[k + 1][0],
                                  points[k + 1][1], pen)) {
                        SetPixel(image, x, y, index);
                    }
                }
            }
        }
    }
}

// Stroke widths of a set: upright strokes two pixels wide as in the hand-drawn 16-pixel glyphs,
// three from 32 pixels on; level strokes one narrower.
int UprightWidth(const TrayPictureSet& set) {
    return set.size >= 32 ? 3 : 2;
}
int LevelWidth(const TrayPictureSet& set) {
    return UprightWidth(set) - 1;
}

}  // namespace

IndexedImage MakeTrayMoons() {
    IndexedImage image =
        MakeIndexedImage(kTrayMoonCount * kTrayMoonPitch + 1, 16, kStandardPalette, 16, kMagenta);
    const TrayMoonColours colours = {kMagenta, kBlack, kYellow, kDarkYellow};
    for (int k = 0; k < kTrayMoonCount; ++k) {
        DrawTrayMoon(image, k * kTrayMoonPitch, 0, k * 360.0 / kTrayMoonCount, colours);
    }
    return image;
}

IndexedImage MakeTideCharacters() {
    IndexedImage image = MakeIndexedImage(16 * kTideCount, 16, kStandardPalette, 16, kMagenta);
    for (int k = 0; k < kTideCount; ++k) {
        const TideGlyph& glyph = kTideGlyphs[k];
        const int width = GlyphWidth(glyph.rows);
        const int height = GlyphHeight(glyph.rows, 14);
        DrawRows(image, glyph.rows, height, 16 * k + (16 - width) / 2, (16 - height) / 2, kBlue);
        RimStrokes(image, 16 * k, 16 * (k + 1));
    }
    return image;
}

IndexedImage MakeCalendarPage() {
    IndexedImage image = MakeIndexedImage(16, 16, kStandardPalette, 16, kMagenta);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            uint8_t index = kMagenta;
            switch (kPageRows[y][x]) {
                case 'K':
                    index = kBlack;
                    break;
                case 'G':
                    index = kDarkGreen;
                    break;
                case 'W':
                    index = kWhite;
                    break;
                case 'L':
                    index = kLightGrey;
                    break;
                default:
                    break;
            }
            SetPixel(image, x, y, index);
        }
    }
    return image;
}

IndexedImage MakeDayNumbers() {
    const int count = 31;
    IndexedImage image =
        MakeIndexedImage(kDayCellWidth * count, kDayCellHeight, kStandardPalette, 16, kWhite);
    for (int n = 1; n <= count; ++n) {
        const int left = kDayCellWidth * (n - 1);
        const int top = (kDayCellHeight - 8) / 2;
        if (n < 10) {
            DrawRows(image, kDigitGlyphs[n].rows, 8, left + 4, top, kMagenta);
        } else {
            DrawRows(image, kDigitGlyphs[n / 10].rows, 8, left + 1, top, kMagenta);
            DrawRows(image, kDigitGlyphs[n % 10].rows, 8, left + 7, top, kMagenta);
        }
    }
    return image;
}

IndexedImage MakeWeekdayCharacters() {
    const int count = 7;
    IndexedImage image =
        MakeIndexedImage(kDayCellWidth * count, kDayCellHeight, kStandardPalette, 16, kWhite);
    for (int w = 0; w < count; ++w) {
        const WeekdayGlyph& glyph = kWeekdayGlyphs[w];
        const int width = GlyphWidth(glyph.rows);
        const int height = GlyphHeight(glyph.rows, kDayCellHeight);
        DrawRows(image, glyph.rows, height, kDayCellWidth * w + (kDayCellWidth - width) / 2,
                 (kDayCellHeight - height) / 2, kMagenta);
    }
    return image;
}

IndexedImage MakeMoonStrip() {
    IndexedImage image = MakeIndexedImage(32 + kStripFramePitch * kStripFrameCount, 64,
                                          kStripPalette, 8, kStripBlack);
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i) {
            const bool outer = InStripDisc(i, j, 32);
            SetPixel(image, i, j, outer ? kStripBlack : kStripWhite);
            const bool ring = outer && !InStripDisc(i, j, 30);
            SetPixel(image, i, 32 + j, ring ? kStripLightGrey : kStripBlack);
        }
    }
    const StripColours current = {kStripBlack, kStripGrey, kStripYellow, kStripEdge};
    const StripColours adjacent = {kStripBlack, kStripLightGrey, kStripPaleYellow, kStripPaleEdge};
    for (int f = 0; f < kStripFrameCount; ++f) {
        const int left = 32 + kStripFramePitch * f;
        const double offset = StripFrameOffset(f);
        DrawStripFrame(image, left, 0, f, offset, current);
        DrawStripFrame(image, left, 32, f, offset, adjacent);
    }
    return image;
}

IndexedImage MakeTrayMoons(const TrayPictureSet& set) {
    if (set.size == 16) {
        return MakeTrayMoons();
    }
    IndexedImage image = MakeIndexedImage(TrayMoonCellX(set, kTrayMoonCount) + 1, set.size,
                                          kStandardPalette, 16, kMagenta);
    const TrayMoonColours colours = {kMagenta, kBlack, kYellow, kDarkYellow};
    for (int k = 0; k < kTrayMoonCount; ++k) {
        DrawTrayMoon(image, TrayMoonCellX(set, k), 0, k * 360.0 / kTrayMoonCount, colours,
                     set.size);
    }
    return image;
}

IndexedImage MakeTideCharacters(const TrayPictureSet& set) {
    if (set.size == 16) {
        return MakeTideCharacters();
    }
    const int size = set.size;
    IndexedImage image = MakeIndexedImage(size * kTideCount, size, kStandardPalette, 16, kMagenta);
    for (int k = 0; k < kTideCount; ++k) {
        // A one-pixel border all round leaves room for the rim, as in the 16-pixel pictures.
        DrawStrokeGlyph(image, kTideStrokes[k], size * k + 1, 1, size - 2, size - 2,
                        UprightWidth(set), LevelWidth(set), kBlue);
        RimStrokes(image, size * k, size * (k + 1));
    }
    return image;
}

IndexedImage MakeCalendarPage(const TrayPictureSet& set) {
    if (set.size == 16) {
        return MakeCalendarPage();
    }
    // The outline is as wide as the writing area's left margin; the page casts a shadow of the
    // same width down and to the right.
    const int line = set.pageLeft;
    const int width = set.pageLeft + set.cellWidth + line;
    const int height = set.pageTop + set.cellHeight + line;
    IndexedImage image = MakeIndexedImage(set.size, set.size, kStandardPalette, 16, kMagenta);
    FillRect(image, line, line, width, height, kBlack);
    FillRect(image, 0, 0, width, height, kBlack);
    FillRect(image, line, line, set.cellWidth, set.pageTop - line, kDarkGreen);
    FillRect(image, set.pageLeft, set.pageTop, set.cellWidth, set.cellHeight, kWhite);
    // The binding rings on the band, a quarter of the way in from either side.
    const int ringHeight = (set.pageTop - line) / 3 > 1 ? (set.pageTop - line) / 3 : 1;
    const int ringTop = line + (set.pageTop - line - ringHeight) / 2;
    FillRect(image, set.pageLeft + set.cellWidth / 4, ringTop, line, ringHeight, kLightGrey);
    FillRect(image, set.pageLeft + set.cellWidth - set.cellWidth / 4 - line, ringTop, line,
             ringHeight, kLightGrey);
    // Rounded corners: the page's outer corner pixels and the shadow's ends stay transparent.
    for (int j = 0; j < line; ++j) {
        for (int i = 0; i + j < line; ++i) {
            SetPixel(image, i, j, kMagenta);
            SetPixel(image, width - 1 - i, j, kMagenta);
            SetPixel(image, i, height - 1 - j, kMagenta);
            SetPixel(image, width + line - 1 - i, line + j, kMagenta);
            SetPixel(image, line + i, height + line - 1 - j, kMagenta);
        }
    }
    return image;
}

IndexedImage MakeDayNumbers(const TrayPictureSet& set) {
    if (set.size == 16) {
        return MakeDayNumbers();
    }
    const int count = 31;
    const int w = set.cellWidth;
    const int h = set.cellHeight;
    IndexedImage image = MakeIndexedImage(w * count, h, kStandardPalette, 16, kWhite);
    // Two digits and a one-pixel gap share the cell; a single digit stands in the middle.
    const int digitWidth = (w - 3) / 2;
    const int digitHeight = h - 2;
    const int twoLeft = (w - 2 * digitWidth - 1) / 2;
    for (int n = 1; n <= count; ++n) {
        const int left = w * (n - 1);
        if (n < 10) {
            DrawStrokeGlyph(image, kDigitStrokes[n], left + (w - digitWidth) / 2, 1, digitWidth,
                            digitHeight, UprightWidth(set), LevelWidth(set), kMagenta);
        } else {
            DrawStrokeGlyph(image, kDigitStrokes[n / 10], left + twoLeft, 1, digitWidth,
                            digitHeight, UprightWidth(set), LevelWidth(set), kMagenta);
            DrawStrokeGlyph(image, kDigitStrokes[n % 10], left + twoLeft + digitWidth + 1, 1,
                            digitWidth, digitHeight, UprightWidth(set), LevelWidth(set), kMagenta);
        }
    }
    return image;
}

IndexedImage MakeWeekdayCharacters(const TrayPictureSet& set) {
    if (set.size == 16) {
        return MakeWeekdayCharacters();
    }
    const int count = 7;
    const int w = set.cellWidth;
    const int h = set.cellHeight;
    IndexedImage image = MakeIndexedImage(w * count, h, kStandardPalette, 16, kWhite);
    for (int k = 0; k < count; ++k) {
        DrawStrokeGlyph(image, kWeekdayStrokes[k], w * k + 1, 1, w - 2, h - 2, UprightWidth(set),
                        LevelWidth(set), kMagenta);
    }
    return image;
}

IndexedImage MakeMoonStrip(const MoonStripSet& strip) {
    if (strip.size == 32) {
        return MakeMoonStrip();
    }
    const int p = strip.size;
    IndexedImage image = MakeIndexedImage(MoonStripFrameX(p, kStripFrameCount), 2 * p,
                                          kStripPalette, 8, kStripBlack);
    for (int j = 0; j < p; ++j) {
        for (int i = 0; i < p; ++i) {
            const bool outer = InStripDisc(i, j, p, p);
            SetPixel(image, i, j, outer ? kStripBlack : kStripWhite);
            const bool ring = outer && !InStripDisc(i, j, p - 2, p);
            SetPixel(image, i, p + j, ring ? kStripLightGrey : kStripBlack);
        }
    }
    const StripColours current = {kStripBlack, kStripGrey, kStripYellow, kStripEdge};
    const StripColours adjacent = {kStripBlack, kStripLightGrey, kStripPaleYellow, kStripPaleEdge};
    for (int f = 0; f < kStripFrameCount; ++f) {
        const int left = MoonStripFrameX(p, f);
        const double offset = StripFrameOffset(f);
        DrawStripFrame(image, left, 0, f, offset, current, p);
        DrawStripFrame(image, left, p, f, offset, adjacent, p);
    }
    return image;
}

std::vector<ArtworkFile> GenerateArtwork() {
    std::vector<ArtworkFile> files;
    files.push_back({"130.bmp", EncodeBmp4(MakeTideCharacters())});
    files.push_back({"141.bmp", EncodeBmp4(MakeMoonStrip())});
    files.push_back({"143.bmp", EncodeBmp4(MakeTrayMoons())});
    files.push_back({"144.bmp", EncodeBmp4(MakeCalendarPage())});
    files.push_back({"146.bmp", EncodeBmp4(MakeDayNumbers())});
    files.push_back({"147.bmp", EncodeBmp4(MakeWeekdayCharacters())});
    files.push_back({"153.bmp", EncodeBmp4(MakeSplash())});
    const int sizes[] = {16, 32, 48, 256};
    std::vector<RgbaImage> icons;
    for (int size : sizes) {
        icons.push_back(MakeIconImage(size));
    }
    files.push_back({"nocturo.ico", EncodeIco(icons.data(), static_cast<int>(icons.size()))});
    for (int k = 1; k < kTrayPictureSetCount; ++k) {
        const TrayPictureSet& set = kTrayPictureSets[k];
        const MoonStripSet& strip = kMoonStripSets[k];
        auto name = [](int id) { return std::to_string(id) + ".bmp"; };
        files.push_back({name(130 + set.resourceOffset), EncodeBmp4(MakeTideCharacters(set))});
        files.push_back({name(strip.resource), EncodeBmp4(MakeMoonStrip(strip))});
        files.push_back({name(143 + set.resourceOffset), EncodeBmp4(MakeTrayMoons(set))});
        files.push_back({name(144 + set.resourceOffset), EncodeBmp4(MakeCalendarPage(set))});
        files.push_back({name(146 + set.resourceOffset), EncodeBmp4(MakeDayNumbers(set))});
        files.push_back({name(147 + set.resourceOffset), EncodeBmp4(MakeWeekdayCharacters(set))});
    }
    return files;
}

bool WriteArtwork(const std::string& outDir) {
    for (const ArtworkFile& file : GenerateArtwork()) {
        const std::string path = outDir + "/" + file.name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr) {
            return false;
        }
        const size_t written = std::fwrite(file.bytes.data(), 1, file.bytes.size(), out);
        const bool closed = std::fclose(out) == 0;
        if (written != file.bytes.size() || !closed) {
            return false;
        }
    }
    return true;
}
