// Shows the custom holiday list on a few sample records, then the editor on one of them, and copies
// each window from the screen into a 24-bit BMP file.
// Usage: nocturo_holiday_shots LIST.bmp EDITOR.bmp [PLACE.bmp [NOTICE.bmp]]   (exit code 0 when
// all were written); PLACE.bmp is the place dialog, NOTICE.bmp the notice settings dialog on the
// defaults.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "calendar/custom_holidays.h"
#include "resources/resource.h"
#include "ui/dialogs.h"
#include "ui/holiday_dialogs.h"
#include "ui/notice_dialog.h"
#include "ui/place_dialog.h"
#include "ui/ui_place.h"

namespace {

struct SampleHoliday {
    int32_t kind;
    int32_t rule;
    uint16_t month;
    uint16_t day;
    uint16_t week;
    uint16_t weekday;
    uint16_t firstYear;
    uint16_t lastYear;
    const char* name;
};

// A birthday, the company's days off by weekday and by date, and two reminders.
static const SampleHoliday kSamples[] = {
    {     DayOff, ByWeekday, 0,  0, 2, 6, 2020, 2100,    "会社休業日"},
    {     DayOff,    ByDate, 8, 13, 0, 0, 2020, 2100,       "夏季休業"},
    {Anniversary,    ByDate, 5, 17, 0, 0, 1990, 2100, "花子の誕生日"},
    {Anniversary,    ByDate, 0, 25, 0, 0, 2020, 2100,          "給料日"},
    {Anniversary, ByWeekday, 0,  0, 0, 3, 2024, 2100, "ノー残業デー"},
};

const char* gListFile;
const char* gEditorFile;
const char* gPlaceFile;   // null when no picture of the place dialog is asked for
const char* gNoticeFile;  // the same for the notice settings dialog
int gWritten = 0;
int gStep = 0;

bool SaveWindowPicture(HWND window, const char* path) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height);
    unsigned char* pixels = static_cast<unsigned char*>(malloc(size));
    bool ok = pixels != nullptr &&
              GetDIBits(memory, picture, 0, height, pixels, reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS) == height;
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    FILE* file = ok ? fopen(path, "wb") : nullptr;
    if (file != nullptr) {
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4d42;  // "BM"
        header.bfOffBits = sizeof header + sizeof info;
        header.bfSize = header.bfOffBits + size;
        ok = fwrite(&header, sizeof header, 1, file) == 1 &&
             fwrite(&info, sizeof info, 1, file) == 1 && fwrite(pixels, size, 1, file) == 1;
        ok = fclose(file) == 0 && ok;
    } else {
        ok = false;
    }
    free(pixels);
    return ok;
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// One step a tick, so that each window has been shown and painted before it is copied: the list
// with the company's day off selected, then the editor opened on it, then both closed unsaved.
void CALLBACK NextStep(HWND, UINT, UINT_PTR id, DWORD) {
    HWND list = GetCustomHolidayListDialog().window;
    HWND editor = GetCustomHolidayEditDialog().window;
    switch (gStep++) {
        case 0:
            SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_SETCURSEL, 1, 0);
            UpdateWindow(list);
            break;
        case 1:
            gWritten += SaveWindowPicture(list, gListFile);
            Click(list, IDC_EDIT);
            break;
        case 3:
            UpdateWindow(editor);
            gWritten += SaveWindowPicture(editor, gEditorFile);
            Click(editor, IDCANCEL);
            break;
        case 4:
            Click(list, IDCANCEL);
            KillTimer(nullptr, id);
            break;
        default:
            break;
    }
}

// The place dialog, on the office of 大阪府 as the current place: shown and painted, copied,
// closed unsaved.
void CALLBACK NextPlaceStep(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = GetPlaceDialog().window;
    if (dialog == nullptr) {
        return;
    }
    UpdateWindow(dialog);
    gWritten += SaveWindowPicture(dialog, gPlaceFile);
    Click(dialog, IDCANCEL);
    KillTimer(nullptr, id);
}

// The notice settings dialog on the defaults: shown and painted, copied, closed unsaved.
void CALLBACK NextNoticeStep(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = GetNoticeDialog().window;
    if (dialog == nullptr) {
        return;
    }
    UpdateWindow(dialog);
    gWritten += SaveWindowPicture(dialog, gNoticeFile);
    Click(dialog, IDCANCEL);
    KillTimer(nullptr, id);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        fprintf(stderr,
                "usage: nocturo_holiday_shots LIST.bmp EDITOR.bmp [PLACE.bmp [NOTICE.bmp]]\n");
        return 2;
    }
    gListFile = argv[1];
    gEditorFile = argv[2];
    gPlaceFile = argc >= 4 ? argv[3] : nullptr;
    gNoticeFile = argc == 5 ? argv[4] : nullptr;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The samples live in memory only: no data file is read or written.
    SetCustomHolidayPath("");
    CustomHolidayStore& store = CustomHolidays();
    store.loaded = true;
    for (const SampleHoliday& s : kSamples) {
        CustomHoliday r = {};
        r.kind = s.kind;
        r.rule = s.rule;
        r.month = s.month;
        r.day = s.day;
        r.week = s.week;
        r.weekday = s.weekday;
        r.firstYear = s.firstYear;
        r.lastYear = s.lastYear;
        strncpy(r.name, s.name, sizeof r.name - 1);
        InsertCustomHoliday(r);
    }
    SetTimer(nullptr, 0, 700, NextStep);
    OpenCustomHolidayListDialog(nullptr);
    if (gPlaceFile == nullptr) {
        return gWritten == 2 ? 0 : 1;
    }
    SetUiPlace(PrefecturalCapitalPlace(26));
    SetTimer(nullptr, 0, 700, NextPlaceStep);
    OpenPlaceDialog(nullptr);
    if (gNoticeFile == nullptr) {
        return gWritten == 3 ? 0 : 1;
    }
    SetTimer(nullptr, 0, 700, NextNoticeStep);
    OpenNoticeDialog(nullptr);
    return gWritten == 4 ? 0 : 1;
}
