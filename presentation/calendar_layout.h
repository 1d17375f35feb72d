// The month calendar picture without a window: where each block and text of the grid goes at a
// given dpi, which texts a day cell carries and in which colours. The picture is laid out in
// pixels at 96 dpi and scaled; the Win32 drawing only carries these out with GDI.
#pragma once

#include <cstddef>
#include <cstdint>

#include "calendar/month_model.h"

// A length of the 96-dpi layout at `dpi`: dpi * v / 96 in integers, truncated toward zero.
int32_t CalendarScale(int32_t dpi, int32_t v);

struct CalendarPoint {
    int32_t x;
    int32_t y;
};

// Right and bottom exclusive.
struct CalendarRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Slots of the right-hand text column of a cell, top to bottom.
enum CalendarNoteSlot : int32_t {
    RokuyoSlot = 0,
    DaySignSlot = 1,
    SolarTermSlot = 2,
    SecondSeasonalSlot = 3,
    FirstSeasonalSlot = 4,
    CalendarNoteSlotCount = 5,
};

// Every place and size of the picture at one dpi. Points are relative to the origin of their block
// (the title, a header cell, a day cell); text points give the top of the text and, by its
// alignment, its left edge, centre or right edge.
struct CalendarGeometry {
    int32_t dpi;
    // Font heights in pixels (character cell height).
    int32_t titleFont;       // month number of the title
    int32_t smallTitleFont;  // year, month name, weekday headers
    int32_t dayFont;         // day numbers of the month on display
    int32_t otherDayFont;    // day numbers of the adjacent months
    int32_t noteFont;        // every other text of a cell
    int32_t ageFont;         // Moon age figure, the same at every dpi
    // Title block.
    CalendarPoint titleOrigin;
    CalendarRect titleFill;
    CalendarPoint titleMonthAt;  // centred
    CalendarPoint titleYearAt;   // left-aligned
    CalendarPoint titleNameAt;   // right-aligned
    CalendarPoint titleEraAt;    // left-aligned, in the note font: the era year over the year
    // Header cells (origin per column: HeaderOrigin).
    CalendarRect headerFill;
    CalendarPoint headerTextAt;  // left-aligned
    // Day cells (origin per cell: CellOrigin).
    int32_t cellWidth;          // s(89): the column pitch
    int32_t rowHeight;          // s(78): the row pitch
    CalendarRect cellUpper;     // the picture part, outlined
    CalendarRect cellLower;     // the holiday-name strip, outlined
    CalendarPoint dayNumberAt;  // centred
    CalendarPoint pictureAt;    // top-left of the Moon picture
    int32_t pictureSize;        // s(32): the Moon picture's width and height
    CalendarPoint ageAt;        // centred; the halo is drawn one pixel around it
    CalendarPoint lunarDateAt;  // centred
    CalendarPoint leapLunarAt;  // centred: the second copy of a leap month's date
    int32_t noteRight;          // right edge of the right-hand column
    int32_t noteTop[CalendarNoteSlotCount];
    CalendarPoint tideAt;     // centred
    CalendarPoint phaseAt;    // centred
    CalendarPoint holidayAt;  // centred
    CalendarRect focusFrame;  // the chosen day's focus frame, inside the cell's outline
};

// The geometry at dpi (96 gives the layout's own pixels).
CalendarGeometry ComputeCalendarGeometry(int32_t dpi);

// Origin of the weekday header over column 0..6.
CalendarPoint HeaderOrigin(const CalendarGeometry& g, int32_t column);

// Origin of day cell k = 0..41 (row k / 7, column k % 7).
CalendarPoint CellOrigin(const CalendarGeometry& g, int32_t k);

// The client area the picture needs: the right and bottom edge of the grid's last cell.
CalendarPoint CalendarPictureExtent(const CalendarGeometry& g);

// The smallest client area of the calendar window at `dpi`: the picture and a margin of s(6)
// right of and below it.
CalendarPoint CalendarClientNeeded(int32_t dpi);

// The dpi carried by WM_DPICHANGED's wParam (y dpi in the high word, x in the low; Windows sends
// them equal), or `currentDpi` when the word is 0.
int32_t DpiOfDpiChanged(uint32_t wParam, int32_t currentDpi);

// The calendar window's answer to a change of dpi (moved to a monitor of another scale): the new
// dpi, the window rectangle to take (the suggested one, grown from its top-left corner where its
// client area would be smaller than CalendarClientNeeded at the new dpi) and whether the picture
// must be laid out again. `frame` is the width and height the window's frame adds to its client
// area.
struct DpiChangeLayout {
    int32_t dpi;
    CalendarRect window;
    bool relayout;  // the dpi differs from currentDpi
};
DpiChangeLayout DecideCalendarDpiChange(uint32_t wParam, const CalendarRect& suggested,
                                        int32_t currentDpi, CalendarPoint frame);

