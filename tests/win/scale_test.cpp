// The program at the system's scale, run under Wine at 120, 144 and 192 dpi (tools/wine-dpi-run.sh
// gives each dpi a prefix of its own with LogPixels set): tray icons at the small-icon size, pixel
// for pixel the set drawn for it, and the calendar's Moon pictures at the layout's scale,
// uncovered.
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
#include "ui/calendar_drawing.h"

namespace {

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST(ScaleTest, RunsAtItsDpiWithTheSmallIconSizeOfIt) {
    static const struct {
        int dpi;
        int iconSize;
    } kScales[] = {
        { 96, 16},
        {120, 20},
        {144, 24},
        {192, 32}
    };
    const char* wanted = std::getenv("NOCTURO_TEST_DPI");
    const int dpi = SystemDpi();
    EXPECT_EQ(dpi, wanted != nullptr ? std::atoi(wanted) : dpi);
    int expected = 0;
    for (const auto& s : kScales) {
        expected = s.dpi == dpi ? s.iconSize : expected;
    }
    EXPECT_EQ(TrayIconSize(), expected) << dpi;
    std::printf("system dpi %d, small icons %d px\n", dpi, TrayIconSize());
}

// Every pixel of the slot's icon against `expected` (a colour, or 0xFFFFFFFF for transparent).
void ExpectIcon(int slot, int size, const std::function<uint32_t(int, int)>& expected) {
    const IconPixels read = ReadIcon(TraySlots()[slot].notify.hIcon);
    ASSERT_EQ(read.color.width, size);
    ASSERT_EQ(read.mask.height, size);
    int failures = 0;
    for (int y = 0; y < size && failures < 4; ++y) {
        for (int x = 0; x < size && failures < 4; ++x) {
            const uint32_t got = read.mask.At(x, y) == kWhite ? 0xFFFFFFFF : read.color.At(x, y);
            if (got != expected(x, y)) {
                ++failures;
                ADD_FAILURE() << "slot " << slot << " (" << x << ", " << y << "): " << std::hex
                              << got << ", expected " << expected(x, y);
            }
        }
    }
}

uint32_t Transparent(uint32_t artwork) {
    return artwork == kMagenta ? 0xFFFFFFFF : artwork;
}

// The Moon, tide and day icons are the cells of the set for the size, not a 16-pixel picture
// stretched; on Sunday 31 December 2023 the day's strokes are red on the page.
TEST(ScaleTest, TrayIconsAreTheSetDrawnForTheirSize) {
    const TrayPictureSet& set = *ChooseTrayPictureSet(TrayIconSize()).set;
    const int n = set.size;
    HINSTANCE module = GetModuleHandleW(nullptr);
    const Pixels moons = ReadBitmapResource(IDB_TRAYMOONS + set.resourceOffset);
    const Pixels tides = ReadBitmapResource(IDB_TIDES + set.resourceOffset);
    const Pixels page = ReadBitmapResource(IDB_PAGE + set.resourceOffset);
    const Pixels numbers = ReadBitmapResource(IDB_NUMBERS + set.resourceOffset);
    for (int cell : {0, 14, 27}) {
        BuildPhaseIcon(module, MoonPicture, cell);
        ExpectIcon(MoonIconSlot, n, [&](int x, int y) {
            return Transparent(moons.At(TrayMoonCellX(set, cell) + x, y));
        });
    }
    BuildPhaseIcon(module, TidePicture, 4);
    ExpectIcon(TideIconSlot, n, [&](int x, int y) { return Transparent(tides.At(4 * n + x, y)); });
    BuildCalendarIcons(module, SYSTEMTIME{2023, 12, 0, 31, 0, 0, 0, 0}, 4);
    ExpectIcon(DayIconSlot, n, [&](int x, int y) {
        const int u = x - set.pageLeft;
        const int v = y - set.pageTop;
        if (u < 0 || u >= set.cellWidth || v < 0 || v >= set.cellHeight) {
            return Transparent(page.At(x, y));
        }
        const uint32_t source = numbers.At(30 * set.cellWidth + u, v);
        return source == kMagenta ? 0x00FF0000u : source;
    });
    ReleaseSlots();
}

// Sizes without a set of their own (the small icons of 108 and 168 dpi): the next larger set
// shrunk, the full Moon a lit disc in transparent corners, the page opaque in its middle.
TEST(ScaleTest, OtherSizesShrinkTheNextLargerSet) {
    for (int size : {18, 28}) {
        SetTrayIconSizeOverride(size);
        BuildPhaseIcon(GetModuleHandleW(nullptr), MoonPicture, 14);
        BuildCalendarIcons(GetModuleHandleW(nullptr), SYSTEMTIME{2023, 12, 0, 31, 0, 0, 0, 0}, 4);
        const IconPixels moon = ReadIcon(TraySlots()[MoonIconSlot].notify.hIcon);
        const IconPixels day = ReadIcon(TraySlots()[DayIconSlot].notify.hIcon);
        ASSERT_TRUE(moon.mask.width == size && day.color.height == size) << size;
        EXPECT_EQ(moon.mask.At(0, 0), kWhite) << size;
        EXPECT_EQ(moon.mask.At(size / 2, size / 2), 0u) << size;
        EXPECT_EQ(moon.color.At(size / 2, size / 2) & 0xC0C000u, 0xC0C000u) << size;  // yellow
        EXPECT_EQ(day.mask.At(size / 2, size / 2), 0u) << size;
        EXPECT_FALSE(TrayIconSizeChanged());
    }
    SetTrayIconSizeOverride(0);
    EXPECT_TRUE(TrayIconSizeChanged());
    ReleaseSlots();
}

// A top-down 32-bit DIB section of width x height selected into a new memory DC.
struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ replaced;
    const uint32_t* bits;
};
Surface MakeSurface(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    Surface s = {CreateCompatibleDC(nullptr), nullptr, nullptr, nullptr};
    s.bitmap = CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    s.replaced = SelectObject(s.dc, s.bitmap);
    s.bits = static_cast<const uint32_t*>(bits);
    return s;
}
void FreeSurface(const Surface& s) {
    SelectObject(s.dc, s.replaced);
    DeleteObject(s.bitmap);
    DeleteDC(s.dc);
}

