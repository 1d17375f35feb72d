#include "ui/moon_info_dialog.h"

#include "astro/moon_distance.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "presentation/calendar_layout.h"
#include "presentation/moon_events.h"
#include "presentation/moon_info.h"
#include "presentation/picture_sizes.h"
#include "presentation/pictures.h"
#include "presentation/rise_set_text.h"
#include "presentation/settings_values.h"
#include "presentation/shift_jis.h"
#include "resources/resource.h"
#include "ui/dialogs.h"
#include "ui/moon_strip.h"
#include "ui/ui_clock.h"
#include "ui/ui_place.h"
#include "ui/win32_text.h"

namespace {

constexpr size_t kLineSize = 64;

MoonInfoDialogState dialog = {
    false,
    nullptr,
    {                                 },
    {
      {0, IDC_PICTURENOW, nullptr, 0, 0},{0, IDC_PICTURENEW, nullptr, 0, 0},
      {180, IDC_PICTUREFULL, nullptr, 0, 0},
      },
    96,
    32,
};

char filesPlace[kFilePathSize] = "";
// The strip of the window's dpi, kept while the window is open.
MoonStripSurface strip = {};

bool PlatformLongDate(const SYSTEMTIME& local, char* dest, size_t size) {
    const std::string text = JapaneseLongDate(local);
    dest[0] = '\0';
    return !text.empty() && AppendShiftJisText(dest, size, text.c_str());
}

bool PlatformTimeWithoutSeconds(const SYSTEMTIME& local, char* dest, size_t size) {
    const std::string text = JapaneseShortTime(local);
    dest[0] = '\0';
    return !text.empty() && AppendShiftJisText(dest, size, text.c_str());
}

// Places of the pictures from the hidden frames, and their bitmaps of the window's dpi filled with
// the button face that shows in the corners around each disc.
void SetUpPictures(HWND window) {
    dialog.dpi = WindowDpi(window);
    dialog.size = ChooseMoonStrip(dialog.dpi).pictureSize;
    const int size = dialog.size;
    HDC screen = GetDC(nullptr);
    HDC memory = screen != nullptr ? CreateCompatibleDC(screen) : nullptr;
    if (memory != nullptr) {
        POINT clientOrigin = {0, 0};
        ClientToScreen(window, &clientOrigin);
        HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
        const RECT whole = {0, 0, size, size};
        for (MoonPictureSlot& slot : dialog.slots) {
            RECT frame;
            HWND placeholder = GetDlgItem(window, slot.placeholder);
            if (placeholder == nullptr || !GetWindowRect(placeholder, &frame)) {
                continue;
            }
            slot.x = frame.left - clientOrigin.x;
            slot.y = frame.top - clientOrigin.y;
            slot.bitmap = CreateCompatibleBitmap(screen, size, size);
            if (slot.bitmap != nullptr) {
                HGDIOBJ replaced = SelectObject(memory, slot.bitmap);
                FillRect(memory, &whole, face);
                SelectObject(memory, replaced);
            }
        }
        DeleteDC(memory);
    }
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
}

void DrawPictures(HWND window, double angleNow) {
    HDC slotDc = CreateCompatibleDC(nullptr);
    if (slotDc == nullptr) {
        return;
    }
    dialog.slots[0].angle = angleNow;
    if (PrepareMoonStrip(GetWindowServices().module, slotDc, dialog.dpi, strip)) {
        for (MoonPictureSlot& slot : dialog.slots) {
            if (slot.bitmap == nullptr) {
                continue;
            }
            HGDIOBJ replaced = SelectObject(slotDc, slot.bitmap);
            DrawMoonPicture(slotDc, 0, 0, strip, MoonStripPictureIndex(slot.angle), false);
            SelectObject(slotDc, replaced);
            const RECT area = {slot.x, slot.y, slot.x + dialog.size, slot.y + dialog.size};
            InvalidateRect(window, &area, FALSE);
        }
    }
    DeleteDC(slotDc);
}

void SetInstantLine(HWND window, int control, JulianCenturies instant, int32_t bias) {
    SYSTEMTIME local;
    LocalTimeOfInstant(instant, bias, &local);
    char line[kLineSize];
    FormatMoonInstantLine(line, sizeof line, local, PlatformLongDate, PlatformTimeWithoutSeconds);
    SetWindowShiftJisText(GetDlgItem(window, control), line);
}

// Today's risings, transit and settings at the chosen place, to the minute.
void SetRiseSetLines(HWND window, int32_t bias) {
    SYSTEMTIME local;
    ReadUiLocalClock(&local);
    const PlaceSetting& place = GetUiPlace();
    const DayEvents events =
        ComputeDayEvents(place.place, local.wYear, local.wMonth, local.wDay, bias);
    char heading[kPlaceNameSize + 32];
    ComposeRisePlaceLine(heading, sizeof heading, place.name);
    char moon[64];
    char sun[64];
    ComposeRiseSetLines(events, moon, sun, sizeof moon);
    SetWindowShiftJisText(GetDlgItem(window, IDC_RISEPLACE), heading);
    SetWindowShiftJisText(GetDlgItem(window, IDC_MOONTIMES), moon);
    SetWindowShiftJisText(GetDlgItem(window, IDC_SUNTIMES), sun);
}

// The Moon's distance now, the next eclipse seen at the chosen place and this year's nearest full
// Moon; the next eclipse is kept until it ends and the full Moons per year, so a refresh a minute
// costs little.
void SetMoonEventLines(HWND window, double jd, int32_t bias) {
    const GeoPlace& place = GetUiPlace().place;
    char line[kLineSize];
    SetWindowShiftJisText(GetDlgItem(window, IDC_MOONDISTANCE),
                          ComposeMoonDistanceLine(line, sizeof line, MoonDistanceAt(jd)));
    EclipseAtPlace eclipse = {};
    const bool found = FindNextSeenEclipse(jd, bias, place, &eclipse);
    char maximum[kLineSize];
    ComposeNextEclipseLines(line, maximum, sizeof line, found, eclipse, bias);
    SetWindowShiftJisText(GetDlgItem(window, IDC_NEXTECLIPSE), line);
    SetWindowShiftJisText(GetDlgItem(window, IDC_ECLIPSEMAXIMUM), maximum);
    SYSTEMTIME local;
    ReadUiLocalClock(&local);
    const YearFullMoons moons = FullMoonsOfYear(local.wYear, bias);
    SetWindowShiftJisText(GetDlgItem(window, IDC_NEARESTFULL),
                          ComposeNearestFullMoonLine(line, sizeof line, moons, bias));
}

void OpenDialog(HWND window) {
    char place[kFilePathSize + 16] = "";
    if (filesPlace[0] != '\0') {
        ComposeFilesPlaceText(place, sizeof place, filesPlace);
    }
    SetWindowShiftJisText(GetDlgItem(window, IDC_FILESPLACE), place);
    CreateDialogPalette(window, dialog.palette);
    SetUpPictures(window);
    RefreshMoonInfoDialog();
}

void PaintDialog(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPalettePaint(window, paint, dialog.palette);
    HDC memory = dc != nullptr ? CreateCompatibleDC(dc) : nullptr;
    if (memory != nullptr) {
        for (const MoonPictureSlot& slot : dialog.slots) {
            if (slot.bitmap != nullptr) {
                HGDIOBJ replaced = SelectObject(memory, slot.bitmap);
                BitBlt(dc, slot.x, slot.y, dialog.size, dialog.size, memory, 0, 0, SRCCOPY);
                SelectObject(memory, replaced);
            }
        }
        DeleteDC(memory);
    }
    EndPalettePaint(window, paint, dialog.palette);
}

void ReleasePictures() {
    for (MoonPictureSlot& slot : dialog.slots) {
        if (slot.bitmap != nullptr) {
            DeleteObject(slot.bitmap);
            slot.bitmap = nullptr;
        }
    }
}

void CloseDialog() {
    DeletePalette(dialog.palette);
    ReleasePictures();
    ReleaseMoonStrip(strip);
}

// Moved to a monitor of another scale: the suggested rectangle (the system scales the dialog's
// controls and font itself), then the pictures made again at the new size where the frames are.
void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    const RECT* r = reinterpret_cast<const RECT*>(lParam);
    if (DpiOfDpiChanged(static_cast<uint32_t>(wParam), dialog.dpi) == dialog.dpi || r == nullptr) {
        return;
    }
    SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ReleasePictures();
    SetUpPictures(window);
    RefreshMoonInfoDialog();
    InvalidateRect(window, nullptr, TRUE);
}

