#include "tray/icon_images.h"

#include <vector>

#include "resources/resource.h"
#include "presentation/picture_sizes.h"
#include "presentation/pictures.h"
#include "tray/tray_icons.h"

namespace {

// The size of the pictures built last; 0 before the first.
int builtIconSize = 0;
int iconSizeOverride = 0;

HBITMAP CreateMask(int size) {
    return CreateBitmap(size, size, 1, 1, nullptr);
}

int BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    return GetObjectW(bitmap, sizeof info, &info) == sizeof info ? info.bmWidth : 0;
}

// Replaces the finished colour bitmap and mask of a set's size by copies of `size` pixels: the
// colour smoothed by halftoning, the mask keeping every pixel that any opaque pixel reaches. The
// old bitmaps are released; false (and both null) when a copy could not be made.
bool ScaleIcon(HBITMAP* color, HBITMAP* mask, int from, int size) {
    HDC screen = GetDC(nullptr);
    HBITMAP scaledColor = screen ? CreateCompatibleBitmap(screen, size, size) : nullptr;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    HBITMAP scaledMask = CreateMask(size);
    HDC sourceDc = CreateCompatibleDC(nullptr);
    HDC targetDc = CreateCompatibleDC(nullptr);
    bool scaled = false;
    if (scaledColor && scaledMask && sourceDc && targetDc) {
        HGDIOBJ oldSource = SelectObject(sourceDc, *color);
        HGDIOBJ oldTarget = SelectObject(targetDc, scaledColor);
        SetStretchBltMode(targetDc, HALFTONE);
        SetBrushOrgEx(targetDc, 0, 0, nullptr);
        scaled = StretchBlt(targetDc, 0, 0, size, size, sourceDc, 0, 0, from, from, SRCCOPY) != 0;
        SelectObject(sourceDc, *mask);
        SelectObject(targetDc, scaledMask);
        // Black (0) is opaque in the mask: keeping black wherever rows or columns merge keeps the
        // picture's edge pixels visible.
        SetStretchBltMode(targetDc, BLACKONWHITE);
        scaled = scaled &&
                 StretchBlt(targetDc, 0, 0, size, size, sourceDc, 0, 0, from, from, SRCCOPY) != 0;
        SelectObject(sourceDc, oldSource);
        SelectObject(targetDc, oldTarget);
    }
    if (targetDc) {
        DeleteDC(targetDc);
    }
    if (sourceDc) {
        DeleteDC(sourceDc);
    }
    DeleteObject(*color);
    DeleteObject(*mask);
    if (!scaled) {
        if (scaledColor) {
            DeleteObject(scaledColor);
        }
        if (scaledMask) {
            DeleteObject(scaledMask);
        }
        scaledColor = nullptr;
        scaledMask = nullptr;
    }
    *color = scaledColor;
    *mask = scaledMask;
    return scaled;
}

// Scales a finished picture of the set's size when the choice asks for another size.
bool FitToChoice(const TrayPictureChoice& choice, HBITMAP* color, HBITMAP* mask) {
    return !choice.scaled || ScaleIcon(color, mask, choice.set->size, choice.drawSize);
}

// A 32-bit copy of the finished colour bitmap whose alpha channel says what the mask says:
// transparent where the mask is set, opaque elsewhere. A shell that draws icons by their alpha
// then never depends on how the mask's rows reach it (Wine's tray loses the last rows of masks
// whose width is not a multiple of 16, as at 20 and 24 pixels). Null when the copy fails.
HBITMAP WithAlpha(HBITMAP color, HBITMAP mask) {
    const int size = BitmapSize(mask);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP alpha = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const size_t count = static_cast<size_t>(size) * size;
    std::vector<uint32_t> maskRows(count);
    bool made = alpha && dc && GetDIBits(dc, color, 0, size, bits, &info, DIB_RGB_COLORS) == size &&
                GetDIBits(dc, mask, 0, size, maskRows.data(), &info, DIB_RGB_COLORS) == size;
    if (made) {
        uint32_t* pixels = static_cast<uint32_t*>(bits);
        for (size_t i = 0; i < count; ++i) {
            const bool transparent = (maskRows[i] & 0x00FFFFFF) != 0;
            pixels[i] = transparent ? 0 : (pixels[i] & 0x00FFFFFF) | 0xFF000000;
        }
    }
    if (dc) {
        DeleteDC(dc);
    }
    if (!made && alpha) {
        DeleteObject(alpha);
        alpha = nullptr;
    }
    return alpha;
}

