#include "presentation/calendar_layout.h"

#include <cstdio>
#include <cstring>

#include "calendar/day_signs.h"
#include "calendar/holidays.h"
#include "presentation/japanese_era.h"
#include "presentation/moon_events.h"
#include "presentation/pictures.h"

namespace {

constexpr int32_t kColumns = 7;

// Month names of the title, by month 1..12 (0 for none).
static const char* const kMonthNames[] = {
    "", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec",
};
constexpr uint16_t kMonthNameCount = sizeof kMonthNames / sizeof kMonthNames[0];

// Weekday headers, by weekday (0 = Sunday).
static const char* const kWeekdayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr int32_t kWeekdayNameCount = sizeof kWeekdayNames / sizeof kWeekdayNames[0];

// Header backgrounds by weekday.
static const uint32_t kHeaderColours[] = {
    CalendarRgb(192, 64, 64),  // Sunday
    CalendarRgb(64, 64, 64),  CalendarRgb(64, 64, 64), CalendarRgb(64, 64, 64),
    CalendarRgb(64, 64, 64),  CalendarRgb(64, 64, 64), CalendarRgb(80, 80, 192),  // Saturday
};

// Day colours by tint: the month on display, then an adjacent month (lighter).
struct TintColours {
    DayTint tint;
    uint32_t shown;
    uint32_t adjacent;
};
static const TintColours kDayNumberColours[] = {
    {PlainDayTint,   CalendarRgb(0, 0,   0), CalendarRgb(128, 128, 128)},
    {SaturdayTint,   CalendarRgb(0, 0, 255), CalendarRgb(128, 128, 255)},
    {  DayOffTint, CalendarRgb(255, 0,   0), CalendarRgb(255, 128, 128)},
};

constexpr uint32_t kNoteShown = CalendarRgb(0, 0, 0);
constexpr uint32_t kNoteAdjacent = CalendarRgb(128, 128, 128);
constexpr uint32_t kTideShown = CalendarRgb(0, 96, 0);
constexpr uint32_t kTideAdjacent = CalendarRgb(128, 96, 128);
constexpr uint32_t kDayOffNameShown = CalendarRgb(255, 0, 0);
constexpr uint32_t kDayOffNameAdjacent = CalendarRgb(255, 128, 128);

const char* NameOrEmpty(const char* name) {
    return name != nullptr ? name : "";
}

}  // namespace

int32_t CalendarScale(int32_t dpi, int32_t v) {
    return dpi * v / 96;
}

CalendarGeometry ComputeCalendarGeometry(int32_t dpi) {
    auto s = [dpi](int32_t v) { return CalendarScale(dpi, v); };
    CalendarGeometry g = {};
    g.dpi = dpi;
    g.titleFont = s(32);
    g.smallTitleFont = s(16);
    g.dayFont = s(26);
    g.otherDayFont = s(20);
    g.noteFont = s(10);
    g.ageFont = 10;
    g.titleOrigin = {s(245), 0};
    g.titleFill = {0, 0, s(146), s(30)};
    g.titleMonthAt = {s(69), s(1)};
    g.titleYearAt = {0, s(11)};
    g.titleNameAt = {s(146), s(11)};
    g.titleEraAt = {0, s(1)};
    g.headerFill = {0, 0, s(89) - 1, s(17)};
    g.headerTextAt = {s(30), s(1)};
    g.cellWidth = s(89);
    g.rowHeight = s(78);
    g.cellUpper = {0, 0, s(89) + 1, s(63) + 1};
    g.cellLower = {0, s(63), s(89) + 1, s(78) + 1};
    g.dayNumberAt = {s(18), s(2)};
    // The picture grows with the layout (from a strip drawn for the dpi), so that the texts
    // around it keep their distance at every scale.
    g.pictureAt = {s(3), s(28)};
    g.pictureSize = s(32);
    g.ageAt = {s(20), s(45) - 7};
    g.lunarDateAt = {s(50), s(2)};
    g.leapLunarAt = {s(51), s(2)};
    g.noteRight = s(87);
    g.noteTop[RokuyoSlot] = s(2);
    g.noteTop[DaySignSlot] = s(14);
    g.noteTop[SolarTermSlot] = s(26);
    g.noteTop[SecondSeasonalSlot] = s(38);
    g.noteTop[FirstSeasonalSlot] = s(50);
    g.tideAt = {s(50), s(14)};
    g.phaseAt = {s(50), s(26)};
    g.holidayAt = {s(44), s(65)};
    g.focusFrame = {2, 2, s(89) - 1, s(78) - 1};
    return g;
}

CalendarPoint HeaderOrigin(const CalendarGeometry& g, int32_t column) {
    // The header row starts one pixel right of the grid's outline (7, not s(6)) at every dpi.
    return {g.cellWidth * column + 7, CalendarScale(g.dpi, 31)};
}

CalendarPoint CellOrigin(const CalendarGeometry& g, int32_t k) {
    return {g.cellWidth * (k % kColumns) + CalendarScale(g.dpi, 6),
            g.rowHeight * (k / kColumns) + CalendarScale(g.dpi, 48)};
}