INT_PTR OnCommand(HWND window, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(window, 1);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void SetFilesPlace(const char* folder) {
    filesPlace[0] = '\0';
    if (folder != nullptr) {
        AppendShiftJisText(filesPlace, sizeof filesPlace, folder);
    }
}

const MoonInfoDialogState& GetMoonInfoDialogState() {
    return dialog;
}

void OpenMoonInfoDialog(HWND owner) {
    if (dialog.open) {
        SetForegroundWindow(dialog.window);
        return;
    }
    dialog.open = true;
    DialogBoxParamW(GetWindowServices().module, MAKEINTRESOURCEW(IDD_MOONINFO), owner,
                    MoonInfoDialogProc, 0);
    dialog.open = false;
    dialog.window = nullptr;
}

void RefreshMoonInfoDialog() {
    if (!dialog.open || dialog.window == nullptr) {
        return;
    }
    HWND window = dialog.window;
    SYSTEMTIME utc;
    ReadUiUtcClock(&utc);
    const int32_t bias = TimeZoneBias();
    MoonInfoFigures figures;
    ComputeMoonInfoFigures(CenturiesFromSystemTime(utc), &figures);

    char text[32];
    SetWindowShiftJisText(GetDlgItem(window, IDC_AGE),
                          FormatMoonAgeText(text, sizeof text, figures.age));
    SetWindowShiftJisText(GetDlgItem(window, IDC_FRACTION),
                          FormatIlluminatedText(text, sizeof text, figures.illuminated));
    DrawPictures(window, figures.phaseAngle);
    SetInstantLine(window, IDC_PREVIOUSNEW, figures.newMoon, bias);
    SetInstantLine(window, IDC_NEXTFULL, figures.fullMoon, bias);
    SetRiseSetLines(window, bias);
    SetMoonEventLines(window, JulianDateFromSystemTime(utc), bias);
}

INT_PTR CALLBACK MoonInfoDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    dialog.window = window;
    switch (message) {
        case WM_INITDIALOG:
            OpenDialog(window);
            return 1;
        case WM_PAINT:
            PaintDialog(window);
            return 1;
        case WM_DPICHANGED:
            OnDpiChanged(window, wParam, lParam);
            return 1;
        case WM_COMMAND:
            return OnCommand(window, wParam);
        case WM_CLOSE:
            EndDialog(window, 1);
            return 1;
        case WM_QUERYNEWPALETTE:
            // A dialog procedure's own return value only says "handled" for this message.
            SetWindowLongPtrW(window, DWLP_MSGRESULT, OnQueryNewPalette(window, dialog.palette));
            return 1;
        case WM_PALETTECHANGED:
            OnPaletteChanged(window, reinterpret_cast<HWND>(wParam), dialog.palette);
            return 1;
        case WM_DESTROY:
            CloseDialog();
            return 0;
        default:
            return 0;
    }
}