// Makes the icon from the finished colour bitmap and its mask and gives it to the slot, which
// then owns icon and mask. The colour bitmap is released in every case (the icon has its own copy);
// the mask is released when no icon came of it.
void StoreInSlot(int index, HBITMAP color, HBITMAP mask, bool drawn) {
    HICON icon = nullptr;
    if (drawn) {
        HBITMAP alpha = WithAlpha(color, mask);
        if (alpha) {
            DeleteObject(color);
            color = alpha;
        }
        ICONINFO info = {};
        info.fIcon = TRUE;
        info.hbmMask = mask;
        info.hbmColor = color;
        icon = CreateIconIndirect(&info);
    }
    TrayIconSlot& slot = TraySlots()[index];
    if (icon) {
        if (slot.notify.hIcon) {
            DestroyIcon(slot.notify.hIcon);
        }
        if (slot.maskBitmap) {
            DeleteObject(slot.maskBitmap);
        }
        slot.notify.hIcon = icon;
        slot.maskBitmap = mask;
    } else if (mask) {
        DeleteObject(mask);
    }
    if (color) {
        DeleteObject(color);
    }
    // The handle is gone now; a stale copy in the slot could name a later object.
    slot.colorBitmap = nullptr;
}

}  // namespace

bool CopyBitmapArea(HINSTANCE module, HBITMAP target, int x, int y, int width, int height,
                    int resource, int sourceX, const COLORMAP* mapping) {
    HBITMAP source;
    if (mapping) {
        source = CreateMappedBitmap(module, resource, 0, const_cast<COLORMAP*>(mapping), 1);
    } else {
        source = static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, 0));
    }
    if (!source) {
        return false;
    }
    bool copied = false;
    HDC sourceDc = CreateCompatibleDC(nullptr);
    HDC targetDc = CreateCompatibleDC(nullptr);
    if (sourceDc && targetDc) {
        HGDIOBJ oldSource = SelectObject(sourceDc, source);
        HGDIOBJ oldTarget = SelectObject(targetDc, target);
        if (oldSource && oldTarget) {
            copied = BitBlt(targetDc, x, y, width, height, sourceDc, sourceX, 0, SRCCOPY) != 0;
        }
        if (oldSource) {
            SelectObject(sourceDc, oldSource);
        }
        if (oldTarget) {
            SelectObject(targetDc, oldTarget);
        }
    }
    if (targetDc) {
        DeleteDC(targetDc);
    }
    if (sourceDc) {
        DeleteDC(sourceDc);
    }
    DeleteObject(source);
    return copied;
}

