// The month calendar's picture drawn by GDI into a memory DIB section and read back pixel by
// pixel: places the layout fixes, colours by day kind, today's highlight, the leap-month mark,
// the age switch, and texts that must stay inside their cells at every dpi.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"
#include "presentation/calendar_layout.h"
#include "tests/win/calendar_test_support.h"
#include "ui/calendar_drawing.h"

namespace {

constexpr uint32_t kSentinel = 0x00010203;  // a colour the picture never uses

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
}

uint32_t FromColorRef(uint32_t colorRef) {
    return Rgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

// A top-down 32-bit DIB section filled with the sentinel, its memory DC, and the drawing's own
// resources; everything released at the end.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        replaced_ = SelectObject(dc_, bitmap_);
        Clear();
    }
    ~Canvas() {
        ReleaseCalendarDrawing(resources_);
        SelectObject(dc_, replaced_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void Clear() {
        GdiFlush();
        uint32_t* p = static_cast<uint32_t*>(bits_);
        for (int i = 0; i < width_ * height_; ++i) {
            p[i] = kSentinel;
        }
    }
    void Draw(const MonthModel& model, bool showAge, int dpi) {
        Clear();
        DrawMonthCalendar(dc_, model, showAge, dpi, resources_, marks_);
        GdiFlush();
    }
    uint32_t At(int x, int y) const {
        return static_cast<const uint32_t*>(bits_)[y * width_ + x] & 0x00FFFFFF;
    }
    // Whether any pixel of the box (right and bottom exclusive) has `colour`.
    bool Has(int left, int top, int right, int bottom, uint32_t colour) const {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (At(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
    HDC dc() const {
        return dc_;
    }
    const CalendarPaintMarks& marks() const {
        return marks_;
    }

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ replaced_ = nullptr;
    void* bits_ = nullptr;
    CalendarDrawingResources resources_ = {};
    CalendarPaintMarks marks_ = {};
};

const MonthModel& Model(uint16_t year, uint16_t month) {
    ComputeMonthModel(year, month);
    return CurrentMonthModel();
}

int CellIndexOf(const MonthModel& model, uint16_t day) {
    for (int k = 0; k < 42; ++k) {
        if (!model.cells[k].outside && model.cells[k].day == day) {
            return k;
        }
    }
    return -1;
}

class CalendarDrawing : public testing::Test {
  protected:
    void SetUp() override {
        EnterFixedCalendar();
    }
    void TearDown() override {
        LeaveFixedCalendar();
    }
    Canvas canvas{1000, 800};
    const CalendarGeometry g96 = ComputeCalendarGeometry(96);
};

TEST_F(CalendarDrawing, GridAndTitleCoverTheirPlacesAt96Dpi) {
    canvas.Draw(Model(2026, 12), true, 96);
    const uint32_t black = 0;
    // Grid: x 6..629, y 48..516, its outline black at the four corners, nothing outside.
    EXPECT_EQ(canvas.At(6, 48), black);
    EXPECT_EQ(canvas.At(629, 48), black);
    EXPECT_EQ(canvas.At(6, 516), black);
    EXPECT_EQ(canvas.At(629, 516), black);
    EXPECT_EQ(canvas.At(630, 300), kSentinel);
    EXPECT_EQ(canvas.At(300, 517), kSentinel);
    EXPECT_EQ(canvas.At(5, 300), kSentinel);
    // Title fill: x 245..390, y 0..29 in the button face.
    const uint32_t face = FromColorRef(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.At(245, 0), face);
    EXPECT_EQ(canvas.At(390, 0), face);
    EXPECT_EQ(canvas.At(245, 29), face);
    EXPECT_EQ(canvas.At(390, 29), face);
    EXPECT_EQ(canvas.At(244, 0), kSentinel);
    EXPECT_EQ(canvas.At(391, 0), kSentinel);
    EXPECT_EQ(canvas.At(300, 30), kSentinel);
    EXPECT_TRUE(canvas.Has(245, 0, 391, 30, Rgb(0, 0, 128)));  // the title's texts
}

TEST_F(CalendarDrawing, HeaderBackgroundPerWeekday) {
    canvas.Draw(Model(2026, 12), true, 96);
    const uint32_t expected[7] = {Rgb(192, 64, 64), Rgb(64, 64, 64), Rgb(64, 64, 64),
                                  Rgb(64, 64, 64),  Rgb(64, 64, 64), Rgb(64, 64, 64),
                                  Rgb(80, 80, 192)};
    for (int column = 0; column < 7; ++column) {
        const CalendarPoint o = HeaderOrigin(g96, column);
        EXPECT_EQ(canvas.At(o.x + 2, o.y + 2), expected[column]) << column;
        EXPECT_EQ(canvas.At(o.x + 87, o.y + 16), expected[column]) << column;
        EXPECT_TRUE(canvas.Has(o.x + 30, o.y, o.x + 88, o.y + 17, Rgb(255, 255, 255))) << column;
    }
}

// Colour of the day number's pixels in cell k: whether the box holds `present` and not `absent`.
void ExpectDayNumber(const Canvas& canvas, const CalendarGeometry& g, int k, uint32_t present,
                     uint32_t absent) {
    const CalendarPoint o = CellOrigin(g, k);
    EXPECT_TRUE(canvas.Has(o.x + 1, o.y + 1, o.x + 37, o.y + 28, present)) << k;
    EXPECT_FALSE(canvas.Has(o.x + 1, o.y + 1, o.x + 37, o.y + 28, absent)) << k;
}

TEST_F(CalendarDrawing, SaturdayHolidayIsRedAnAnniversaryKeepsItsWeekdayColour) {
    // 1 January 2005 is a Saturday and New Year's Day.
    const MonthModel& january = Model(2005, 1);
    const int newYear = CellIndexOf(january, 1);
    ASSERT_EQ(january.cells[newYear].weekday, 6);
    canvas.Draw(january, true, 96);
    ExpectDayNumber(canvas, g96, newYear, Rgb(255, 0, 0), Rgb(0, 0, 255));
    ExpectDayNumber(canvas, g96, newYear + 7, Rgb(0, 0, 255), Rgb(255, 0, 0));  // 8 January

    // A custom anniversary on Saturday 8 January: its name in black, the day number still blue.
    CustomHoliday anniversary = {};
    anniversary.kind = Anniversary;
    anniversary.firstYear = 2005;
    anniversary.lastYear = 2005;
    anniversary.rule = ByDate;
    anniversary.month = 1;
    anniversary.day = 8;
    std::strcpy(anniversary.name, "記念日");
    ASSERT_GE(InsertCustomHoliday(anniversary), 0);
    InvalidateHolidayCache();
    InvalidateMonthModel();
    const MonthModel& withAnniversary = Model(2005, 1);
    EXPECT_STREQ(withAnniversary.cells[newYear + 7].holidayName, "記念日");
    canvas.Draw(withAnniversary, true, 96);
    ExpectDayNumber(canvas, g96, newYear + 7, Rgb(0, 0, 255), Rgb(255, 0, 0));
    const CalendarPoint o = CellOrigin(g96, newYear + 7);
    EXPECT_TRUE(canvas.Has(o.x + 1, o.y + 64, o.x + 89, o.y + 78, Rgb(0, 0, 0)));
}

// The user's own day off shows in the calendar like a holiday: name and day number red.
TEST_F(CalendarDrawing, CustomDayOffShowsInItsCell) {
    CustomHoliday dayOff = {};
    dayOff.kind = DayOff;
    dayOff.firstYear = 2026;
    dayOff.lastYear = 9999;
    dayOff.rule = ByDate;
    dayOff.month = 12;
    dayOff.day = 9;  // a Wednesday
    std::strcpy(dayOff.name, "創立記念日");
    ASSERT_GE(InsertCustomHoliday(dayOff), 0);
    InvalidateHolidayCache();
    InvalidateMonthModel();
    const MonthModel& december = Model(2026, 12);
    const int k = CellIndexOf(december, 9);
    EXPECT_STREQ(december.cells[k].holidayName, "創立記念日");
    EXPECT_EQ(december.cells[k].holidayKind, DayOff);
    canvas.Draw(december, true, 96);
    ExpectDayNumber(canvas, g96, k, Rgb(255, 0, 0), Rgb(0, 0, 0));
    const CalendarPoint o = CellOrigin(g96, k);
    EXPECT_TRUE(canvas.Has(o.x + 1, o.y + 64, o.x + 89, o.y + 78, Rgb(255, 0, 0)));
}

TEST_F(CalendarDrawing, TodayIsFilledOnlyInTheMonthOnDisplay) {
    const uint32_t today = Rgb(216, 255, 255);
    const MonthModel& december = Model(2026, 12);
    canvas.Draw(december, true, 96);
    EXPECT_TRUE(canvas.marks().todayShown);
    EXPECT_EQ(canvas.marks().markedDay, 7);
    for (int k = 0; k < 42; ++k) {
        const CalendarPoint o = CellOrigin(g96, k);
        const bool isToday = k == CellIndexOf(december, 7);
        EXPECT_EQ(canvas.At(o.x + 1, o.y + 1) == today, isToday) << k;
        EXPECT_EQ(canvas.At(o.x + 87, o.y + 76) == today, isToday) << k;
    }
    // November's grid ends with 1-12 December: the 7th there is never today's.
    canvas.Draw(Model(2026, 11), true, 96);
    EXPECT_FALSE(canvas.marks().todayShown);
    EXPECT_EQ(canvas.marks().markedDay, 7);  // kept from the last highlight
    EXPECT_FALSE(canvas.Has(0, 0, 1000, 800, today));
}

// A leap month's date is drawn twice, one pixel apart: the dark pixels of the date are those of
// the single text joined with the same shifted one pixel right.
TEST_F(CalendarDrawing, LeapMonthDateIsDrawnTwiceOnePixelApart) {
    const MonthModel& march = Model(2023, 3);
    const int k = CellIndexOf(march, 22);
    ASSERT_EQ(march.cells[k].lunar.leap, 1);
    MonthModel plain = march;
    plain.cells[k].lunar.leap = 0;

    canvas.Draw(plain, true, 96);
    const CalendarPoint o = CellOrigin(g96, k);
    // Between the day number and the rokuyo, which are drawn once.
    const int left = o.x + 36;
    const int right = o.x + 64;
    const int top = o.y + 2;
    const int bottom = o.y + 13;
    std::vector<bool> single;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            single.push_back(canvas.At(x, y) == 0);
        }
    }
    canvas.Draw(march, true, 96);
    const int width = right - left;
    int marked = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left + 1; x < right; ++x) {
            const size_t i = static_cast<size_t>((y - top) * width + (x - left));
            const bool expected = single[i] || single[i - 1];
            EXPECT_EQ(canvas.At(x, y) == 0, expected) << x - o.x << "," << y - o.y;
            marked += expected;
        }
    }
    EXPECT_GT(marked, 0);
}

