// Reads back, through the wide API, every text the windows show at a fixed moment (15 March 2023,
// 12:00 in Japan): the Moon information window, the calendar's buttons, the custom holiday list
// and the editor on a sample entry. The entries are saved to and read back from nocturo.dat beside
// this program, so a folder named in Japanese is part of the check. The texts go to OUT.txt in
// UTF-8, the calendar's picture to OUT.bmp. tools/codepage-check.sh runs it under code pages 932
// and 1252 and compares: a program that reads its Shift_JIS texts in the system's code page shows
// "?" and boxes under 1252.
// Usage: nocturo_text_dump OUT.txt OUT.bmp   (exit code 0 when every window was read)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/month_model.h"
#include "presentation/calendar_layout.h"
#include "resources/resource.h"
#include "ui/calendar_drawing.h"
#include "ui/calendar_window.h"
#include "ui/dialogs.h"
#include "ui/holiday_dialogs.h"
#include "ui/moon_info_dialog.h"
#include "ui/ui_clock.h"
#include "ui/win32_text.h"

namespace {

const SYSTEMTIME kLocal = {2023, 3, 3, 15, 12, 0, 0, 0};
const SYSTEMTIME kUtc = {2023, 3, 3, 15, 3, 0, 0, 0};

void FixedLocal(SYSTEMTIME* local) {
    *local = kLocal;
}

void FixedUtc(SYSTEMTIME* utc) {
    *utc = kUtc;
}

FILE* gOut = nullptr;
int gWindowsRead = 0;

void WriteUtf8(const std::wstring& text) {
    if (text.empty()) {
        return;
    }
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, &utf8[0], bytes, nullptr, nullptr);
    std::fputs(utf8.c_str(), gOut);
}

