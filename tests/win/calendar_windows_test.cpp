// The Moon information and calendar windows opened through their openers, modally, as the tray
// opens them: the checks run from a timer inside the modal loop, which closes the window at the
// end. A watchdog timer closes any window a failed check left open.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "presentation/calendar_layout.h"
#include "resources/resource.h"
#include "tests/win/calendar_test_support.h"
#include "ui/calendar_drawing.h"
#include "ui/calendar_window.h"
#include "ui/moon_info_dialog.h"

namespace {

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemText(HWND dialog, int id) {
    return Text(GetDlgItem(dialog, id));
}

std::string LoadedString(int id) {
    char text[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct WindowCount {
    const char* caption;
    int count;
};

BOOL CALLBACK CountCaption(HWND window, LPARAM context) {
    WindowCount* c = reinterpret_cast<WindowCount*>(context);
    if (IsWindowVisible(window) && Text(window) == c->caption) {
        c->count++;
    }
    return TRUE;
}

int WindowsCaptioned(const char* caption) {
    WindowCount c = {caption, 0};
    EnumThreadWindows(GetCurrentThreadId(), CountCaption, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

// The checks of the test under way, run once from inside the modal loop.
void (*insideChecks)() = nullptr;
HWND (*openWindow)() = nullptr;

void CALLBACK RunChecks(HWND, UINT, UINT_PTR timer, DWORD) {
    // A dialog without WS_VISIBLE is shown when its loop first runs out of messages, which may
    // come after this timer's first tick.
    HWND shown = openWindow();
    if (shown == nullptr || !IsWindowVisible(shown)) {
        return;
    }
    KillTimer(nullptr, timer);
    if (insideChecks != nullptr) {
        insideChecks();
    }
    HWND window = openWindow();
    if (window != nullptr) {
        SendMessageA(window, WM_COMMAND, IDOK, 0);
    }
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND window = openWindow();
    if (window != nullptr) {
        ADD_FAILURE() << "window still open after 20 s";
        EndDialog(window, 1);
    }
}

// Runs opener modally with `checks` called from inside its loop.
void RunModal(void (*opener)(HWND), HWND (*window)(), void (*checks)()) {
    insideChecks = checks;
    openWindow = window;
    const UINT_PTR checkTimer = SetTimer(nullptr, 0, 100, RunChecks);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, Watchdog);
    opener(nullptr);
    KillTimer(nullptr, checkTimer);
    KillTimer(nullptr, watchdog);
    insideChecks = nullptr;
}

HWND MoonInfoWindow() {
    return GetMoonInfoDialogState().open ? GetMoonInfoDialogState().window : nullptr;
}

HWND CalendarWindow() {
    return GetMoonCalendarDialogState().open ? GetMoonCalendarDialogState().window : nullptr;
}

bool showAgeSetting = true;
int showAgeWrites = 0;

bool ReadShowAgeSetting() {
    return showAgeSetting;
}

void WriteShowAgeSetting(bool on) {
    showAgeSetting = on;
    showAgeWrites++;
}

class CalendarWindows : public testing::Test {
  protected:
    void SetUp() override {
        EnterFixedCalendar();
        showAgeSetting = true;
        showAgeWrites = 0;
        WindowServices services = {};
        services.module = GetModuleHandleA(nullptr);
        services.readShowAge = ReadShowAgeSetting;
        services.writeShowAge = WriteShowAgeSetting;
        SetWindowServices(services);
    }
    void TearDown() override {
        LeaveFixedCalendar();
    }
};

// 1 January 2005, 09:00 in Japan (00:00 UTC).
void CheckMoonInfoAtNewYear2005() {
    HWND dialog = MoonInfoWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), "Nocturo");
    EXPECT_EQ(ItemText(dialog, IDC_AGE), " 19.94");
    EXPECT_EQ(ItemText(dialog, IDC_FRACTION), " 76.03%");
    const std::string newMoon = ItemText(dialog, IDC_PREVIOUSNEW);
    const std::string fullMoon = ItemText(dialog, IDC_NEXTFULL);
    EXPECT_EQ(newMoon.rfind("2004", 0), 0u) << newMoon;
    EXPECT_TRUE(EndsWith(newMoon, " 10:29")) << newMoon;
    EXPECT_NE(newMoon.find("12"), std::string::npos) << newMoon;
    EXPECT_EQ(fullMoon.rfind("2005", 0), 0u) << fullMoon;
    EXPECT_TRUE(EndsWith(fullMoon, " 19:32")) << fullMoon;
    // The day's events at the default place, Tokyo, rounded to the minute.
    EXPECT_EQ(ItemText(dialog, IDC_RISEPLACE), "今日の月と太陽（東京）");
    EXPECT_EQ(ItemText(dialog, IDC_MOONTIMES), "月の出 21:45  南中 03:38  月の入 10:21");
    EXPECT_EQ(ItemText(dialog, IDC_SUNTIMES), "日の出 06:51  日の入 16:39");
    // The Moon's events reach their lines (their texts are the presentation layer's).
    EXPECT_EQ(ItemText(dialog, IDC_MOONDISTANCE).rfind("月までの距離 ", 0), 0u);
    EXPECT_EQ(ItemText(dialog, IDC_NEXTECLIPSE).rfind("次に見える食 2005年", 0), 0u);
    EXPECT_EQ(ItemText(dialog, IDC_NEARESTFULL).rfind("今年最も近い満月 ", 0), 0u);
    const MoonInfoDialogState& state = GetMoonInfoDialogState();
    EXPECT_NEAR(state.slots[0].angle, 238.63, 0.01);
    for (const MoonPictureSlot& slot : state.slots) {
        EXPECT_NE(slot.bitmap, nullptr);
        EXPECT_GT(slot.x, 0);
        EXPECT_GT(slot.y, 0);
    }
    // A second opening only brings the window to the front.
    OpenMoonInfoDialog(nullptr);
    EXPECT_EQ(WindowsCaptioned("Nocturo"), 1);
    // The tick refresh recomputes for the clock of the moment.
    SetFixedLocalClock(2000, 1, 1, 21, 0);  // 12:00 UTC
    RefreshMoonInfoDialog();
    EXPECT_EQ(ItemText(dialog, IDC_AGE), " 24.56");
    EXPECT_EQ(ItemText(dialog, IDC_FRACTION), " 22.80%");
}

TEST_F(CalendarWindows, MoonInfoShowsTheFiguresOfTheClock) {
    SetFixedLocalClock(2005, 1, 1, 9, 0);
    RefreshMoonInfoDialog();  // closed: nothing happens
    EXPECT_EQ(GetMoonInfoDialogState().slots[0].bitmap, nullptr);
    RunModal(OpenMoonInfoDialog, MoonInfoWindow, CheckMoonInfoAtNewYear2005);
    EXPECT_FALSE(GetMoonInfoDialogState().open);
    for (const MoonPictureSlot& slot : GetMoonInfoDialogState().slots) {
        EXPECT_EQ(slot.bitmap, nullptr);
    }
}

void Command(HWND dialog, int id, int times = 1) {
    for (int i = 0; i < times; ++i) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
}

// A click on the button itself, as a user (or a script) gives it, disabled or not.
void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ExpectPosition(uint16_t year, uint16_t month) {
    const MoonCalendarDialogState& state = GetMoonCalendarDialogState();
    EXPECT_EQ(state.position.year, year);
    EXPECT_EQ(state.position.month, month);
    EXPECT_EQ(CurrentMonthModel().year, year);
    EXPECT_EQ(CurrentMonthModel().month, month);
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void CheckCalendarButtonsAndAge() {
    HWND dialog = CalendarWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), "Moon Calendar");
    ExpectPosition(2026, 12);
    EXPECT_EQ(GetMoonCalendarDialogState().dpi, 96);

    // The age switch and its caption.
    EXPECT_EQ(ItemText(dialog, IDC_AGETOGGLE), LoadedString(IDS_HIDEAGE));
    Command(dialog, IDC_AGETOGGLE);
    EXPECT_FALSE(GetMoonCalendarDialogState().showAge);
    EXPECT_EQ(ItemText(dialog, IDC_AGETOGGLE), LoadedString(IDS_SHOWAGE));

    // Down to January 1900: both backward buttons off, and their clicks refused.
    Command(dialog, IDC_PREVYEAR, 126);
    ExpectPosition(1900, 12);
    EXPECT_FALSE(Enabled(dialog, IDC_PREVYEAR));
    EXPECT_TRUE(Enabled(dialog, IDC_PREVMONTH));
    Command(dialog, IDC_PREVMONTH, 11);
    ExpectPosition(1900, 1);
    EXPECT_FALSE(Enabled(dialog, IDC_PREVMONTH));
    EXPECT_TRUE(Enabled(dialog, IDC_NEXTMONTH));
    Click(dialog, IDC_PREVMONTH);
    Click(dialog, IDC_PREVYEAR);
    ExpectPosition(1900, 1);

    // Up to December 2100.
    Command(dialog, IDC_TODAY);
    ExpectPosition(2026, 12);
    Command(dialog, IDC_NEXTYEAR, 74);
    ExpectPosition(2100, 12);
    EXPECT_FALSE(Enabled(dialog, IDC_NEXTYEAR));
    EXPECT_FALSE(Enabled(dialog, IDC_NEXTMONTH));
    EXPECT_TRUE(Enabled(dialog, IDC_PREVYEAR));
    Click(dialog, IDC_NEXTMONTH);
    Click(dialog, IDC_NEXTYEAR);
    ExpectPosition(2100, 12);
    Command(dialog, IDC_PREVMONTH);
    ExpectPosition(2100, 11);
    EXPECT_TRUE(Enabled(dialog, IDC_NEXTMONTH));
    EXPECT_FALSE(Enabled(dialog, IDC_NEXTYEAR));

    // A second opening only brings the window to the front.
    OpenMoonCalendarDialog(nullptr);
    EXPECT_EQ(WindowsCaptioned("Moon Calendar"), 1);
}

TEST_F(CalendarWindows, CalendarButtonsStopAtTheRangeAndTheAgeSwitchIsRemembered) {
    RunModal(OpenMoonCalendarDialog, CalendarWindow, CheckCalendarButtonsAndAge);
    EXPECT_FALSE(GetMoonCalendarDialogState().open);
    EXPECT_EQ(showAgeWrites, 1);
    EXPECT_FALSE(showAgeSetting);
}

void CheckCalendarFollowsTheClock() {
    HWND dialog = CalendarWindow();
    ASSERT_NE(dialog, nullptr);
    ExpectPosition(2026, 12);
    UpdateWindow(dialog);
    EXPECT_TRUE(GetMoonCalendarDialogState().marks.todayShown);
    EXPECT_EQ(GetMoonCalendarDialogState().marks.markedDay, 31);

    // The last midnight of the month: the window turns to January with the clock.
    SetFixedLocalClock(2027, 1, 1, 0, 0);
    RefreshMoonCalendarDialog(false);
    ExpectPosition(2027, 1);
    UpdateWindow(dialog);
    EXPECT_TRUE(GetMoonCalendarDialogState().marks.todayShown);
    EXPECT_EQ(GetMoonCalendarDialogState().marks.markedDay, 1);
    EXPECT_TRUE(Enabled(dialog, IDC_NEXTYEAR));

    // Moves are relative to the month on display; another month stays over the next midnight.
    Command(dialog, IDC_PREVMONTH);
    ExpectPosition(2026, 12);
    UpdateWindow(dialog);
    EXPECT_FALSE(GetMoonCalendarDialogState().marks.todayShown);
    SetFixedLocalClock(2027, 1, 2, 0, 0);
    RefreshMoonCalendarDialog(false);
    ExpectPosition(2026, 12);

    // A change of time zone recomputes the month for the new zone.
    SetTimeZoneBiasOverride(300);
    RefreshMoonCalendarDialog(false);
    EXPECT_EQ(CurrentMonthModel().bias, 300);
    ExpectPosition(2026, 12);
    SetTimeZoneBiasOverride(-540);

    // The full refresh computes the month again, for new custom holidays.
    CustomHoliday dayOff = {};
    dayOff.kind = DayOff;
    dayOff.firstYear = 2026;
    dayOff.lastYear = 2026;
    dayOff.rule = ByDate;
    dayOff.month = 12;
    dayOff.day = 24;
    std::strcpy(dayOff.name, "休業日");
    ASSERT_GE(InsertCustomHoliday(dayOff), 0);
    InvalidateHolidayCache();
    RefreshMoonCalendarDialog(true);
    bool found = false;
    for (const MonthCell& cell : CurrentMonthModel().cells) {
        found = found || (!cell.outside && cell.day == 24 && cell.holidayKind == DayOff);
    }
    EXPECT_TRUE(found);
}

TEST_F(CalendarWindows, CalendarFollowsTheClockOnlyFromToday) {
    SetFixedLocalClock(2026, 12, 31, 23, 59);
    RunModal(OpenMoonCalendarDialog, CalendarWindow, CheckCalendarFollowsTheClock);
    EXPECT_FALSE(GetMoonCalendarDialogState().open);
    EXPECT_EQ(showAgeWrites, 1);
    EXPECT_TRUE(showAgeSetting);
}

// The pointer on a day: the window's one tooltip speaks of that day, in words, with its selected
// days only while they are switched on. 15 March 2024 is 天赦日 and 一粒万倍日 at once.
void CheckDayTooltip() {
    HWND dialog = CalendarWindow();
    ASSERT_NE(dialog, nullptr);
    const MoonCalendarDialogState& state = GetMoonCalendarDialogState();
    ASSERT_NE(state.dayTip, nullptr);
    EXPECT_EQ(SendMessageW(state.dayTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    const CalendarGeometry g = ComputeCalendarGeometry(state.dpi);
    int32_t k = 0;
    while (k < 42 &&
           (CurrentMonthModel().cells[k].outside || CurrentMonthModel().cells[k].day != 15)) {
        ++k;
    }
    const CalendarPoint o = CellOrigin(g, k);
    SendMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(o.x + 5, o.y + 5));
    EXPECT_EQ(state.hoverCell, k);
    const std::wstring on = CalendarDayTipText(k);
    EXPECT_NE(on.find(L"2024年（令和6年）3月15日"), std::wstring::npos);
    EXPECT_NE(on.find(L"天赦日・一粒万倍日"), std::wstring::npos);
    EXPECT_NE(on.find(L"場所 東京\r\n月の出 "), std::wstring::npos);
    SetCalendarNotesShown(false);
    EXPECT_EQ(CalendarDayTipText(k).find(L"天赦日"), std::wstring::npos);
    SetCalendarNotesShown(true);
    SendMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(state.hoverCell, -1);
}

TEST_F(CalendarWindows, ThePointerOnADayShowsItInWords) {
    SetFixedLocalClock(2024, 3, 10);
    RunModal(OpenMoonCalendarDialog, CalendarWindow, CheckDayTooltip);
}

// A key as the modal loop shows it to the window's filter before the dialog manager: whichever
// control it is sent to. Returns whether the calendar took it.
bool Key(HWND to, WPARAM key) {
    MSG msg = {
        to, WM_KEYDOWN, key, 0, 0, {0, 0}
    };
    return CallMsgFilterW(&msg, MSGF_DIALOGBOX) != FALSE;
}

uint16_t ChosenDay() {
    return GetMoonCalendarDialogState().chosenDay;
}

// The keys, the wheel and a click, on the grid and on a button alike; today is 8 December 2026.
void CheckCalendarKeysAndWheel() {
    HWND dialog = CalendarWindow();
    ASSERT_NE(dialog, nullptr);
    HWND today = GetDlgItem(dialog, IDC_TODAY);
    EXPECT_EQ(GetFocus(), dialog);
    EXPECT_EQ(ChosenDay(), 8);
    EXPECT_TRUE(Key(today, VK_NEXT));
    ExpectPosition(2027, 1);
    EXPECT_EQ(ChosenDay(), 1);
    EXPECT_TRUE(Key(dialog, VK_LEFT));
    ExpectPosition(2026, 12);
    EXPECT_EQ(ChosenDay(), 31);
    SetFocus(today);
    EXPECT_FALSE(Key(today, VK_RETURN));  // a focused button is pressed as in any dialog
    // Half notches add up to one: a month back.
    SendMessageW(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    ExpectPosition(2026, 12);
    SendMessageW(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    ExpectPosition(2026, 11);
    EXPECT_TRUE(Key(dialog, VK_HOME));
    ExpectPosition(2026, 12);
    EXPECT_EQ(ChosenDay(), 8);
    // A click on a day of the next month turns the page to it.
    const CalendarPoint o =
        CellOrigin(ComputeCalendarGeometry(GetMoonCalendarDialogState().dpi), 41);
    const uint16_t last = CurrentMonthModel().cells[41].day;
    SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(o.x + 5, o.y + 5));
    ExpectPosition(2027, 1);
    EXPECT_EQ(ChosenDay(), last);
    EXPECT_EQ(GetFocus(), dialog);
    EXPECT_TRUE(Key(today, VK_ESCAPE));
}

TEST_F(CalendarWindows, KeysWheelAndClicksMoveTheMonthAndTheChosenDay) {
    SetFixedLocalClock(2026, 12, 8);
    RunModal(OpenMoonCalendarDialog, CalendarWindow, CheckCalendarKeysAndWheel);
    EXPECT_FALSE(GetMoonCalendarDialogState().open);
}

// Opened on a given day (a reminder's): that month, that day chosen, whatever the clock.
void OpenOnFourteenthOfFebruary2030(HWND owner) {
    OpenMoonCalendarDialogOn(owner, 2030, 2, 14);
}

void CheckOpenedOnADay() {
    ExpectPosition(2030, 2);
    EXPECT_EQ(ChosenDay(), 14);
}

TEST_F(CalendarWindows, OpensOnAGivenDay) {
    RunModal(OpenOnFourteenthOfFebruary2030, CalendarWindow, CheckOpenedOnADay);
}

// Opened on a clock outside the range, the window shows the clock's own month; the moves only
// lead back toward the range.
void CheckCalendarBeyond2100() {
    HWND dialog = CalendarWindow();
    ASSERT_NE(dialog, nullptr);
    ExpectPosition(2101, 3);
    EXPECT_FALSE(Enabled(dialog, IDC_NEXTYEAR));
    Click(dialog, IDC_NEXTYEAR);
    ExpectPosition(2101, 3);
    Command(dialog, IDC_PREVYEAR);
    ExpectPosition(2100, 3);
}

TEST_F(CalendarWindows, CalendarOnAClockBeyond2100) {
    SetFixedLocalClock(2101, 3, 1);
    RunModal(OpenMoonCalendarDialog, CalendarWindow, CheckCalendarBeyond2100);
}

// On a display that works with a palette each window holds its palette while open and paints
// with it; the palette goes with the window.
void CheckPaletteHeld() {
    HWND window = MoonInfoWindow() != nullptr ? MoonInfoWindow() : CalendarWindow();
    ASSERT_NE(window, nullptr);
    const PaletteContext& palette = MoonInfoWindow() != nullptr
                                        ? GetMoonInfoDialogState().palette
                                        : GetMoonCalendarDialogState().palette;
    EXPECT_NE(palette.palette, nullptr);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(palette.previousPalette, nullptr);
}

TEST_F(CalendarWindows, PaletteDisplayWindowsHoldTheirPaletteWhileOpen) {
    SetPaletteDisplayMode(PaletteDisplayMode::Palette);
    RunModal(OpenMoonInfoDialog, MoonInfoWindow, CheckPaletteHeld);
    RunModal(OpenMoonCalendarDialog, CalendarWindow, CheckPaletteHeld);
    SetPaletteDisplayMode(PaletteDisplayMode::Device);
    EXPECT_EQ(GetMoonInfoDialogState().palette.palette, nullptr);
    EXPECT_EQ(GetMoonCalendarDialogState().palette.palette, nullptr);
}

}  // namespace
