#include "encoders.h"

#include <zlib.h>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void Put32Be(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageSize) {
    const uint32_t pixelsPerMetre = 3780;  // 96 dots per inch
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, pixelsPerMetre);
    Put32(out, pixelsPerMetre);
    Put32(out, 0);  // every entry of the table counts
    Put32(out, 0);
}

void AppendChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    Put32Be(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    Put32Be(png, Crc32(png.data() + start, png.size() - start));
}

// Icon image data of a DIB entry: header with doubled height (colour rows and mask rows), BGRA
// rows bottom-up, then the 1-bit AND mask rows bottom-up, each padded to 4 bytes.
std::vector<uint8_t> IconDib(const RgbaImage& image) {
    const int w = image.width;
    const int h = image.height;
    const int maskStride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> out;
    PutInfoHeader(out, w, 2 * h, 32, static_cast<uint32_t>(w * h * 4 + maskStride * h));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * w + x) * 4];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            out.push_back(p[3]);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x) {
            if (image.rgba[(static_cast<size_t>(y) * w + x) * 4 + 3] == 0) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeBmp4(const IndexedImage& image) {
    const int stride = ((image.width * 4 + 31) / 32) * 4;
    const uint32_t imageSize = static_cast<uint32_t>(stride * image.height);
    const uint32_t offset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    PutInfoHeader(out, image.width, image.height, 4, imageSize);
    for (const Rgb& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(stride), 0);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t index = GetPixel(image, x, y) & 0x0F;
            row[static_cast<size_t>(x / 2)] |= (x % 2 == 0) ? index << 4 : index;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    return static_cast<uint32_t>(crc32(0L, data, static_cast<uInt>(size)));
}

std::vector<uint8_t> EncodePng(const RgbaImage& image) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> png(signature, signature + 8);

    std::vector<uint8_t> header;
    Put32Be(header, static_cast<uint32_t>(image.width));
    Put32Be(header, static_cast<uint32_t>(image.height));
    header.push_back(8);  // bits per channel
    header.push_back(6);  // colour type RGBA
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering, every row with filter 0
    header.push_back(0);  // no interlace
    AppendChunk(png, "IHDR", header);

    std::vector<uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        const uint8_t* row = &image.rgba[y * rowBytes];
        raw.insert(raw.end(), row, row + rowBytes);
    }
    // One zlib stream at the best compression: the same bytes for the same pixels on every run,
    // since zlib's output depends only on its input, level and settings.
    uLongf zSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> z(zSize);
    if (compress2(z.data(), &zSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return {};
    }
    z.resize(zSize);
    AppendChunk(png, "IDAT", z);
    AppendChunk(png, "IEND", {});
    return png;
}

std::vector<uint8_t> EncodeIco(const RgbaImage* images, int count) {
    std::vector<std::vector<uint8_t>> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(images[i].width >= 256 ? EncodePng(images[i]) : IconDib(images[i]));
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon, not cursor
    Put16(out, static_cast<uint32_t>(count));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * count);
    for (int i = 0; i < count; ++i) {
        // A size of 256 is written as 0 in the one-byte fields.
        out.push_back(static_cast<uint8_t>(images[i].width & 0xFF));
        out.push_back(static_cast<uint8_t>(images[i].height & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);   // planes
        Put16(out, 32);  // bits per pixel
        Put32(out, static_cast<uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(entries[i].size());
    }
    for (const std::vector<uint8_t>& e : entries) {
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}
