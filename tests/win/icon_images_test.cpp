#include "tray/icon_images.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "resources/resource.h"
#include "tests/win/tray_test_support.h"
#include "tray/tray_icons.h"

namespace {

constexpr uint32_t kRed = 0x00FF0000;  // 0x00RRGGBB as read back
constexpr uint32_t kBlue = 0x000000FF;
constexpr uint32_t kBlack = 0x00000000;

// What one pixel of a finished icon must be: its colour, and whether it is transparent.
struct ExpectedPixel {
    uint32_t color;
    bool transparent;
};

// A strip pixel as an icon shows it: the key colour becomes transparent (and black in the colour
// bitmap, so that nothing is XOR-ed onto the taskbar), every other colour stays and is opaque.
ExpectedPixel FromArtwork(uint32_t artwork) {
    if (artwork == kMagenta) {
        return {kBlack, true};
    }
    return {artwork, false};
}

// Compares all 256 pixels of the slot's icon with `expected`; reports the first few differences.
void ExpectIcon(int slot, const std::function<ExpectedPixel(int, int)>& expected) {
    HICON icon = TraySlots()[slot].notify.hIcon;
    ASSERT_NE(icon, nullptr);
    IconPixels read = ReadIcon(icon);
    ASSERT_EQ(read.color.width, 16);
    ASSERT_EQ(read.color.height, 16);
    ASSERT_EQ(read.mask.width, 16);
    ASSERT_EQ(read.mask.height, 16);
    int failures = 0;
    for (int y = 0; y < 16 && failures < 4; ++y) {
        for (int x = 0; x < 16 && failures < 4; ++x) {
            ExpectedPixel e = expected(x, y);
            bool transparent = read.mask.At(x, y) == kWhite;
            if (transparent != e.transparent || read.color.At(x, y) != e.color) {
                ++failures;
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): colour " << std::hex
                              << read.color.At(x, y) << " transparent " << transparent
                              << ", expected " << e.color << " transparent " << e.transparent;
            }
        }
    }
}

class IconImagesTest : public testing::Test {
  protected:
    void TearDown() override {
        ReleaseSlots();
    }
};

TEST_F(IconImagesTest, EveryMoonAndTidePictureIsItsCellOfTheStripWithMagentaTransparent) {
    static const struct {
        PhaseIconKind kind;
        int slot;
        int resource;
        int width;
        int cells;
        int step;  // the Moon pictures share their border columns
    } kStrips[] = {
        {MoonPicture, MoonIconSlot, IDB_TRAYMOONS, 421, 28, 15},
        {TidePicture, TideIconSlot,     IDB_TIDES,  80,  5, 16},
    };
    for (const auto& s : kStrips) {
        const Pixels strip = ReadBitmapResource(s.resource);
        ASSERT_EQ(strip.width, s.width);
        ASSERT_EQ(strip.height, 16);
        for (int cell = 0; cell < s.cells; ++cell) {
            SCOPED_TRACE("slot " + std::to_string(s.slot) + " cell " + std::to_string(cell));
            BuildPhaseIcon(GetModuleHandleA(nullptr), s.kind, cell);
            ExpectIcon(s.slot,
                       [&](int x, int y) { return FromArtwork(strip.At(cell * s.step + x, y)); });
        }
    }
    // The artwork itself: transparent corners around opaque Moons.
    const Pixels moons = ReadBitmapResource(IDB_TRAYMOONS);
    const Pixels page = ReadBitmapResource(IDB_PAGE);
    ASSERT_EQ(page.width, 16);
    EXPECT_EQ(moons.At(0, 0), kMagenta);
    EXPECT_NE(moons.At(7, 7), kMagenta);
    EXPECT_EQ(page.At(0, 15), kMagenta);
    EXPECT_EQ(page.At(15, 0), kMagenta);
}

TEST_F(IconImagesTest, RebuildingReleasesThePreviousIconAndMask) {
    BuildPhaseIcon(GetModuleHandleA(nullptr), MoonPicture, 3);
    TrayIconSlot& slot = TraySlots()[MoonIconSlot];
    HICON firstIcon = slot.notify.hIcon;
    HBITMAP firstMask = slot.maskBitmap;
    ASSERT_NE(firstIcon, nullptr);
    ASSERT_NE(firstMask, nullptr);
    BuildPhaseIcon(GetModuleHandleA(nullptr), MoonPicture, 4);
    EXPECT_NE(slot.notify.hIcon, firstIcon);
    EXPECT_NE(slot.maskBitmap, firstMask);
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(firstIcon, &info));
    BITMAP bitmap;
    EXPECT_EQ(GetObjectA(firstMask, sizeof bitmap, &bitmap), 0);
    // The colour bitmap went as soon as the icon was made from it.
    EXPECT_EQ(slot.colorBitmap, nullptr);
}

TEST_F(IconImagesTest, ReleaseSlotsFreesEveryIconAndMask) {
    BuildPhaseIcon(GetModuleHandleA(nullptr), MoonPicture, 0);
    BuildPhaseIcon(GetModuleHandleA(nullptr), TidePicture, 0);
    BuildCalendarIcons(GetModuleHandleA(nullptr), SYSTEMTIME{2000, 1, 6, 1, 0, 0, 0, 0}, 0);
    HBITMAP masks[TrayIconCount];
    for (int i = 0; i < TrayIconCount; ++i) {
        masks[i] = TraySlots()[i].maskBitmap;
        ASSERT_NE(masks[i], nullptr) << "slot " << i;
    }
    ReleaseSlots();
    for (int i = 0; i < TrayIconCount; ++i) {
        EXPECT_EQ(TraySlots()[i].notify.hIcon, nullptr);
        EXPECT_EQ(TraySlots()[i].maskBitmap, nullptr);
        BITMAP bitmap;
        EXPECT_EQ(GetObjectA(masks[i], sizeof bitmap, &bitmap), 0) << "slot " << i;
    }
}