CalendarPoint CalendarPictureExtent(const CalendarGeometry& g) {
    const CalendarPoint last = CellOrigin(g, 41);
    return {last.x + g.cellLower.right, last.y + g.cellLower.bottom};
}

CalendarPoint CalendarClientNeeded(int32_t dpi) {
    const CalendarPoint extent = CalendarPictureExtent(ComputeCalendarGeometry(dpi));
    const int32_t margin = CalendarScale(dpi, 6);
    return {extent.x + margin, extent.y + margin};
}

int32_t DpiOfDpiChanged(uint32_t wParam, int32_t currentDpi) {
    const int32_t dpi = static_cast<int32_t>((wParam >> 16) & 0xFFFF);
    return dpi != 0 ? dpi : currentDpi;
}

DpiChangeLayout DecideCalendarDpiChange(uint32_t wParam, const CalendarRect& suggested,
                                        int32_t currentDpi, CalendarPoint frame) {
    DpiChangeLayout d = {};
    d.dpi = DpiOfDpiChanged(wParam, currentDpi);
    d.relayout = d.dpi != currentDpi;
    d.window = suggested;
    const CalendarPoint client = CalendarClientNeeded(d.dpi);
    if (d.window.right - d.window.left < client.x + frame.x) {
        d.window.right = d.window.left + client.x + frame.x;
    }
    if (d.window.bottom - d.window.top < client.y + frame.y) {
        d.window.bottom = d.window.top + client.y + frame.y;
    }
    return d;
}

CalendarRect CalendarTextBox(CalendarPoint at, int32_t align, int32_t fontHeight, int32_t bytes) {
    const int32_t width = bytes * fontHeight / 2;
    const int32_t left = align < 0 ? at.x : (align == 0 ? at.x - width / 2 : at.x - width);
    return {left, at.y, left + width, at.y + fontHeight};
}

int32_t CalendarCellAt(const CalendarGeometry& g, CalendarPoint p) {
    for (int32_t k = 0; k < 42; ++k) {
        const CalendarPoint o = CellOrigin(g, k);
        if (p.x >= o.x && p.x < o.x + g.cellWidth && p.y >= o.y && p.y < o.y + g.rowHeight) {
            return k;
        }
    }
    return -1;
}