// With the ages off the Moon pictures stay and only the figures go: no white halo and no black
// figure over the disc.
TEST_F(CalendarDrawing, AgesOffKeepsThePictures) {
    const MonthModel& december = Model(2026, 12);
    const CalendarPoint o = CellOrigin(g96, CellIndexOf(december, 10));
    const int left = o.x + 12;
    const int right = o.x + 29;
    const int top = o.y + 38;
    const int bottom = o.y + 49;
    const int discX = o.x + g96.pictureAt.x + 16;
    const int discY = o.y + g96.pictureAt.y + 27;
    canvas.Draw(december, true, 96);
    EXPECT_TRUE(canvas.Has(left, top, right, bottom, Rgb(255, 255, 255)));
    EXPECT_TRUE(canvas.Has(left, top, right, bottom, 0));
    const uint32_t disc = canvas.At(discX, discY);
    EXPECT_NE(disc, Rgb(255, 255, 255));
    canvas.Draw(december, false, 96);
    EXPECT_FALSE(canvas.Has(left, top, right, bottom, Rgb(255, 255, 255)));
    EXPECT_FALSE(canvas.Has(left, top, right, bottom, 0));
    EXPECT_EQ(canvas.At(discX, discY), disc);
}

// Every name a cell can carry, over every month of the range.
struct CellNames {
    std::set<std::string> centred;  // holiday names (centred in the name strip)
    std::set<std::string> right;    // solar terms and seasonal days (right column)
};

