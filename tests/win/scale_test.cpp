// The program at the system's scale, run under Wine at 96, 120, 144 and 192 dpi
// (tools/wine-dpi-run.sh gives each dpi a prefix of its own with LogPixels set): the tray icons
// at the small-icon size, pixel for pixel the set drawn for that size, and the calendar's Moon
// pictures at the layout's scale with no text over them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "presentation/calendar_layout.h"
#include "presentation/picture_sizes.h"
#include "resources/resource.h"
#include "tests/win/calendar_test_support.h"
#include "tests/win/tray_test_support.h"
#include "tray/icon_images.h"
#include "tray/tray_icons.h"
#include "ui/calendar_drawing.h"
#include "ui/moon_strip.h"

namespace {

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The small-icon size Windows asks for at each system dpi.
struct Scale {
    int dpi;
    int iconSize;
};
static const Scale kScales[] = {
    { 96, 16},
    {120, 20},
    {144, 24},
    {192, 32},
};

TEST(ScaleTest, RunsAtTheDpiItWasStartedForWithItsIconSize) {
    const char* wanted = std::getenv("NOCTURO_TEST_DPI");
    const int dpi = SystemDpi();
    if (wanted != nullptr) {
        EXPECT_EQ(dpi, std::atoi(wanted));
    }
    bool known = false;
    for (const Scale& s : kScales) {
        if (s.dpi == dpi) {
            known = true;
            EXPECT_EQ(TrayIconSize(), s.iconSize);
            EXPECT_EQ(ChooseTrayPictureSet(TrayIconSize()).set->size, s.iconSize);
        }
    }
    EXPECT_TRUE(known) << dpi;
    std::printf("system dpi %d, small icons %d px\n", dpi, TrayIconSize());
}

// Every pixel of the slot's icon against `expected` (colour; transparent as 0xFFFFFFFF).
void ExpectIcon(int slot, int size, const std::function<uint32_t(int, int)>& expected) {
    const IconPixels read = ReadIcon(TraySlots()[slot].notify.hIcon);
    ASSERT_EQ(read.color.width, size);
    ASSERT_EQ(read.color.height, size);
    ASSERT_EQ(read.mask.width, size);
    int failures = 0;
    for (int y = 0; y < size && failures < 4; ++y) {
        for (int x = 0; x < size && failures < 4; ++x) {
            const uint32_t e = expected(x, y);
            const bool transparent = read.mask.At(x, y) == kWhite;
            const uint32_t got = transparent ? 0xFFFFFFFF : read.color.At(x, y);
            if (got != e) {
                ++failures;
                ADD_FAILURE() << "slot " << slot << " pixel (" << x << ", " << y
                              << "): " << std::hex << got << ", expected " << e;
            }
        }
    }
}

uint32_t Transparent(uint32_t artwork) {
    return artwork == kMagenta ? 0xFFFFFFFF : artwork;
}

TEST(ScaleTest, TrayIconsAreTheSetDrawnForTheirSize) {
    const TrayPictureSet& set = *ChooseTrayPictureSet(TrayIconSize()).set;
    const int n = set.size;
    HINSTANCE module = GetModuleHandleA(nullptr);
    const Pixels moons = ReadBitmapResource(IDB_TRAYMOONS + set.resourceOffset);
    const Pixels tides = ReadBitmapResource(IDB_TIDES + set.resourceOffset);
    ASSERT_EQ(moons.height, n);
    ASSERT_EQ(tides.height, n);
    for (int cell : {0, 7, 14, 27}) {
        BuildPhaseIcon(module, MoonPicture, cell);
        ExpectIcon(MoonIconSlot, n, [&](int x, int y) {
            return Transparent(moons.At(TrayMoonCellX(set, cell) + x, y));
        });
    }
    for (int cell = 0; cell < 5; ++cell) {
        BuildPhaseIcon(module, TidePicture, cell);
        ExpectIcon(TideIconSlot, n,
                   [&](int x, int y) { return Transparent(tides.At(cell * n + x, y)); });
    }
    // Sunday 31 December 2023: the day's number 31 and the weekday 日 in red on the page.
    const Pixels page = ReadBitmapResource(IDB_PAGE + set.resourceOffset);
    const Pixels numbers = ReadBitmapResource(IDB_NUMBERS + set.resourceOffset);
    const Pixels weekdays = ReadBitmapResource(IDB_WEEKDAYS + set.resourceOffset);
    BuildCalendarIcons(module, SYSTEMTIME{2023, 12, 0, 31, 0, 0, 0, 0}, 4);
    struct Calendar {
        int slot;
        const Pixels* strip;
        int cell;
    };
    for (const Calendar& c : {
             Calendar{    DayIconSlot,  &numbers, 30},
             Calendar{WeekdayIconSlot, &weekdays,  0}
    }) {
        ExpectIcon(c.slot, n, [&](int x, int y) {
            const int u = x - set.pageLeft;
            const int v = y - set.pageTop;
            if (u >= 0 && u < set.cellWidth && v >= 0 && v < set.cellHeight) {
                const uint32_t source = c.strip->At(c.cell * set.cellWidth + u, v);
                return source == kMagenta ? 0x00FF0000u : source;
            }
            return Transparent(page.At(x, y));
        });
    }
    ReleaseSlots();
}

// Drawn by the system onto white, as a tray draws it: white through every transparent pixel.
TEST(ScaleTest, TrayIconsShowTheBackgroundThroughTheirKeyColour) {
    const TrayPictureSet& set = *ChooseTrayPictureSet(TrayIconSize()).set;
    const int n = set.size;
    const Pixels moons = ReadBitmapResource(IDB_TRAYMOONS + set.resourceOffset);
    BuildPhaseIcon(GetModuleHandleA(nullptr), MoonPicture, 0);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, n, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ replaced = SelectObject(dc, canvas);
    const RECT whole = {0, 0, n, n};
    FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, TraySlots()[MoonIconSlot].notify.hIcon, n, n, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const uint32_t source = moons.At(x, y);
            const uint32_t shown = static_cast<const uint32_t*>(bits)[y * n + x] & 0xFFFFFF;
            wrong += (source == kMagenta ? kWhite : source) != shown ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    SelectObject(dc, replaced);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseSlots();
}

// Sizes without a set of their own (the small icons of 108 and 168 dpi, or a theme's): the next
// larger set shrunk to the size, the full Moon still a lit disc inside transparent corners, and
// every calendar page opaque in its middle.
TEST(ScaleTest, OtherSizesShrinkTheNextLargerSet) {
    for (int size : {18, 28}) {
        SetTrayIconSizeOverride(size);
        BuildPhaseIcon(GetModuleHandleA(nullptr), MoonPicture, 14);
        BuildCalendarIcons(GetModuleHandleA(nullptr), SYSTEMTIME{2023, 12, 0, 31, 0, 0, 0, 0}, 4);
        const IconPixels moon = ReadIcon(TraySlots()[MoonIconSlot].notify.hIcon);
        const IconPixels day = ReadIcon(TraySlots()[DayIconSlot].notify.hIcon);
        ASSERT_EQ(moon.color.width, size);
        ASSERT_EQ(moon.mask.height, size);
        ASSERT_EQ(day.color.width, size);
        EXPECT_EQ(moon.mask.At(0, 0), kWhite) << size;
        EXPECT_EQ(moon.mask.At(size / 2, size / 2), 0u) << size;
        const uint32_t middle = moon.color.At(size / 2, size / 2);
        EXPECT_GT(middle >> 16, 0xC0u) << std::hex << middle;  // yellow: red and green high
        EXPECT_GT((middle >> 8) & 0xFF, 0xC0u) << std::hex << middle;
        EXPECT_EQ(day.mask.At(size / 2, size / 2), 0u) << size;
        EXPECT_FALSE(TrayIconSizeChanged());
    }
    SetTrayIconSizeOverride(0);
    EXPECT_TRUE(TrayIconSizeChanged());
    ReleaseSlots();
}

// The calendar at `dpi`, ages off: inside each cell's picture square the pixels are
// exactly those of the Moon picture drawn alone on the cell's white, so no text reaches into it,
// and the disc spans the square but one pixel at each side.
void ExpectPicturesUncovered(int dpi) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    const CalendarGeometry g = ComputeCalendarGeometry(dpi);
    ASSERT_EQ(g.pictureSize, CalendarScale(dpi, 32));
    const CalendarPoint extent = CalendarPictureExtent(g);
    ComputeMonthModel(2023, 3);
    const MonthModel model = CurrentMonthModel();

    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, extent.x, -extent.y, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ replaced = SelectObject(dc, canvas);
    CalendarDrawingResources resources = {};
    CalendarPaintMarks marks = {};
    DrawMonthCalendar(dc, model, false, dpi, resources, marks);
    ASSERT_EQ(resources.strip.size, g.pictureSize);