// The calendar at `dpi`, ages off: in each cell's picture square the pixels are exactly those of
// the Moon picture drawn alone on white, so no text reaches into it, and the disc spans the square
// but a pixel or two at each side.
void ExpectPicturesUncovered(int dpi) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    const CalendarGeometry g = ComputeCalendarGeometry(dpi);
    const CalendarPoint extent = CalendarPictureExtent(g);
    const int p = g.pictureSize;
    ComputeMonthModel(2023, 3);
    const MonthModel model = CurrentMonthModel();
    const Surface calendar = MakeSurface(extent.x, extent.y);
    const Surface alone = MakeSurface(p, p);
    CalendarDrawingResources resources = {};
    CalendarPaintMarks marks = {};
    DrawMonthCalendar(calendar.dc, model, false, dpi, resources, marks);
    EXPECT_EQ(resources.strip.size, CalendarScale(dpi, 32));
    int differing = 0;
    for (int k = 0; k < 42 && resources.strip.size == p; ++k) {
        const RECT whole = {0, 0, p, p};
        FillRect(alone.dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawMoonPicture(alone.dc, 0, 0, resources.strip,
                        ComposeCalendarCellTexts(model.cells[k]).frame, model.cells[k].outside);
        GdiFlush();
        const CalendarPoint o = CellOrigin(g, k);
        int left = p;
        int right = -1;
        for (int y = 0; y < p; ++y) {
            for (int x = 0; x < p; ++x) {
                const int at = (o.y + g.pictureAt.y + y) * extent.x + o.x + g.pictureAt.x + x;
                const uint32_t single = alone.bits[y * p + x] & 0xFFFFFF;
                differing += (calendar.bits[at] & 0xFFFFFF) != single ? 1 : 0;
                left = y == p / 2 && single != 0xFFFFFF && x < left ? x : left;
                right = y == p / 2 && single != 0xFFFFFF ? x : right;
            }
        }
        EXPECT_LE(left, 2) << "cell " << k;
        EXPECT_GE(right, p - 3) << "cell " << k;
    }
    EXPECT_EQ(differing, 0);
    std::printf("%d dpi: Moon pictures %d px in cells of %d px\n", dpi, p, g.cellWidth);
    ReleaseCalendarDrawing(resources);
    FreeSurface(alone);
    FreeSurface(calendar);
}

// At the system dpi from its own strip, and at 168 dpi from the 192-dpi strip shrunk.
TEST(ScaleTest, CalendarMoonPicturesAtTheLayoutsScaleUncovered) {
    EnterFixedCalendar();
    ExpectPicturesUncovered(SystemDpi());
    ExpectPicturesUncovered(168);
    LeaveFixedCalendar();
}

}  // namespace
