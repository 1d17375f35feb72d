#include "canvas.h"

IndexedImage MakeIndexedImage(int width, int height, const Rgb* palette, int count, uint8_t fill) {
    IndexedImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < 16; ++i) {
        image.palette[i] = i < count ? palette[i] : Rgb{0, 0, 0};
    }
    image.pixels.assign(static_cast<size_t>(width) * height, fill);
    return image;
}

uint8_t GetPixel(const IndexedImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return 0;
    }
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}

void SetPixel(IndexedImage& image, int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    image.pixels[static_cast<size_t>(y) * image.width + x] = index;
}

void FillRect(IndexedImage& image, int x, int y, int w, int h, uint8_t index) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            SetPixel(image, i, j, index);
        }
    }
}

RgbaImage MakeRgbaImage(int width, int height) {
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    return image;
}