// --- Calendar pictures --------------------------------------------------------------------------

struct CalendarCase {
    const char* name;
    SYSTEMTIME date;  // year, month, weekday, day
    int32_t dayKind;
    uint32_t stroke;
};

std::ostream& operator<<(std::ostream& os, const CalendarCase& c) {
    return os << c.name;
}

static const CalendarCase kCalendarCases[] = {
    {      "SaturdayNationalHoliday",   {2000, 1, 6, 1, 0, 0, 0, 0}, 0,   kRed},
    {          "SaturdayAnniversary",   {2000, 1, 6, 8, 0, 0, 0, 0}, 2,  kBlue},
    {"PlainSaturdayLastDayOfTheYear", {2005, 12, 6, 31, 0, 0, 0, 0}, 4,  kBlue},
    {                  "PlainSunday",   {2000, 1, 0, 9, 0, 0, 0, 0}, 4,   kRed},
    {              "WednesdayDayOff",  {2009, 9, 3, 23, 0, 0, 0, 0}, 1,   kRed},
    {           "WednesdaySolarTerm",  {2000, 3, 3, 15, 0, 0, 0, 0}, 3, kBlack},
    {                "PlainThursday", {2000, 11, 4, 30, 0, 0, 0, 0}, 4, kBlack},
};

class CalendarPictureTest : public testing::TestWithParam<CalendarCase> {
  protected:
    void TearDown() override {
        ReleaseSlots();
    }
};

// Page outside the writing area, the strip's cell inside it with its magenta strokes in the colour
// of the day: nothing inside the writing area is ever transparent.
TEST_P(CalendarPictureTest, PageWithTheCellInTheColourOfTheDay) {
    const CalendarCase& c = GetParam();
    Pixels page = ReadBitmapResource(IDB_PAGE);
    Pixels numbers = ReadBitmapResource(IDB_NUMBERS);
    Pixels weekdays = ReadBitmapResource(IDB_WEEKDAYS);
    ASSERT_EQ(numbers.width, 372);
    ASSERT_EQ(numbers.height, 10);
    ASSERT_EQ(weekdays.width, 84);
    ASSERT_EQ(weekdays.height, 10);

    BuildCalendarIcons(GetModuleHandleA(nullptr), c.date, c.dayKind);

    struct Picture {
        int slot;
        const Pixels* strip;
        int cell;
    };
    const Picture pictures[] = {
        {  MonthIconSlot,  &numbers, c.date.wMonth - 1},
        {    DayIconSlot,  &numbers,   c.date.wDay - 1},
        {WeekdayIconSlot, &weekdays, c.date.wDayOfWeek},
    };
    bool strokeSeen = false;
    for (const Picture& p : pictures) {
        SCOPED_TRACE("slot " + std::to_string(p.slot));
        ExpectIcon(p.slot, [&](int x, int y) -> ExpectedPixel {
            if (x >= 1 && x < 13 && y >= 4 && y < 14) {
                uint32_t source = p.strip->At(p.cell * 12 + x - 1, y - 4);
                if (source == kMagenta) {
                    strokeSeen = true;
                    return {c.stroke, false};
                }
                return {source, false};
            }
            return FromArtwork(page.At(x, y));
        });
    }
    EXPECT_TRUE(strokeSeen) << "the cells hold no strokes";
}

INSTANTIATE_TEST_SUITE_P(Days, CalendarPictureTest, testing::ValuesIn(kCalendarCases),
                         [](const testing::TestParamInfo<CalendarCase>& info) {
                             return std::string(info.param.name);
                         });

// --- The two helpers ----------------------------------------------------------------------------

TEST(CopyBitmapAreaTest, LastMoonCellEndsAtTheStripsLastColumnMissingResourceFails) {
    HDC screen = GetDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(CopyBitmapArea(GetModuleHandleA(nullptr), target, 0, 0, 16, 16, IDB_TRAYMOONS,
                               27 * 15, nullptr));
    const Pixels strip = ReadBitmapResource(IDB_TRAYMOONS);
    const Pixels before = ReadBitmap(target);
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(before.At(15, y), strip.At(420, y)) << "row " << y;
    }
    // A missing resource leaves the target alone.
    EXPECT_FALSE(CopyBitmapArea(GetModuleHandleA(nullptr), target, 0, 0, 16, 16, 9999, 0, nullptr));
    COLORMAP mapping = {kKeyColor, RGB(255, 0, 0)};
    EXPECT_FALSE(
        CopyBitmapArea(GetModuleHandleA(nullptr), target, 0, 0, 16, 16, 9999, 0, &mapping));
    EXPECT_EQ(ReadBitmap(target).rgb, before.rgb);
    DeleteObject(target);
}

TEST(MakeMaskTest, MaskIsSetExactlyOnMagentaWhichTurnsBlack) {
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, color);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            // Magenta on the diagonal, near-magenta and white elsewhere.
            COLORREF c = x == y        ? RGB(255, 0, 255)
                         : (x + y) % 2 ? RGB(254, 0, 255)
                                       : RGB(255, 255, 255);
            SetPixel(dc, x, y, c);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ASSERT_TRUE(MakeMask(color, mask));
    Pixels m = ReadBitmap(mask);
    Pixels c = ReadBitmap(color);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(m.At(x, y) == kWhite, x == y) << x << ", " << y;
            EXPECT_EQ(c.At(x, y) == kBlack, x == y) << x << ", " << y;
        }
    }
    DeleteObject(mask);
    DeleteObject(color);
}

}  // namespace
