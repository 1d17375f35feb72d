#include "ui/calendar_drawing.h"

#include <cstring>
#include <initializer_list>

#include "presentation/calendar_layout.h"
#include "presentation/calendar_navigation.h"
#include "presentation/moon_events.h"
#include "ui/dialogs.h"
#include "ui/ui_clock.h"
#include "ui/ui_place.h"
#include "ui/win32_text.h"

namespace {

// The face name in UTF-16 from the start: converted from Shift_JIS it would be the same, but only
// under code page 932 would the system read the bytes that way.
constexpr wchar_t kFontFace[] = L"ＭＳ ゴシック";

// Whether the selected days are shown: the program's switch 暦注を表示.
bool notesShown = true;

// Colours are palette-relative so that a palette display matches them in the window's palette.
COLORREF PaletteColour(uint32_t rgb) {
    return 0x02000000 | rgb;
}

HFONT CreateCalendarFont(int height, int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FF_MODERN | DEFAULT_PITCH, kFontFace);
}

void TextAt(HDC dc, CalendarPoint at, UINT align, const char* text) {
    SetTextAlign(dc, align | TA_TOP | TA_NOUPDATECP);
    const std::wstring wide = WideFromShiftJis(text);
    TextOutW(dc, at.x, at.y, wide.c_str(), static_cast<int>(wide.size()));
}

void FillWith(HDC dc, const CalendarRect& r, HBRUSH brush) {
    const RECT area = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &area, brush);
}

void DrawTitle(HDC dc, const CalendarGeometry& g, const MonthModel& model, HFONT title,
               HFONT smallTitle, bool showEra) {
    SetViewportOrgEx(dc, g.titleOrigin.x, g.titleOrigin.y, nullptr);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillWith(dc, g.titleFill, face);
    DeleteObject(face);
    const CalendarTitleTexts texts = ComposeCalendarTitle(model.year, model.month);
    SetTextColor(dc, PaletteColour(kCalendarTitleColour));
    SelectObject(dc, title);
    TextAt(dc, g.titleMonthAt, TA_CENTER, texts.month);
    SelectObject(dc, smallTitle);
    TextAt(dc, g.titleYearAt, TA_LEFT, texts.year);
    TextAt(dc, g.titleNameAt, TA_RIGHT, texts.monthName);
    if (showEra && texts.era[0] != '\0') {
        HFONT eraFont = CreateCalendarFont(g.noteFont, FW_NORMAL);
        SelectObject(dc, eraFont);
        TextAt(dc, g.titleEraAt, TA_LEFT, texts.era);
        SelectObject(dc, smallTitle);
        DeleteObject(eraFont);
    }
}

void DrawHeader(HDC dc, const CalendarGeometry& g, const MonthModel& model) {
    SetTextColor(dc, PaletteColour(kCalendarHeaderTextColour));
    for (int column = 0; column < 7; ++column) {
        const CalendarPoint origin = HeaderOrigin(g, column);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        HBRUSH background =
            CreateSolidBrush(PaletteColour(CalendarHeaderColour(model.cells[column].weekday)));
        FillWith(dc, g.headerFill, background);
        DeleteObject(background);
        TextAt(dc, g.headerTextAt, TA_LEFT, CalendarWeekdayName(model.cells[column].weekday));
    }
}

void DrawMoon(HDC dc, const CalendarGeometry& g, const MonthCell& cell,
              const CalendarCellTexts& texts, const CalendarCellColours& colours, bool showAge,
              HFONT ageFont, CalendarDrawingResources& r) {
    if (PrepareMoonStrip(GetWindowServices().module, dc, g.dpi, r.strip)) {
        DrawMoonPicture(dc, g.pictureAt.x, g.pictureAt.y, r.strip, texts.frame, cell.outside != 0);
    }
    if (!showAge) {
        return;
    }
    SelectObject(dc, ageFont);
    CalendarPoint halo[8];
    CalendarHaloPoints(g, halo);
    SetTextColor(dc, PaletteColour(kCalendarHaloColour));
    for (const CalendarPoint& at : halo) {
        TextAt(dc, at, TA_CENTER, texts.age);
    }
    SetTextColor(dc, PaletteColour(colours.age));
    TextAt(dc, g.ageAt, TA_CENTER, texts.age);
}

struct CellFonts {
    HFONT day;
    HFONT otherDay;
    HFONT note;
    HFONT age;
};

