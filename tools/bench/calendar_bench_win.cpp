// What a click on 前月/翌月/前年/翌年 costs the calendar window: the month model of a month not
// computed yet and the paint of the whole picture at 144 dpi into a memory DC, timed with the
// performance counter over 50 months. Prints the median and the worst, the two parts apart, and
// the mean CPU time of the thread (which a busy machine does not inflate).
//
//     tools/wine-run.sh build/windows/tools/bench/nocturo-calendar-bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/month_model.h"
#include "presentation/calendar_layout.h"
#include "ui/calendar_drawing.h"
#include "ui/dialogs.h"

namespace {

constexpr int kDpi = 144;
constexpr int kMonths = 50;

struct Timings {
    std::vector<double> model;
    std::vector<double> paint;
    std::vector<double> total;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("  %-6s median %6.2f ms   worst %6.2f ms\n", what, ms[ms.size() / 2], ms.back());
}

// Months (year, month) in the order a run switches to them.
typedef void (*MonthOrder)(int i, uint16_t* year, uint16_t* month);

// Each month in another year: the year's holidays, terms and seasonal days are computed too.
void NewYearEachTime(int i, uint16_t* year, uint16_t* month) {
    *year = static_cast<uint16_t>(1901 + 4 * i);
    *month = static_cast<uint16_t>(1 + (i * 5) % 12);
}

// 翌月 pressed again and again: the year's lists are computed once a year.
void MonthAfterMonth(int i, uint16_t* year, uint16_t* month) {
    *year = static_cast<uint16_t>(2030 + i / 12);
    *month = static_cast<uint16_t>(1 + i % 12);
}

// CPU time of this thread in milliseconds: what the switch costs without the other processes of
// a busy machine (coarse, so only a whole run's sum is read).
double ThreadCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

void Run(const char* title, MonthOrder order, HDC dc, CalendarDrawingResources& resources) {
    const double cpuStart = ThreadCpuMilliseconds();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    CalendarPaintMarks marks = {};
    Timings t;
    for (int i = 0; i < kMonths; ++i) {
        uint16_t year = 0;
        uint16_t month = 0;
        order(i, &year, &month);
        LARGE_INTEGER start;
        LARGE_INTEGER modelled;
        LARGE_INTEGER painted;
        QueryPerformanceCounter(&start);
        ComputeMonthModel(year, month);
        QueryPerformanceCounter(&modelled);
        DrawMonthCalendar(dc, CurrentMonthModel(), true, kDpi, resources, marks);
        GdiFlush();
        QueryPerformanceCounter(&painted);
        t.model.push_back(Milliseconds(start, modelled, frequency));
        t.paint.push_back(Milliseconds(modelled, painted, frequency));
        t.total.push_back(Milliseconds(start, painted, frequency));
    }
    std::printf("%s (%d months, %d dpi)\n", title, kMonths, kDpi);
    Report("model", t.model);
    Report("paint", t.paint);
    Report("total", t.total);
    std::printf("  CPU    mean   %6.2f ms a month\n",
                (ThreadCpuMilliseconds() - cpuStart) / kMonths);
}

}  // namespace

int main() {
    SetTimeZoneBiasOverride(-540);
    SetCustomHolidayPath("");
    WindowServices services = {};
    services.module = GetModuleHandleA(nullptr);
    SetWindowServices(services);

    const CalendarPoint extent = CalendarPictureExtent(ComputeCalendarGeometry(kDpi));
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
    HGDIOBJ replaced = SelectObject(dc, bitmap);

    // The window's first paint loads the strip; every later month reuses it.
    CalendarDrawingResources resources = {};
    CalendarPaintMarks marks = {};
    ComputeMonthModel(2000, 1);
    DrawMonthCalendar(dc, CurrentMonthModel(), true, kDpi, resources, marks);

    Run("A month in a year not computed yet", NewYearEachTime, dc, resources);
    Run("The next month, again and again", MonthAfterMonth, dc, resources);

    ReleaseCalendarDrawing(resources);
    SelectObject(dc, replaced);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
