// The pictures of the README's windows at a fixed moment, 15 March 2023 at 12:00 in Japan: the
// calendar of that month (a leap lunar month begins on the 22nd, 春分の日 on the 21st) with that
// day as today, and the Moon information window; with "eclipse", 3 March 2026 at 20:30 in Japan,
// in the totality of that evening's lunar eclipse.
//
//   nocturo-window-shots calendar DPI FILE.bmp   draws the calendar's picture at DPI into FILE
//   nocturo-window-shots window moon|calendar|calendar-monday|detail SECONDS [eclipse]
//                                                opens the window, prints its rectangle on the
//                                                screen ("x y width height") once it is shown and
//                                                closes it after SECONDS; calendar-monday is the
//                                                calendar with Monday first, detail the window
//                                                "日の詳細" of 21 March, chosen with the arrows
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/month_model.h"
#include "presentation/calendar_layout.h"
#include "ui/calendar_drawing.h"
#include "ui/calendar_window.h"
#include "ui/dialogs.h"
#include "ui/moon_info_dialog.h"
#include "ui/ui_clock.h"

namespace {

constexpr int32_t kJapanBias = -540;
const SYSTEMTIME kLocal = {2023, 3, 3, 15, 12, 0, 0, 0};
const SYSTEMTIME kUtc = {2023, 3, 3, 15, 3, 0, 0, 0};
const SYSTEMTIME kEclipseLocal = {2026, 3, 2, 3, 20, 30, 0, 0};
const SYSTEMTIME kEclipseUtc = {2026, 3, 2, 3, 11, 30, 0, 0};
const SYSTEMTIME* shownLocal = &kLocal;
const SYSTEMTIME* shownUtc = &kUtc;

void FixedLocal(SYSTEMTIME* local) {
    *local = *shownLocal;
}

void FixedUtc(SYSTEMTIME* utc) {
    *utc = *shownUtc;
}

// Writes the top-down 32-bit pixels as a bottom-up 24-bit BMP file.
bool WriteBmp(const char* path, const uint32_t* pixels, int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::vector<unsigned char> row(static_cast<size_t>(stride), 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[y * width + x];
            row[x * 3 + 0] = static_cast<unsigned char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);
        }
        std::fwrite(row.data(), row.size(), 1, out);
    }
    return std::fclose(out) == 0;
}

// The picture as the window shows it: on the button face, with the window's margin around it.
int DrawCalendar(int dpi, const char* path) {
    const CalendarGeometry g = ComputeCalendarGeometry(dpi);
    const CalendarPoint extent = CalendarPictureExtent(g);
    const int margin = CalendarScale(dpi, 6);
    const int width = extent.x + margin;
    const int height = extent.y + margin;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr) {
        return 1;
    }
    HGDIOBJ replaced = SelectObject(dc, bitmap);
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    ComputeMonthModel(kLocal.wYear, kLocal.wMonth);
    CalendarDrawingResources resources = {};
    CalendarPaintMarks marks = {};
    DrawMonthCalendar(dc, CurrentMonthModel(), true, dpi, resources, marks);
    GdiFlush();
    const bool written = WriteBmp(path, static_cast<const uint32_t*>(bits), width, height);
    ReleaseCalendarDrawing(resources);
    SelectObject(dc, replaced);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return written ? 0 : 1;
}

HWND (*shownWindow)() = nullptr;
UINT closeAfter = 0;

HWND MoonWindow() {
    return GetMoonInfoDialogState().open ? GetMoonInfoDialogState().window : nullptr;
}

HWND CalendarWindow() {
    return GetMoonCalendarDialogState().open ? GetMoonCalendarDialogState().window : nullptr;
}

HWND DetailWindow() {
    return FindWindowW(nullptr, L"日の詳細");
}

int32_t MondayFirst() {
    return 1;
}

void CALLBACK CloseWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (shownWindow() != nullptr) {
        SendMessageA(shownWindow(), WM_COMMAND, IDOK, 0);
    }
}

// Once the window is on the screen: its rectangle, then the closing timer.
void CALLBACK ReportWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = shownWindow();
    if (window == nullptr || !IsWindowVisible(window)) {
        return;
    }
    KillTimer(nullptr, timer);
    UpdateWindow(window);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    SetTimer(nullptr, 0, closeAfter * 1000, CloseWindow);
}

// Once the calendar is on the screen: six days on from the 15th with the arrows, and Enter, which
// runs the detail window until ReportWindow's timers close it; then the calendar closes too.
void CALLBACK OpenDetail(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND calendar = CalendarWindow();
    if (calendar == nullptr || !IsWindowVisible(calendar)) {
        return;
    }
    KillTimer(nullptr, timer);
    for (int i = 0; i < 6; ++i) {
        OnCalendarKey(calendar, VK_RIGHT, false, false);
    }
    SetTimer(nullptr, 0, 100, ReportWindow);
    OnCalendarKey(calendar, VK_RETURN, false, false);
    SendMessageA(calendar, WM_COMMAND, IDOK, 0);
}

int ShowWindowFor(const char* which, int seconds) {
    const bool moon = std::strcmp(which, "moon") == 0;
    const bool detail = std::strcmp(which, "detail") == 0;
    shownWindow = moon ? MoonWindow : detail ? DetailWindow : CalendarWindow;
    closeAfter = static_cast<UINT>(seconds > 0 ? seconds : 1);
    if (std::strcmp(which, "calendar-monday") == 0) {
        WindowServices services = GetWindowServices();
        services.readWeekStart = MondayFirst;
        SetWindowServices(services);
    }
    SetTimer(nullptr, 0, 100, detail ? OpenDetail : ReportWindow);
    if (moon) {
        OpenMoonInfoDialog(nullptr);
    } else {
        OpenMoonCalendarDialog(nullptr);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetTimeZoneBiasOverride(kJapanBias);
    SetCustomHolidayPath("");
    SetUiClock(UiClock{FixedUtc, FixedLocal});
    WindowServices services = {};
    services.module = GetModuleHandleA(nullptr);
    SetWindowServices(services);
    if (argc == 4 && std::strcmp(argv[1], "calendar") == 0) {
        return DrawCalendar(std::atoi(argv[2]), argv[3]);
    }
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "window") == 0) {
        if (argc == 5 && std::strcmp(argv[4], "eclipse") == 0) {
            shownLocal = &kEclipseLocal;
            shownUtc = &kEclipseUtc;
        }
        return ShowWindowFor(argv[2], std::atoi(argv[3]));
    }
    std::fprintf(stderr,
                 "usage: nocturo-window-shots calendar DPI FILE.bmp\n"
                 "       nocturo-window-shots window moon|calendar|calendar-monday|detail "
                 "SECONDS [eclipse]\n");
    return 2;
}