bool MakeMask(HBITMAP color, HBITMAP mask) {
    const int size = BitmapSize(mask);
    bool made = false;
    HDC colorDc = CreateCompatibleDC(nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    if (colorDc && maskDc) {
        HGDIOBJ oldColor = SelectObject(colorDc, color);
        HGDIOBJ oldMask = SelectObject(maskDc, mask);
        if (oldColor && oldMask) {
            // Colour to monochrome: pixels equal to the source's background colour become 1.
            SetBkColor(colorDc, kKeyColor);
            made = BitBlt(maskDc, 0, 0, size, size, colorDc, 0, 0, SRCCOPY) != 0;
            // Monochrome to colour: 0 takes the text colour (white, keeps the pixel under AND),
            // 1 the background colour (black, clears it). Without this the key colour would be
            // XOR-ed onto the taskbar.
            SetTextColor(colorDc, RGB(255, 255, 255));
            SetBkColor(colorDc, RGB(0, 0, 0));
            made = made && BitBlt(colorDc, 0, 0, size, size, maskDc, 0, 0, SRCAND) != 0;
        }
        if (oldColor) {
            SelectObject(colorDc, oldColor);
        }
        if (oldMask) {
            SelectObject(maskDc, oldMask);
        }
    }
    if (maskDc) {
        DeleteDC(maskDc);
    }
    if (colorDc) {
        DeleteDC(colorDc);
    }
    return made;
}

void SetTrayIconSizeOverride(int size) {
    iconSizeOverride = size;
}

int TrayIconSize() {
    const int size = iconSizeOverride > 0 ? iconSizeOverride : GetSystemMetrics(SM_CXSMICON);
    return size > 0 ? size : 16;
}

bool TrayIconSizeChanged() {
    return builtIconSize != TrayIconSize();
}

void BuildPhaseIcon(HINSTANCE module, PhaseIconKind kind, int32_t cell) {
    const TrayPictureChoice choice = ChooseTrayPictureSet(TrayIconSize());
    const TrayPictureSet& set = *choice.set;
    const int size = set.size;
    const int resource = (kind == MoonPicture ? IDB_TRAYMOONS : IDB_TIDES) + set.resourceOffset;
    const int sourceX = kind == MoonPicture ? TrayMoonCellX(set, cell) : cell * size;
    const int slot = kind == MoonPicture ? MoonIconSlot : TideIconSlot;
    builtIconSize = choice.drawSize;

    HDC screen = GetDC(nullptr);
    if (!screen) {
        return;
    }
    HBITMAP color = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HBITMAP mask = CreateMask(size);
    bool drawn = color && mask &&
                 CopyBitmapArea(module, color, 0, 0, size, size, resource, sourceX, nullptr) &&
                 MakeMask(color, mask) && FitToChoice(choice, &color, &mask);
    StoreInSlot(slot, color, mask, drawn);
}

void BuildCalendarIcons(HINSTANCE module, const SYSTEMTIME& date, int32_t dayKind) {
    const TrayPictureChoice choice = ChooseTrayPictureSet(TrayIconSize());
    const TrayPictureSet& set = *choice.set;
    builtIconSize = choice.drawSize;
    COLORMAP mapping;
    mapping.from = kKeyColor;
    mapping.to = static_cast<COLORREF>(DayStrokeColor(dayKind, date.wDayOfWeek));

    struct CalendarPicture {
        int slot;
        int resource;
        int32_t cell;
    };
    const CalendarPicture pictures[] = {
        {  MonthIconSlot,  IDB_NUMBERS,       MonthPictureCell(date.wMonth)},
        {    DayIconSlot,  IDB_NUMBERS,           DayPictureCell(date.wDay)},
        {WeekdayIconSlot, IDB_WEEKDAYS, WeekdayPictureCell(date.wDayOfWeek)},
    };
    for (const CalendarPicture& p : pictures) {
        HBITMAP page = static_cast<HBITMAP>(LoadImageW(
            module, MAKEINTRESOURCEW(IDB_PAGE + set.resourceOffset), IMAGE_BITMAP, 0, 0, 0));
        HBITMAP mask = CreateMask(set.size);
        bool drawn =
            page && mask &&
            CopyBitmapArea(module, page, set.pageLeft, set.pageTop, set.cellWidth, set.cellHeight,
                           p.resource + set.resourceOffset, p.cell * set.cellWidth, &mapping) &&
            MakeMask(page, mask) && FitToChoice(choice, &page, &mask);
        StoreInSlot(p.slot, page, mask, drawn);
    }
}
