// Pixel canvases of the artwork generator: palette-indexed pictures for the 16-colour bitmaps and
// true-colour pictures with alpha for the program icon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

// A 16-colour picture, one palette index (0..15) per pixel, rows top-down.
struct IndexedImage {
    int width;
    int height;
    Rgb palette[16];
    std::vector<uint8_t> pixels;
};

// A true-colour picture, 4 bytes per pixel in the order red, green, blue, alpha, rows top-down.
struct RgbaImage {
    int width;
    int height;
    std::vector<uint8_t> rgba;
};

// A width x height picture filled with palette index `fill`; palette entries 0..count-1 are taken
// from `palette`, the rest are black.
IndexedImage MakeIndexedImage(int width, int height, const Rgb* palette, int count, uint8_t fill);

// Palette index at (x, y); 0 when outside the picture.
uint8_t GetPixel(const IndexedImage& image, int x, int y);

// Sets (x, y) to `index`; points outside the picture are ignored.
void SetPixel(IndexedImage& image, int x, int y, uint8_t index);

// Fills the rectangle of w x h at (x, y), clipped to the picture.
void FillRect(IndexedImage& image, int x, int y, int w, int h, uint8_t index);

// A width x height picture, fully transparent.
RgbaImage MakeRgbaImage(int width, int height);
