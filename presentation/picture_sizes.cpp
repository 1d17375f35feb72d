#include "presentation/picture_sizes.h"

// The page keeps the 16-pixel design's proportions: an outline of size / 16 pixels, a band of
// about three sixteenths, the writing area down to the outline and shadow at the bottom and a
// column of outline, shadow and margin on the right.
const TrayPictureSet kTrayPictureSets[] = {
    {16,   0, 1, 4, 12, 10},
    {20, 100, 1, 5, 16, 13},
    {24, 200, 1, 6, 20, 16},
    {32, 300, 2, 8, 24, 20},
};
const int32_t kTrayPictureSetCount = sizeof kTrayPictureSets / sizeof kTrayPictureSets[0];

const MoonStripSet kMoonStripSets[] = {
    { 96, 32, 141},
    {120, 40, 241},
    {144, 48, 341},
    {192, 64, 441},
};
const int32_t kMoonStripSetCount = sizeof kMoonStripSets / sizeof kMoonStripSets[0];

TrayPictureChoice ChooseTrayPictureSet(int32_t iconSize) {
    const TrayPictureSet* largest = &kTrayPictureSets[kTrayPictureSetCount - 1];
    if (iconSize < 1) {
        return {&kTrayPictureSets[0], kTrayPictureSets[0].size, false};
    }
    for (int32_t i = 0; i < kTrayPictureSetCount; ++i) {
        const TrayPictureSet& set = kTrayPictureSets[i];
        if (set.size >= iconSize) {
            return {&set, iconSize, set.size != iconSize};
        }
    }
    return {largest, largest->size, false};
}

int32_t TrayMoonCellX(const TrayPictureSet& set, int32_t cell) {
    return (set.size - 1) * cell;
}

MoonStripChoice ChooseMoonStrip(int32_t dpi) {
    // The layout's scale, dpi * 32 / 96 truncated; written out here so that the generator, which
    // shares this file, needs nothing else of the presentation layer.
    int32_t size = dpi * 32 / 96;
    if (size < 1) {
        size = 1;
    }
    for (int32_t i = 0; i < kMoonStripSetCount; ++i) {
        if (kMoonStripSets[i].size >= size) {
            return {&kMoonStripSets[i], size, kMoonStripSets[i].size != size};
        }
    }
    const MoonStripSet* largest = &kMoonStripSets[kMoonStripSetCount - 1];
    return {largest, size, largest->size != size};
}

int32_t MoonStripFrameX(int32_t size, int32_t frame) {
    return size + (size - 1) * frame;
}