// The box a text of `bytes` Shift_JIS bytes covers in a fixed-pitch font of cell height
// `fontHeight`, drawn at `at` with the alignment `align` (-1 left, 0 centred, 1 right): each byte
// half a cell wide, as the calendar's Gothic font draws half- and full-width characters.
CalendarRect CalendarTextBox(CalendarPoint at, int32_t align, int32_t fontHeight, int32_t bytes);

// The day cell 0..41 whose block (upper part and holiday strip) holds the client point `p`; -1
// outside the grid.
int32_t CalendarCellAt(const CalendarGeometry& g, CalendarPoint p);

// Title texts: "Jan".."Dec" for 1..12, "" otherwise; "SUN".."SAT" for weekdays 0..6 (0 = Sunday),
// "" otherwise. A header column is named by the weekday of its days, whichever day leads the week.
const char* CalendarMonthName(uint16_t month);
const char* CalendarWeekdayName(int32_t weekday);

struct CalendarTitleTexts {
    char month[8];  // "%u"
    char year[8];   // "%u"
    const char* monthName;
    char era[24];  // the month's era year (FormatMonthEraYear), Shift_JIS; "" before 1873
};
CalendarTitleTexts ComposeCalendarTitle(uint16_t year, uint16_t month);

// Everything a day cell writes. Name pointers are non-owning and never null ("" for none).
struct CalendarCellTexts {
    char day[8];         // "%d"
    char lunarDate[16];  // "%u/%u": lunar month / lunar day
    bool lunarTwice;     // a leap month: the date is written a second time, one pixel right
    char rokuyo[8];
    char daySign[8];  // stem then branch
    const char* solarTerm;
    const char* secondSeasonal;
    const char* firstSeasonal;
    char tide[8];
    const char* phaseName;
    const char* holidayName;
    char age[16];   // "%.1f" of the Moon age
    int32_t frame;  // Moon strip frame 0..59
};
CalendarCellTexts ComposeCalendarCellTexts(const MonthCell& cell);

// The text of the right-hand column in `slot`.
const char* CalendarNoteText(const CalendarCellTexts& texts, CalendarNoteSlot slot);

// The cell 0..41 of `model` that holds `day` of the model's own month; -1 when none does.
int32_t CalendarCellOfDay(const MonthModel& model, uint16_t day);

// The year and month of cell k of `model`: the model's own, or, for a day of an adjacent month, the
// month before (first row) or after (fifth and sixth rows).
void CalendarCellMonth(const MonthModel& model, int32_t k, uint16_t* year, uint16_t* month);

// The short marks of a day: an eclipse seen at the place ("月食", "日食"), the year's nearest full
// Moon ("最接近", under the phase's 満月), and the two most asked-for selected days, 天赦日
// ("天赦") and 一粒万倍日 ("万倍"), in that order, each centred at a place of the cell where no
// other text and not the Moon picture is drawn: the middle column under the principal phase, then
// the holiday strip. A mark with no free place is left out (the day's tooltip still names it).
// noteFlags are DayNote bits, moonMarks MoonEventMark bits (presentation/moon_events.h).
struct CalendarMark {
    const char* text;
    CalendarPoint at;  // centred, relative to the cell origin
};
constexpr int32_t kMaxCalendarMarks = 3;  // as many as there are places
struct CalendarCellMarks {
    CalendarMark marks[kMaxCalendarMarks];
    int32_t count;
};
CalendarCellMarks PlaceCalendarMarks(const CalendarGeometry& g, const CalendarCellTexts& texts,
                                     uint32_t noteFlags, uint32_t moonMarks = 0);

// Colours as 0x00BBGGRR (the Win32 COLORREF layout).
constexpr uint32_t CalendarRgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}
constexpr uint32_t kCalendarTitleColour = CalendarRgb(0, 0, 128);
constexpr uint32_t kCalendarHeaderTextColour = CalendarRgb(255, 255, 255);
constexpr uint32_t kCalendarFillColour = CalendarRgb(255, 255, 255);
constexpr uint32_t kCalendarTodayColour = CalendarRgb(216, 255, 255);
constexpr uint32_t kCalendarHaloColour = CalendarRgb(255, 255, 255);
constexpr uint32_t kCalendarMarkColour = CalendarRgb(192, 96, 0);

// Background of the weekday header over a day of `weekday` (0 = Sunday).
uint32_t CalendarHeaderColour(uint16_t weekday);

struct CalendarCellColours {
    uint32_t fill;
    uint32_t dayNumber;
    uint32_t note;  // lunisolar date, rokuyo, sign, solar term, seasonal days
    uint32_t tide;  // tide class and principal phase
    uint32_t holiday;
    uint32_t age;
};
// Colours of a cell: the day number by DayTintOf, lighter for a day of an adjacent month; today's
// fill only when `today` (which the caller never sets for an adjacent month's day).
CalendarCellColours CalendarCellColoursOf(const MonthCell& cell, bool today);

// The eight places of the age figure's white halo, in drawing order (rows top to bottom, left to
// right within each), relative to the cell origin.
void CalendarHaloPoints(const CalendarGeometry& g, CalendarPoint out[8]);