void AddName(std::set<std::string>* names, const char* name) {
    if (name != nullptr && name[0] != '\0') {
        names->insert(name);
    }
}

// The names the cells take from the day lookups, every day of 1900-2100.
CellNames CollectCellNames() {
    static const uint16_t kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    CellNames names;
    for (uint16_t year = 1900; year <= 2100; ++year) {
        for (uint16_t month = 1; month <= 12; ++month) {
            for (uint16_t day = 1; day <= kMonthDays[month - 1]; ++day) {
                const char* name = nullptr;
                LookupHoliday(year, month, day, &name);
                AddName(&names.centred, name);
                if (LookupSolarTerm(year, month, day, &name)) {
                    AddName(&names.right, name);
                }
                const char* second = nullptr;
                if (LookupSeasonalDays(year, month, day, &name, &second)) {
                    AddName(&names.right, name);
                    AddName(&names.right, second);
                }
            }
        }
    }
    return names;
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// With the Japanese font at 96, 120 and 144 dpi: a holiday name centred in the name strip stays
// inside the cell's outline, and a right-column name ends right of the Moon picture.
TEST_F(CalendarDrawing, NamesStayInsideTheirCellsAtEveryDpi) {
    const CellNames names = CollectCellNames();
    ASSERT_TRUE(names.centred.count("振替休日"));
    ASSERT_TRUE(names.centred.count(" 皇太子の結婚の儀"));
    for (int dpi : {96, 120, 144}) {
        const CalendarGeometry g = ComputeCalendarGeometry(dpi);
        HFONT font = CreateFontA(g.noteFont, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH, "ＭＳ ゴシック");
        HGDIOBJ previous = SelectObject(canvas.dc(), font);
        int widest = 0;
        for (const std::string& name : names.centred) {
            const int w = TextWidth(canvas.dc(), name);
            widest = w > widest ? w : widest;
            const int left = g.holidayAt.x - w / 2;
            EXPECT_GE(left, 1) << dpi << " " << name << " " << w;
            EXPECT_LE(left + w, g.cellWidth) << dpi << " " << name << " " << w;
        }
        const int pictureRight = g.pictureAt.x + 32;
        int widestNote = 0;
        for (const std::string& name : names.right) {
            const int w = TextWidth(canvas.dc(), name);
            widestNote = w > widestNote ? w : widestNote;
            EXPECT_GE(g.noteRight - w, pictureRight) << dpi << " " << name << " " << w;
        }
        std::printf("%d dpi: cell %d px, widest holiday name %d px, widest note %d px\n", dpi,
                    g.cellWidth, widest, widestNote);
        SelectObject(canvas.dc(), previous);
        DeleteObject(font);
    }
}

}  // namespace
