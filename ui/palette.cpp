#include "ui/palette.h"

#include "resources/resource.h"

namespace {

struct PaletteColour {
    BYTE red;
    BYTE green;
    BYTE blue;
};

// Colours the calendar and Moon information windows draw with besides the Moon pictures, reserved
// ahead of the strip's colour table so that they stay exact on a 256-colour display.
static const PaletteColour kFixedColours[] = {
    {216, 255, 255},
    {255, 255, 255},
    {  0,   0, 128},
    {192,  64,  64},
    { 80,  80, 192},
    { 64,  64,  64},
    {255, 255, 255},
    {  0,   0,   0},
    {128, 128, 128},
    {  0,  96,   0},
    {128, 192, 128},
    {255,   0,   0},
    {255, 128, 128},
    {  0,   0, 255},
    {128, 128, 255},
    {  0,   0,   0},
    {128, 128, 128},
};
static_assert(sizeof kFixedColours / sizeof kFixedColours[0] == kFixedPaletteEntries,
              "the dialog palette starts with 17 fixed colours");

constexpr int kMaxTableEntries = 256;

// A LOGPALETTE with room for the fixed colours and a full 8-bit colour table.
struct PaletteBlock {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[kFixedPaletteEntries + kMaxTableEntries];
};

PaletteDisplayMode displayMode = PaletteDisplayMode::Device;

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// Number of colour-table entries of a DIB section, 0 for deeper or device-dependent bitmaps. A
// declared count above what the depth can index is not believed.
UINT ColourTableSize(HBITMAP bitmap) {
    DIBSECTION section;
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof section, &section) != sizeof section) {
        return 0;
    }
    const UINT bits = section.dsBmih.biBitCount;
    if (bits == 0 || bits > 8) {
        return 0;
    }
    const UINT full = 1u << bits;
    const UINT used = section.dsBmih.biClrUsed;
    return (used == 0 || used > full) ? full : used;
}

bool CreateResourcePalette(HWND window, PaletteContext& context, int bitmapId,
                           bool withFixedColours) {
    DeletePalette(context);
    context.previousPalette = nullptr;
    context.paintDc = nullptr;
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return false;
    }
    if (IsPaletteDisplay(dc)) {
        HBITMAP bitmap =
            static_cast<HBITMAP>(LoadImageW(InstanceOf(window), MAKEINTRESOURCEW(bitmapId),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        context.palette = BuildPaletteFromBitmap(dc, bitmap, withFixedColours);
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }
    ReleaseDC(window, dc);
    return context.palette != nullptr;
}

}  // namespace

void SetPaletteDisplayMode(PaletteDisplayMode mode) {
    displayMode = mode;
}

bool IsPaletteDisplay(HDC dc) {
    switch (displayMode) {
        case PaletteDisplayMode::Palette:
            return true;
        case PaletteDisplayMode::TrueColour:
            return false;
        case PaletteDisplayMode::Device:
            break;
    }
    return dc != nullptr && (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
}

HPALETTE BuildPaletteFromBitmap(HDC windowDc, HBITMAP bitmap, bool withFixedColours) {
    PaletteBlock block = {};
    block.palVersion = 0x300;
    if (withFixedColours) {
        for (const PaletteColour& colour : kFixedColours) {
            PALETTEENTRY& entry = block.palPalEntry[block.palNumEntries++];
            entry.peRed = colour.red;
            entry.peGreen = colour.green;
            entry.peBlue = colour.blue;
            entry.peFlags = 0;
        }
    }
    const UINT tableSize = ColourTableSize(bitmap);
    if (tableSize > 0) {
        HDC memoryDc = CreateCompatibleDC(windowDc);
        if (memoryDc != nullptr) {
            HGDIOBJ replaced = SelectObject(memoryDc, bitmap);
            RGBQUAD table[kMaxTableEntries];
            const UINT read = GetDIBColorTable(memoryDc, 0, tableSize, table);
            for (UINT i = 0; i < read; ++i) {
                // Colour tables are stored blue-green-red.
                PALETTEENTRY& entry = block.palPalEntry[block.palNumEntries++];
                entry.peRed = table[i].rgbRed;
                entry.peGreen = table[i].rgbGreen;
                entry.peBlue = table[i].rgbBlue;
                entry.peFlags = 0;
            }
            SelectObject(memoryDc, replaced);
            DeleteDC(memoryDc);
        }
    }
    if (block.palNumEntries == 0) {
        return nullptr;
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&block));
}

bool CreateBitmapPalette(HWND window, PaletteContext& context) {
    return CreateResourcePalette(window, context, IDB_SPLASH, false);
}

bool CreateDialogPalette(HWND window, PaletteContext& context) {
    return CreateResourcePalette(window, context, IDB_MOONSTRIP, true);
}

void DeletePalette(PaletteContext& context) {
    if (context.palette != nullptr) {
        DeleteObject(context.palette);
        context.palette = nullptr;
    }
}

LRESULT OnQueryNewPalette(HWND window, PaletteContext& context) {
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return 1;
    }
    if (IsPaletteDisplay(dc)) {
        if (context.palette == nullptr) {
            CreateDialogPalette(window, context);
        }
        if (context.palette != nullptr) {
            HPALETTE replaced = SelectPalette(dc, context.palette, FALSE);
            const UINT changed = RealizePalette(dc);
            if (changed != 0 && changed != GDI_ERROR) {
                InvalidateRect(window, nullptr, TRUE);
                UpdateWindow(window);
            }
            SelectPalette(dc, replaced, TRUE);
        }
    }
    ReleaseDC(window, dc);
    return 1;
}

void OnPaletteChanged(HWND window, HWND changedBy, PaletteContext& context) {
    // Realising our own palette is what changed it; answering would loop.
    if (changedBy == window) {
        return;
    }
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return;
    }
    if (IsPaletteDisplay(dc)) {
        if (context.palette == nullptr) {
            CreateDialogPalette(window, context);
        }
        if (context.palette != nullptr) {
            HPALETTE replaced = SelectPalette(dc, context.palette, TRUE);
            const UINT changed = RealizePalette(dc);
            if (changed != 0 && changed != GDI_ERROR) {
                UpdateColors(dc);
            }
            SelectPalette(dc, replaced, TRUE);
        }
    }
    ReleaseDC(window, dc);
}

HDC BeginPalettePaint(HWND window, PAINTSTRUCT& paint, PaletteContext& context) {
    HDC dc = BeginPaint(window, &paint);
    context.paintDc = dc;
    context.previousPalette = nullptr;
    if (dc != nullptr && context.palette != nullptr) {
        context.previousPalette = SelectPalette(dc, context.palette, FALSE);
        RealizePalette(dc);
    }
    return dc;
}

void EndPalettePaint(HWND window, PAINTSTRUCT& paint, PaletteContext& context) {
    if (context.previousPalette != nullptr) {
        SelectPalette(context.paintDc, context.previousPalette, TRUE);
        context.previousPalette = nullptr;
    }
    EndPaint(window, &paint);
    context.paintDc = nullptr;
}
