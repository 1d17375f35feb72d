// The picture of the month calendar window: title, weekday header and 42 day cells of a
// MonthModel, drawn with GDI at any dpi into any device context (the window's, or a memory one in
// tests, the benchmark and the README pictures). Places, texts and colours come from
// presentation/calendar_layout.h.
#pragma once

#include <windows.h>

#include <cstdint>

#include "calendar/month_model.h"
#include "ui/moon_strip.h"

// The Moon strip kept for a window's life: made at the first cell that needs it, and again when
// the picture is drawn at another dpi.
struct CalendarDrawingResources {
    MoonStripSurface strip;
};

// What the last paint highlighted, for the window's refresh decision.
struct CalendarPaintMarks {
    bool todayShown;     // today's cell was highlighted
    uint16_t markedDay;  // the day it stood on; kept when nothing is highlighted
};

// What the window adds to the plain picture: the era year in the title, and the focus frame of the
// chosen day's cell.
struct CalendarDrawExtras {
    bool showEra;
    int32_t chosenCell;  // 0..41, -1 for none
};
constexpr CalendarDrawExtras kPlainCalendar = {false, -1};

// Draws the whole picture of `model` at `dpi` onto dc, the ages only when showAge, today's cell by
// the windows' local clock (ReadUiLocalClock), the header by the weekdays of the model's first
// row; the strip comes from the module of GetWindowServices(). Leaves dc's font, background mode,
// alignment, colour, pen and origin as it found them.
void DrawMonthCalendar(HDC dc, const MonthModel& model, bool showAge, int dpi,
                       CalendarDrawingResources& resources, CalendarPaintMarks& marks,
                       const CalendarDrawExtras& extras = kPlainCalendar);

// The program's switch of the selected days (暦注を表示), on until set: with it the cells of the
// month carry the marks of 天赦日 and 一粒万倍日 and the day's tooltip names its selected days.
void SetCalendarNotesShown(bool shown);
bool CalendarNotesShown();

// Releases the strip, if any, and clears the record.
void ReleaseCalendarDrawing(CalendarDrawingResources& resources);
