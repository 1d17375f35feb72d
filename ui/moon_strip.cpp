#include "ui/moon_strip.h"

#include "presentation/picture_sizes.h"

namespace {

constexpr int32_t kFrameCount = 60;

// A 32-bit top-down DIB section of width x height, independent of the reference DC's format (a
// memory DC may hold a monochrome bitmap).
HBITMAP CreatePictureBitmap(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The strip's mask and pictures resized one by one to `size`, side by side without shared
// columns: resizing the strip as a whole would put the pictures between pixels.
HBITMAP ResizeStrip(HDC reference, HBITMAP strip, int32_t from, int32_t size) {
    HBITMAP resized = CreatePictureBitmap(size * (kFrameCount + 1), 2 * size);
    HDC source = CreateCompatibleDC(reference);
    HDC target = CreateCompatibleDC(reference);
    bool done = false;
    if (resized && source && target) {
        HGDIOBJ oldSource = SelectObject(source, strip);
        HGDIOBJ oldTarget = SelectObject(target, resized);
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        done = true;
        for (int32_t k = 0; k <= kFrameCount; ++k) {
            const int sourceX = k == 0 ? 0 : MoonStripFrameX(from, k - 1);
            for (int row = 0; row < 2; ++row) {
                done = done && StretchBlt(target, size * k, size * row, size, size, source, sourceX,
                                          from * row, from, from, SRCCOPY) != 0;
            }
        }
        SelectObject(source, oldSource);
        SelectObject(target, oldTarget);
    }
    if (target) {
        DeleteDC(target);
    }
    if (source) {
        DeleteDC(source);
    }
    if (!done && resized) {
        DeleteObject(resized);
        resized = nullptr;
    }
    return resized;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

}  // namespace

bool PrepareMoonStrip(HINSTANCE module, HDC reference, int32_t dpi, MoonStripSurface& strip) {
    if (strip.dpi == dpi && (strip.failed || strip.surface != nullptr)) {
        return !strip.failed;
    }
    ReleaseMoonStrip(strip);
    strip.dpi = dpi;
    const MoonStripChoice choice = ChooseMoonStrip(dpi);
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(
        module, MAKEINTRESOURCEW(choice.strip->resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (loaded != nullptr && choice.scaled) {
        HBITMAP resized = ResizeStrip(reference, loaded, choice.strip->size, choice.pictureSize);
        DeleteObject(loaded);
        loaded = resized;
        strip.firstX = choice.pictureSize;
        strip.pitch = choice.pictureSize;
    } else {
        strip.firstX = choice.strip->size;
        strip.pitch = choice.strip->size - 1;
    }
    strip.size = choice.pictureSize;
    strip.surface = loaded != nullptr ? CreateCompatibleDC(reference) : nullptr;
    if (strip.surface == nullptr) {
        if (loaded != nullptr) {
            DeleteObject(loaded);
        }
        strip.failed = true;
        return false;
    }
    strip.bitmap = loaded;
    strip.replaced = SelectObject(strip.surface, loaded);
    return true;
}

void DrawMoonPicture(HDC dc, int x, int y, const MoonStripSurface& strip, int32_t frame,
                     bool adjacent) {
    const int size = strip.size;
    const int row = adjacent ? size : 0;
    BitBlt(dc, x, y, size, size, strip.surface, 0, 0, SRCAND);
    if (adjacent) {
        BitBlt(dc, x, y, size, size, strip.surface, 0, size, SRCPAINT);
    }
    BitBlt(dc, x, y, size, size, strip.surface, strip.firstX + strip.pitch * frame, row, SRCPAINT);
}

void ReleaseMoonStrip(MoonStripSurface& strip) {
    if (strip.surface != nullptr) {
        if (strip.replaced != nullptr) {
            SelectObject(strip.surface, strip.replaced);
        }
        DeleteDC(strip.surface);
    }
    if (strip.bitmap != nullptr) {
        DeleteObject(strip.bitmap);
    }
    strip = {};
}

int32_t WindowDpi(HWND window) {
    // Looked up at run time: Windows 7 and 8 have no such function.
    static const GetDpiForWindowFunction getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int32_t>(dpi);
        }
    }
    HDC dc = GetDC(window);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    return dpi > 0 ? dpi : 96;
}
