// Which drawn size of the program's pictures serves a given icon size or dpi: the tray pictures
// come in sets for the small-icon sizes of 96, 120, 144 and 192 dpi, the windows' Moon strip in
// one strip for each of those dpis. Shared by the artwork generator, which draws the sets, and the
// Win32 side, which picks one; no windows.h.
#pragma once

#include <cstdint>

// One set of tray pictures, drawn for icons of `size` pixels. The set's bitmaps are the 16-pixel
// resources' ids plus `resourceOffset` (130 tide characters, 143 Moons, 144 page, 146 numbers,
// 147 weekdays). The calendar page's white writing area of cellWidth x cellHeight lies at
// (pageLeft, pageTop); the number and weekday strips have cells of that size.
struct TrayPictureSet {
    int32_t size;
    int32_t resourceOffset;
    int32_t pageLeft;
    int32_t pageTop;
    int32_t cellWidth;
    int32_t cellHeight;
};

// The sets, smallest first: 16 (the original pictures), 20, 24 and 32 pixels.
extern const TrayPictureSet kTrayPictureSets[];
extern const int32_t kTrayPictureSetCount;

// The set for an icon of `iconSize` pixels (the system's small-icon size) and the size its
// pictures are finally drawn at. A size with a set of its own uses it unscaled; another size takes
// the nearest larger set scaled down to it; a size above the largest set takes the largest
// unscaled (the shell fits it), and a size below 1 the 16-pixel set.
struct TrayPictureChoice {
    const TrayPictureSet* set;
    int32_t drawSize;
    bool scaled;  // drawSize differs from set->size
};
TrayPictureChoice ChooseTrayPictureSet(int32_t iconSize);

// Left edge of tray Moon picture `cell` (0..27) in a set's Moon strip: neighbours share a column.
int32_t TrayMoonCellX(const TrayPictureSet& set, int32_t cell);

// One Moon strip of the windows: drawn for `dpi`, pictures of `size` pixels, bitmap `resource`.
// Layout: the disc mask at x = 0 and the ring of adjacent months' days below it, then picture k
// (0..59) at x = size + (size - 1) * k, the adjacent months' row `size` pixels lower.
struct MoonStripSet {
    int32_t dpi;
    int32_t size;
    int32_t resource;
};

// The strips, smallest first: 96 (32 pixels), 120 (40), 144 (48) and 192 dpi (64).
extern const MoonStripSet kMoonStripSets[];
extern const int32_t kMoonStripSetCount;

// The strip for a window at `dpi` and the picture size there, the calendar's 32 pixels scaled
// like its layout (dpi * 32 / 96, truncated; at least 1). The smallest strip whose pictures are
// at least that large; above the largest, the largest. `scaled` when the pictures must be
// resized from the strip's.
struct MoonStripChoice {
    const MoonStripSet* strip;
    int32_t pictureSize;
    bool scaled;
};
MoonStripChoice ChooseMoonStrip(int32_t dpi);

// Left edge of strip picture `frame` (0..59) of a strip with pictures of `size` pixels.
int32_t MoonStripFrameX(int32_t size, int32_t frame);
