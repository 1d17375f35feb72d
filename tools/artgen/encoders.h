// File encoders of the artwork generator: Windows bitmaps, PNG and icon files, written byte by
// byte so that the same picture always gives the same file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "canvas.h"

// A Windows device-independent bitmap file of `image`: BITMAPFILEHEADER, BITMAPINFOHEADER, the
// 16-entry colour table, then the uncompressed 4-bit rows bottom-up, each padded to 4 bytes.
std::vector<uint8_t> EncodeBmp4(const IndexedImage& image);

// CRC-32 (the polynomial of PNG and zip, reflected 0xEDB88320) of `size` bytes.
uint32_t Crc32(const uint8_t* data, size_t size);

// A PNG file of `image` (8-bit RGBA, no interlace), its pixels compressed by zlib at level 9.
// Empty when zlib fails.
std::vector<uint8_t> EncodePng(const RgbaImage& image);

// An icon file holding `count` square pictures, smallest first as given. Pictures up to 255 pixels
// become 32-bit BGRA DIB entries with an AND mask (set where alpha is 0); 256-pixel pictures are
// stored as PNG, which Windows Vista and later read.
std::vector<uint8_t> EncodeIco(const RgbaImage* images, int count);