void WriteLine(const char* label, int id, const std::wstring& text) {
    std::fprintf(gOut, "%s %d: ", label, id);
    WriteUtf8(text);
    std::fputc('\n', gOut);
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

// Every line of a list box or a drop-down list.
void WriteItems(HWND control, int id, bool comboBox) {
    const LRESULT count = SendMessageW(control, comboBox ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[512] = L"";
        SendMessageW(control, comboBox ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(item));
        WriteLine(comboBox ? "  item" : "  line", id, item);
    }
}

BOOL CALLBACK WriteControl(HWND control, LPARAM) {
    wchar_t kind[64] = L"";
    GetClassNameW(control, kind, 64);
    const int id = GetDlgCtrlID(control);
    WriteLine("control", id, TextOf(control));
    if (lstrcmpiW(kind, L"ListBox") == 0) {
        WriteItems(control, id, false);
    } else if (lstrcmpiW(kind, L"ComboBox") == 0) {
        WriteItems(control, id, true);
    }
    return TRUE;
}

void WriteWindow(const char* name, HWND window) {
    std::fprintf(gOut, "[%s]\n", name);
    WriteLine("caption", 0, TextOf(window));
    EnumChildWindows(window, WriteControl, 0);
    ++gWindowsRead;
}

void Close(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// Each window is read a tick after it was opened, once it has been shown and filled.
int gStep = 0;
void CALLBACK NextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    switch (gStep++) {
        case 1:
            WriteWindow("moon", GetMoonInfoDialogState().window);
            Close(GetMoonInfoDialogState().window, IDOK);
            KillTimer(nullptr, timer);
            break;
        case 3:
            WriteWindow("calendar", GetMoonCalendarDialogState().window);
            Close(GetMoonCalendarDialogState().window, IDOK);
            KillTimer(nullptr, timer);
            break;
        case 5:
            SendDlgItemMessageW(GetCustomHolidayListDialog().window, IDC_HOLIDAYLIST, LB_SETCURSEL,
                                0, 0);
            WriteWindow("holidays", GetCustomHolidayListDialog().window);
            Close(GetCustomHolidayListDialog().window, IDC_EDIT);
            break;
        case 7:
            WriteWindow("editor", GetCustomHolidayEditDialog().window);
            Close(GetCustomHolidayEditDialog().window, IDCANCEL);
            break;
        case 8:
            Close(GetCustomHolidayListDialog().window, IDCANCEL);
            KillTimer(nullptr, timer);
            break;
        default:
            break;
    }
}

// Writes the top-down 32-bit pixels of the calendar's picture at 96 dpi as a raw BMP.
bool WriteCalendarPicture(const char* path) {
    const CalendarGeometry g = ComputeCalendarGeometry(96);
    const CalendarPoint extent = CalendarPictureExtent(g);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = extent.x;
    info.bmiHeader.biHeight = -extent.y;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool written = false;
    if (dc != nullptr && bitmap != nullptr) {
        HGDIOBJ replaced = SelectObject(dc, bitmap);
        const RECT all = {0, 0, extent.x, extent.y};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ComputeMonthModel(kLocal.wYear, kLocal.wMonth);
        CalendarDrawingResources resources = {};
        CalendarPaintMarks marks = {};
        DrawMonthCalendar(dc, CurrentMonthModel(), true, 96, resources, marks);
        GdiFlush();
        ReleaseCalendarDrawing(resources);
        SelectObject(dc, replaced);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        const DWORD size = static_cast<DWORD>(extent.x * extent.y * 4);
        file.bfSize = file.bfOffBits + size;
        FILE* out = std::fopen(path, "wb");
        if (out != nullptr) {
            written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                      std::fwrite(bits, size, 1, out) == 1;
            written = std::fclose(out) == 0 && written;
        }
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    return written;
}

// Two sample entries, saved to nocturo.dat beside this program and read back from there.
bool SaveAndReloadSamples() {
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    std::string path = ShiftJisFromWide(module);
    path = path.substr(0, path.rfind('\\') + 1) + "nocturo.dat";
    SetCustomHolidayPath(path.c_str());
    CustomHolidays().loaded = true;
    CustomHoliday company = {};
    company.kind = DayOff;
    company.rule = ByWeekday;
    company.week = 2;
    company.weekday = 6;
    company.firstYear = 2020;
    company.lastYear = 2100;
    std::strcpy(company.name, "会社休業日");
    CustomHoliday birthday = {};
    birthday.kind = Anniversary;
    birthday.rule = ByDate;
    birthday.month = 5;
    birthday.day = 17;
    birthday.firstYear = 1990;
    birthday.lastYear = 2100;
    std::strcpy(birthday.name, "花子の誕生日");
    InsertCustomHoliday(company);
    InsertCustomHoliday(birthday);
    if (!SaveCustomHolidays()) {
        return false;
    }
    CustomHolidays().count = 0;  // what follows comes from the file alone
    LoadCustomHolidays();
    return CustomHolidayCount() == 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nocturo_text_dump OUT.txt OUT.bmp\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SetTimeZoneBiasOverride(-540);
    SetUiClock(UiClock{FixedUtc, FixedLocal});
    WindowServices services = {};
    services.module = GetModuleHandleW(nullptr);
    SetWindowServices(services);
    gOut = std::fopen(argv[1], "wb");
    if (gOut == nullptr) {
        return 1;
    }
    const bool samples = SaveAndReloadSamples();
    std::fprintf(gOut, "data file beside the program: %s\n", samples ? "saved and read" : "FAILED");

    SetTimer(nullptr, 0, 300, NextStep);
    OpenMoonInfoDialog(nullptr);
    gStep = 2;
    SetTimer(nullptr, 0, 300, NextStep);
    OpenMoonCalendarDialog(nullptr);
    gStep = 4;
    SetTimer(nullptr, 0, 300, NextStep);
    OpenCustomHolidayListDialog(nullptr);
    std::fclose(gOut);
    const bool picture = WriteCalendarPicture(argv[2]);
    return samples && picture && gWindowsRead == 4 ? 0 : 1;
}
