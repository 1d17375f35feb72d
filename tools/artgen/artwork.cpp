#include "artwork.h"

#include <cstdio>

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