// Draws cell k; returns whether it is today's.
bool DrawCell(HDC dc, const CalendarGeometry& g, const MonthModel& model, int k,
              const SYSTEMTIME& clock, bool showAge, const CellFonts& fonts,
              CalendarDrawingResources& r) {
    const MonthCell& cell = model.cells[k];
    const CalendarPoint origin = CellOrigin(g, k);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    const bool today =
        IsCalendarToday({model.year, model.month}, cell.day, cell.outside != 0, clock);
    const CalendarCellColours colours = CalendarCellColoursOf(cell, today);
    const CalendarCellTexts texts = ComposeCalendarCellTexts(cell);

    HBRUSH fill = CreateSolidBrush(PaletteColour(colours.fill));
    HGDIOBJ previousBrush = SelectObject(dc, fill);
    Rectangle(dc, g.cellUpper.left, g.cellUpper.top, g.cellUpper.right, g.cellUpper.bottom);
    Rectangle(dc, g.cellLower.left, g.cellLower.top, g.cellLower.right, g.cellLower.bottom);
    SelectObject(dc, previousBrush);
    DeleteObject(fill);

    SetTextColor(dc, PaletteColour(colours.dayNumber));
    SelectObject(dc, cell.outside ? fonts.otherDay : fonts.day);
    TextAt(dc, g.dayNumberAt, TA_CENTER, texts.day);

    DrawMoon(dc, g, cell, texts, colours, showAge, fonts.age, r);

    SelectObject(dc, fonts.note);
    SetTextColor(dc, PaletteColour(colours.note));
    TextAt(dc, g.lunarDateAt, TA_CENTER, texts.lunarDate);
    if (texts.lunarTwice) {
        TextAt(dc, g.leapLunarAt, TA_CENTER, texts.lunarDate);
    }
    for (int slot = 0; slot < CalendarNoteSlotCount; ++slot) {
        const char* note = CalendarNoteText(texts, static_cast<CalendarNoteSlot>(slot));
        if (note[0] != '\0') {
            TextAt(dc, {g.noteRight, g.noteTop[slot]}, TA_RIGHT, note);
        }
    }
    SetTextColor(dc, PaletteColour(colours.tide));
    TextAt(dc, g.tideAt, TA_CENTER, texts.tide);
    if (texts.phaseName[0] != '\0') {
        TextAt(dc, g.phaseAt, TA_CENTER, texts.phaseName);
    }
    if (texts.holidayName[0] != '\0') {
        SetTextColor(dc, PaletteColour(colours.holiday));
        TextAt(dc, g.holidayAt, TA_CENTER, texts.holidayName);
    }
    if (notesShown && !cell.outside) {
        const uint32_t moonMarks =
            MoonEventMarksOfDay(model.year, model.month, static_cast<uint16_t>(cell.day),
                                model.bias, GetUiPlace().place);
        const CalendarCellMarks marks = PlaceCalendarMarks(g, texts, cell.notes.flags, moonMarks);
        SetTextColor(dc, PaletteColour(kCalendarMarkColour));
        for (int32_t i = 0; i < marks.count; ++i) {
            TextAt(dc, marks.marks[i].at, TA_CENTER, marks.marks[i].text);
        }
    }
    return today;
}

// The system's focus frame: inverted dots, which show on the white, today's and any text colour.
void DrawChosenFrame(HDC dc, const CalendarGeometry& g, int32_t k) {
    const CalendarPoint origin = CellOrigin(g, k);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    const RECT frame = {g.focusFrame.left, g.focusFrame.top, g.focusFrame.right,
                        g.focusFrame.bottom};
    DrawFocusRect(dc, &frame);
}

}  // namespace

void SetCalendarNotesShown(bool shown) {
    notesShown = shown;
}

bool CalendarNotesShown() {
    return notesShown;
}

void DrawMonthCalendar(HDC dc, const MonthModel& model, bool showAge, int dpi,
                       CalendarDrawingResources& resources, CalendarPaintMarks& marks,
                       const CalendarDrawExtras& extras) {
    SYSTEMTIME clock;
    ReadUiLocalClock(&clock);
    const CalendarGeometry g = ComputeCalendarGeometry(dpi);
    POINT previousOrigin;
    GetViewportOrgEx(dc, &previousOrigin);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const int previousRop = SetROP2(dc, R2_COPYPEN);
    const UINT previousAlign = GetTextAlign(dc);
    const COLORREF previousColour = GetTextColor(dc);

    HFONT title = CreateCalendarFont(g.titleFont, FW_BOLD);
    HFONT smallTitle = CreateCalendarFont(g.smallTitleFont, FW_BOLD);
    HGDIOBJ previousFont = SelectObject(dc, title);
    DrawTitle(dc, g, model, title, smallTitle, extras.showEra);
    DrawHeader(dc, g, model);
    SelectObject(dc, previousFont);
    DeleteObject(title);
    DeleteObject(smallTitle);

    const CellFonts fonts = {
        CreateCalendarFont(g.dayFont, FW_BOLD),
        CreateCalendarFont(g.otherDayFont, FW_BOLD),
        CreateCalendarFont(g.noteFont, FW_NORMAL),
        CreateCalendarFont(g.ageFont, FW_NORMAL),
    };
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    marks.todayShown = false;
    for (int k = 0; k < 42; ++k) {
        if (DrawCell(dc, g, model, k, clock, showAge, fonts, resources)) {
            marks.todayShown = true;
            marks.markedDay = model.cells[k].day;
        }
    }

    if (extras.chosenCell >= 0 && extras.chosenCell < 42) {
        DrawChosenFrame(dc, g, extras.chosenCell);
    }

    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
    for (HFONT font : {fonts.day, fonts.otherDay, fonts.note, fonts.age}) {
        DeleteObject(font);
    }
    SetTextColor(dc, previousColour);
    SetTextAlign(dc, previousAlign);
    SetROP2(dc, previousRop);
    SetBkMode(dc, previousMode);
    SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
}

void ReleaseCalendarDrawing(CalendarDrawingResources& resources) {
    ReleaseMoonStrip(resources.strip);
}
