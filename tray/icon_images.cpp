#include "tray/icon_images.h"

#include "resources/resource.h"
#include "presentation/pictures.h"
#include "tray/tray_icons.h"

namespace {

constexpr int kIconSize = 16;
constexpr int kPageX = 1;  // writing area of the calendar page
constexpr int kPageY = 4;
constexpr int kCellWidth = 12;
constexpr int kCellHeight = 10;

HBITMAP CreateMask() {
    return CreateBitmap(kIconSize, kIconSize, 1, 1, nullptr);
}

// Makes the icon from the finished colour bitmap and its mask and gives it to the slot, which
// then owns icon and mask. The colour bitmap is released in every case (the icon has its own copy);
// the mask is released when no icon came of it.
void StoreInSlot(int index, HBITMAP color, HBITMAP mask, bool drawn) {
    HICON icon = nullptr;
    if (drawn) {
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
    bool made = false;
    HDC colorDc = CreateCompatibleDC(nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    if (colorDc && maskDc) {
        HGDIOBJ oldColor = SelectObject(colorDc, color);
        HGDIOBJ oldMask = SelectObject(maskDc, mask);
        if (oldColor && oldMask) {
            // Colour to monochrome: pixels equal to the source's background colour become 1.
            SetBkColor(colorDc, kKeyColor);
            made = BitBlt(maskDc, 0, 0, kIconSize, kIconSize, colorDc, 0, 0, SRCCOPY) != 0;
            // Monochrome to colour: 0 takes the text colour (white, keeps the pixel under AND),
            // 1 the background colour (black, clears it). Without this the key colour would be
            // XOR-ed onto the taskbar.
            SetTextColor(colorDc, RGB(255, 255, 255));
            SetBkColor(colorDc, RGB(0, 0, 0));
            made = made && BitBlt(colorDc, 0, 0, kIconSize, kIconSize, maskDc, 0, 0, SRCAND) != 0;
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

void BuildPhaseIcon(HINSTANCE module, PhaseIconKind kind, int32_t cell) {
    const int resource = kind == MoonPicture ? IDB_TRAYMOONS : IDB_TIDES;
    const int pitch = kind == MoonPicture ? 15 : 16;
    const int slot = kind == MoonPicture ? MoonIconSlot : TideIconSlot;

    HDC screen = GetDC(nullptr);
    if (!screen) {
        return;
    }
    HBITMAP color = CreateCompatibleBitmap(screen, kIconSize, kIconSize);
    ReleaseDC(nullptr, screen);
    HBITMAP mask = CreateMask();
    bool drawn = color && mask &&
                 CopyBitmapArea(module, color, 0, 0, kIconSize, kIconSize, resource, cell * pitch,
                                nullptr) &&
                 MakeMask(color, mask);
    StoreInSlot(slot, color, mask, drawn);
}

void BuildCalendarIcons(HINSTANCE module, const SYSTEMTIME& date, int32_t dayKind) {
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
        HBITMAP page = static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(IDB_PAGE), IMAGE_BITMAP, 0, 0, 0));
        HBITMAP mask = CreateMask();
        bool drawn = page && mask &&
                     CopyBitmapArea(module, page, kPageX, kPageY, kCellWidth, kCellHeight,
                                    p.resource, p.cell * kCellWidth, &mapping) &&
                     MakeMask(page, mask);
        StoreInSlot(p.slot, page, mask, drawn);
    }
}