    const int p = g.pictureSize;
    HDC alone = CreateCompatibleDC(dc);
    info.bmiHeader.biWidth = p;
    info.bmiHeader.biHeight = -p;
    void* aloneBits = nullptr;
    HBITMAP aloneBitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &aloneBits, nullptr, 0);
    HGDIOBJ aloneReplaced = SelectObject(alone, aloneBitmap);
    int differing = 0;
    for (int k = 0; k < 42; ++k) {
        const MonthCell& cell = model.cells[k];
        const RECT whole = {0, 0, p, p};
        FillRect(alone, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawMoonPicture(alone, 0, 0, resources.strip, ComposeCalendarCellTexts(cell).frame,
                        cell.outside != 0);
        GdiFlush();
        const CalendarPoint o = CellOrigin(g, k);
        const uint32_t* drawn = static_cast<const uint32_t*>(bits);
        const uint32_t* single = static_cast<const uint32_t*>(aloneBits);
        int left = p;
        int right = -1;
        for (int y = 0; y < p; ++y) {
            for (int x = 0; x < p; ++x) {
                const uint32_t a =
                    drawn[(o.y + g.pictureAt.y + y) * extent.x + o.x + g.pictureAt.x + x] &
                    0xFFFFFF;
                const uint32_t b = single[y * p + x] & 0xFFFFFF;
                differing += a != b ? 1 : 0;
                if (y == p / 2 && b != 0xFFFFFF) {
                    left = x < left ? x : left;
                    right = x > right ? x : right;
                }
            }
        }
        EXPECT_LE(left, 2) << "cell " << k;
        EXPECT_GE(right, p - 3) << "cell " << k;
    }
    EXPECT_EQ(differing, 0);
    std::printf("%d dpi: Moon pictures %d px in cells of %d px\n", dpi, p, g.cellWidth);

    SelectObject(alone, aloneReplaced);
    DeleteObject(aloneBitmap);
    DeleteDC(alone);
    ReleaseCalendarDrawing(resources);
    SelectObject(dc, replaced);
    DeleteObject(canvas);
    DeleteDC(dc);
}

// At the system dpi from its own strip, and at 168 dpi from the 192-dpi strip shrunk.
TEST(ScaleTest, CalendarMoonPicturesAtTheLayoutsScaleUncovered) {
    EnterFixedCalendar();
    ExpectPicturesUncovered(SystemDpi());
    ExpectPicturesUncovered(168);
    LeaveFixedCalendar();
}

}  // namespace