namespace {

// An empty box (a text that is not drawn) overlaps nothing.
bool Overlaps(const CalendarRect& a, const CalendarRect& b) {
    const bool empty = a.left >= a.right || b.left >= b.right;
    return !empty && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int32_t Bytes(const char* text) {
    return static_cast<int32_t>(std::strlen(text));
}

}  // namespace

int32_t CalendarCellOfDay(const MonthModel& model, uint16_t day) {
    for (int32_t k = 0; k < 42; ++k) {
        if (!model.cells[k].outside && model.cells[k].day == day) {
            return k;
        }
    }
    return -1;
}

void CalendarCellMonth(const MonthModel& model, int32_t k, uint16_t* year, uint16_t* month) {
    int32_t y = model.year;
    int32_t m = model.month;
    if (k >= 0 && k < 42 && model.cells[k].outside) {
        m += k < 7 ? -1 : 1;
        if (m < 1) {
            m = 12;
            --y;
        } else if (m > 12) {
            m = 1;
            ++y;
        }
    }
    *year = static_cast<uint16_t>(y);
    *month = static_cast<uint16_t>(m);
}

CalendarCellMarks PlaceCalendarMarks(const CalendarGeometry& g, const CalendarCellTexts& texts,
                                     uint32_t noteFlags, uint32_t moonMarks) {
    auto s = [&g](int32_t v) { return CalendarScale(g.dpi, v); };
    // Everything the cell draws, as boxes; the marks themselves join as they are placed.
    CalendarRect taken[16];
    int32_t n = 0;
    taken[n++] = {g.pictureAt.x, g.pictureAt.y, g.pictureAt.x + g.pictureSize,
                  g.pictureAt.y + g.pictureSize};
    taken[n++] = CalendarTextBox(g.dayNumberAt, 0, g.dayFont, Bytes(texts.day));
    taken[n++] = CalendarTextBox(g.lunarDateAt, 0, g.noteFont, Bytes(texts.lunarDate) + 1);
    taken[n++] = CalendarTextBox(g.tideAt, 0, g.noteFont, Bytes(texts.tide));
    taken[n++] = CalendarTextBox(g.phaseAt, 0, g.noteFont, Bytes(texts.phaseName));
    taken[n++] = CalendarTextBox(g.holidayAt, 0, g.noteFont, Bytes(texts.holidayName));
    for (int32_t slot = 0; slot < CalendarNoteSlotCount; ++slot) {
        const char* note = CalendarNoteText(texts, static_cast<CalendarNoteSlot>(slot));
        taken[n++] = CalendarTextBox({g.noteRight, g.noteTop[slot]}, 1, g.noteFont, Bytes(note));
    }
    // The Moon's events first: an eclipse seen here is rarer than either selected day.
    static const struct {
        bool moon;  // a MoonEventMark bit; otherwise a DayNote bit
        uint32_t flag;
        const char* text;
    } kMarks[] = {
        { true,    MarkLunarEclipse,    "月食"},
        { true,    MarkSolarEclipse,    "日食"},
        { true, MarkNearestFullMoon, "最接近"},
        {false,     NoteTenshanichi,    "天赦"},
        {false,   NoteIchiryuManbai,    "万倍"},
    };
    const CalendarPoint places[] = {
        {s(50), s(38)},
        {s(50), s(50)},
        g.holidayAt
    };
    CalendarCellMarks result = {};
    for (const auto& mark : kMarks) {
        if (((mark.moon ? moonMarks : noteFlags) & mark.flag) == 0) {
            continue;
        }
        for (const CalendarPoint& at : places) {
            // A margin of one pixel all round, so that a mark never touches its neighbour.
            CalendarRect box = CalendarTextBox(at, 0, g.noteFont, Bytes(mark.text));
            box = {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1};
            bool free = true;
            for (int32_t i = 0; i < n && free; ++i) {
                free = !Overlaps(box, taken[i]);
            }
            if (free && result.count < kMaxCalendarMarks) {
                result.marks[result.count++] = {mark.text, at};
                taken[n++] = box;
                break;
            }
        }
    }
    return result;
}

const char* CalendarMonthName(uint16_t month) {
    return month < kMonthNameCount ? kMonthNames[month] : "";
}

const char* CalendarWeekdayName(int32_t weekday) {
    return weekday >= 0 && weekday < kWeekdayNameCount ? kWeekdayNames[weekday] : "";
}

CalendarTitleTexts ComposeCalendarTitle(uint16_t year, uint16_t month) {
    CalendarTitleTexts t = {};
    std::snprintf(t.month, sizeof t.month, "%u", static_cast<unsigned>(month));
    std::snprintf(t.year, sizeof t.year, "%u", static_cast<unsigned>(year));
    t.monthName = CalendarMonthName(month);
    FormatMonthEraYear(t.era, sizeof t.era, year, month);
    return t;
}

CalendarCellTexts ComposeCalendarCellTexts(const MonthCell& cell) {
    CalendarCellTexts t = {};
    std::snprintf(t.day, sizeof t.day, "%d", static_cast<int>(cell.day));
    std::snprintf(t.lunarDate, sizeof t.lunarDate, "%u/%u", static_cast<unsigned>(cell.lunar.month),
                  static_cast<unsigned>(cell.lunar.day));
    t.lunarTwice = cell.lunar.leap != 0;
    RokuyoName(t.rokuyo, cell.lunar.rokuyo);
    DaySignName(t.daySign, cell.lunar);
    t.solarTerm = cell.isSolarTerm ? NameOrEmpty(cell.solarTermName) : "";
    t.secondSeasonal = cell.isSeasonal ? NameOrEmpty(cell.seasonalName2) : "";
    t.firstSeasonal = cell.isSeasonal ? NameOrEmpty(cell.seasonalName1) : "";
    TideName(t.tide, cell.lunar);
    t.phaseName = NameOrEmpty(cell.phaseName);
    t.holidayName = NameOrEmpty(cell.holidayName);
    std::snprintf(t.age, sizeof t.age, "%.1f", cell.moonAge);
    t.frame = MoonStripPictureIndex(cell.phaseAngle);
    return t;
}

const char* CalendarNoteText(const CalendarCellTexts& texts, CalendarNoteSlot slot) {
    switch (slot) {
        case RokuyoSlot:
            return texts.rokuyo;
        case DaySignSlot:
            return texts.daySign;
        case SolarTermSlot:
            return texts.solarTerm;
        case SecondSeasonalSlot:
            return texts.secondSeasonal;
        case FirstSeasonalSlot:
            return texts.firstSeasonal;
        case CalendarNoteSlotCount:
            break;
    }
    return "";
}

uint32_t CalendarHeaderColour(uint16_t weekday) {
    return kHeaderColours[weekday % 7];
}

CalendarCellColours CalendarCellColoursOf(const MonthCell& cell, bool today) {
    const bool adjacent = cell.outside != 0;
    const DayTint tint = DayTintOf(cell.holidayKind, cell.weekday);
    CalendarCellColours c = {};
    c.fill = today && !adjacent ? kCalendarTodayColour : kCalendarFillColour;
    for (const TintColours& row : kDayNumberColours) {
        if (row.tint == tint) {
            c.dayNumber = adjacent ? row.adjacent : row.shown;
        }
    }
    c.note = adjacent ? kNoteAdjacent : kNoteShown;
    c.tide = adjacent ? kTideAdjacent : kTideShown;
    const bool dayOff = cell.holidayKind == NationalHoliday || cell.holidayKind == DayOff;
    c.holiday = dayOff ? (adjacent ? kDayOffNameAdjacent : kDayOffNameShown) : c.note;
    c.age = c.note;
    return c;
}

void CalendarHaloPoints(const CalendarGeometry& g, CalendarPoint out[8]) {
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0) {
                out[n++] = {g.ageAt.x + dx, g.ageAt.y + dy};
            }
        }
    }
}
