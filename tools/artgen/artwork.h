// The program's artwork: every bitmap and the icon of the resource script, drawn from code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "presentation/picture_sizes.h"

// Indices of the standard 16-colour palette of the tray pictures.
enum StandardColour : uint8_t {
    kBlack = 0,
    kDarkRed,
    kDarkGreen,
    kDarkYellow,
    kDarkBlue,
    kDarkMagenta,
    kDarkCyan,
    kLightGrey,
    kGrey,
    kRed,
    kGreen,
    kYellow,
    kBlue,
    kMagenta,
    kCyan,
    kWhite,
};

// The standard 16-colour palette, in index order.
extern const Rgb kStandardPalette[16];

// Indices of the calendar Moon strip's colour table (entries 8..15 unused, black).
enum StripColour : uint8_t {
    kStripBlack = 0,
    kStripLightGrey,
    kStripGrey,
    kStripYellow,
    kStripWhite,
    kStripEdge,
    kStripPaleYellow,
    kStripPaleEdge,
};

// The eight used colours of the calendar Moon strip, in index order.
extern const Rgb kStripPalette[8];

// Resource 143: the 28 tray Moons, 421 x 16, picture k at x = 15k shows phase k * 360 / 28.
IndexedImage MakeTrayMoons();

// Resource 130: the tide characters 大 中 小 長 若, 80 x 16, character k at x = 16k.
IndexedImage MakeTideCharacters();

// Resource 144: the blank calendar page, 16 x 16, white writing area of 12 x 10 at (1, 4).
IndexedImage MakeCalendarPage();

// Resource 146: the numbers 1 to 31, 372 x 10, number k + 1 at x = 12k, magenta on white.
IndexedImage MakeDayNumbers();

// Resource 147: the weekday characters 日 月 火 水 木 金 土, 84 x 10, weekday w at x = 12w.
IndexedImage MakeWeekdayCharacters();

// Resource 141: the calendar Moon strip, 1892 x 64: mask, ring and 60 + 60 phase frames.
IndexedImage MakeMoonStrip();

// The tray pictures of a larger set (20, 24 or 32 pixels), drawn for that size in the layouts of
// the 16-pixel ones: Moons size - 1 pixels apart, tide characters `size` apart, the page with its
// writing area where the set says, numbers and weekdays in cells of the writing area's size. The
// 16-pixel set gives the resources above unchanged.
IndexedImage MakeTrayMoons(const TrayPictureSet& set);
IndexedImage MakeTideCharacters(const TrayPictureSet& set);
IndexedImage MakeCalendarPage(const TrayPictureSet& set);
IndexedImage MakeDayNumbers(const TrayPictureSet& set);
IndexedImage MakeWeekdayCharacters(const TrayPictureSet& set);

// The Moon strip of `strip` (resource 141, 241, 341 or 441): pictures of strip.size pixels in the
// layout of MoonStripSet.
IndexedImage MakeMoonStrip(const MoonStripSet& strip);

// Resource 153: the splash picture, 258 x 90, with a palette of its own.
IndexedImage MakeSplash();

// The program icon's picture at `size` pixels (16, 32, 48 or 256).
RgbaImage MakeIconImage(int size);

// One generated file: its name and its bytes.
struct ArtworkFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Every file of the artwork, in a fixed order, encoded: 130.bmp, 141.bmp, 143.bmp, 144.bmp,
// 146.bmp, 147.bmp, 153.bmp, nocturo.ico, then the larger sets by size, each as the tide, strip,
// Moon, page, number and weekday files named by resource id (230.bmp, 241.bmp ... 447.bmp).
std::vector<ArtworkFile> GenerateArtwork();

// Writes GenerateArtwork() into the existing folder `outDir`. Returns false when a file cannot be
// written completely.
bool WriteArtwork(const std::string& outDir);
