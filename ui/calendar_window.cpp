#include "ui/calendar_window.h"

#include <commctrl.h>

#include "astro/civil_dates.h"
#include "calendar/month_model.h"
#include "presentation/almanac_texts.h"
#include "presentation/rise_set_text.h"
#include "presentation/calendar_layout.h"
#include "presentation/moon_events.h"
#include "resources/resource.h"
#include "ui/day_detail_dialog.h"
#include "ui/dialogs.h"
#include "ui/moon_strip.h"
#include "ui/ui_clock.h"
#include "ui/ui_place.h"
#include "ui/win32_text.h"

namespace {

MoonCalendarDialogState calendar = {};

// The day the next opening shows and chooses instead of today (OpenMoonCalendarDialogOn).
CalendarChoice openingDay = {};

// The move buttons and the commands they give.
struct MoveButton {
    int id;
    CalendarCommand command;
};
static const MoveButton kMoveButtons[] = {
    {IDC_PREVMONTH, PreviousMonthCommand},
    {IDC_NEXTMONTH,     NextMonthCommand},
    { IDC_PREVYEAR,  PreviousYearCommand},
    { IDC_NEXTYEAR,      NextYearCommand},
    {    IDC_TODAY,         TodayCommand},
};

CalendarPosition ClockPosition() {
    SYSTEMTIME local;
    ReadUiLocalClock(&local);
    return {local.wYear, local.wMonth};
}

void Invalidate(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
}

void ApplyButtonRule(HWND window) {
    const CalendarButtons b = CalendarButtonStates(calendar.position);
    EnableWindow(GetDlgItem(window, IDC_PREVYEAR), b.previousYear);
    EnableWindow(GetDlgItem(window, IDC_PREVMONTH), b.previousMonth);
    EnableWindow(GetDlgItem(window, IDC_NEXTMONTH), b.nextMonth);
    EnableWindow(GetDlgItem(window, IDC_NEXTYEAR), b.nextYear);
}

void ComputeShownMonth() {
    ComputeMonthModel(calendar.position.year, calendar.position.month, calendar.weekStart);
}

// Shows `position` with `day` chosen: buttons, model, repaint.
void ShowDay(HWND window, CalendarPosition position, uint16_t day) {
    calendar.position = position;
    calendar.chosenDay = day;
    ApplyButtonRule(window);
    ComputeShownMonth();
    Invalidate(window);
}

// Shows `position`, its chosen day today's or the 1st.
void MoveTo(HWND window, CalendarPosition position) {
    SYSTEMTIME clock;
    ReadUiLocalClock(&clock);
    ShowDay(window, position, StartingChosenDay(position, clock));
}

void SetAgeCaption(HWND window) {
    const std::string caption = LoadShiftJisString(GetWindowServices().module,
                                                   calendar.showAge ? IDS_HIDEAGE : IDS_SHOWAGE);
    SetWindowShiftJisText(GetDlgItem(window, IDC_AGETOGGLE), caption.c_str());
}

// The dialog template's size comes from the dialog font's metrics; the picture is laid out in
// pixels. Where the font makes the client area smaller than the picture, the window grows from its
// top-left corner so that no cell is cut off.
void FitPicture(HWND window) {
    const CalendarPoint needed = CalendarClientNeeded(calendar.dpi);
    RECT frame;
    RECT client;
    if (!GetWindowRect(window, &frame) || !GetClientRect(window, &client)) {
        return;
    }
    const int width = client.right > needed.x ? client.right : needed.x;
    const int height = client.bottom > needed.y ? client.bottom : needed.y;
    if (width == client.right && height == client.bottom) {
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The tooltip of the day under the pointer: one tool over the whole window, its text asked for
// when it shows, and shown anew when the pointer crosses into another cell.
void CreateDayTip(HWND window) {
    calendar.hoverCell = -1;
    calendar.dayTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                      GetWindowServices().module, nullptr);
    if (calendar.dayTip == nullptr) {
        return;
    }
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = 1;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    GetClientRect(window, &tool.rect);
    SendMessageW(calendar.dayTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Lines break where the text says, not where the tooltip would wrap them.
    SendMessageW(calendar.dayTip, TTM_SETMAXTIPWIDTH, 0, CalendarScale(calendar.dpi, 480));
    SendMessageW(calendar.dayTip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
}

// The tool covers the whole client area, which grows with the picture and the dpi.
void FitDayTip(HWND window) {
    if (calendar.dayTip == nullptr) {
        return;
    }
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = 1;
    GetClientRect(window, &tool.rect);
    SendMessageW(calendar.dayTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void OnMouseMove(LPARAM lParam) {
    // Signed: a pointer left of or above the client area reads negative.
    const CalendarPoint at = {static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
    const int32_t cell = CalendarCellAt(ComputeCalendarGeometry(calendar.dpi), at);
    if (cell == calendar.hoverCell) {
        return;
    }
    calendar.hoverCell = cell;
    if (calendar.dayTip != nullptr) {
        // Hidden and shown again, the tooltip asks for the new day's text.
        SendMessageW(calendar.dayTip, TTM_POP, 0, 0);
        if (cell >= 0) {
            SendMessageW(calendar.dayTip, TTM_POPUP, 0, 0);
        }
    }
}

void OnDayTipText(NMTTDISPINFOW* info) {
    static std::wstring text;
    text = CalendarDayTipText(calendar.hoverCell);
    info->lpszText = text.empty() ? nullptr : &text[0];
    info->szText[0] = L'\0';
    info->hinst = nullptr;
}

// The keys reach the focused control first, a button for instance, and the dialog manager
// would take the arrows and Enter for itself; the modal loop shows every message to this filter
// before either sees it.
LRESULT CALLBACK CalendarKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    HWND window = calendar.window;
    if (code == MSGF_DIALOGBOX && msg != nullptr && window != nullptr &&
        msg->message == WM_KEYDOWN && (msg->hwnd == window || IsChild(window, msg->hwnd))) {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        // The dialog manager tabs only from a control; from the grid, Tab goes to the first (with
        // Shift the last) control.
        if (msg->wParam == VK_TAB && msg->hwnd == window) {
            SetFocus(GetNextDlgTabItem(window, nullptr, shift));
            return TRUE;
        }
        if (OnCalendarKey(window, static_cast<uint32_t>(msg->wParam), GetKeyState(VK_CONTROL) < 0,
                          shift)) {
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void OpenDayDetail(HWND window) {
    const int32_t k = CalendarCellOfDay(CurrentMonthModel(), calendar.chosenDay);
    if (k >= 0) {
        OpenDayDetailDialog(window, CalendarDayTipText(k));
    }
}

void FocusGrid(HWND window) {
    if (GetFocus() != window) {
        SetFocus(window);
    }
}

void MoveChoice(HWND window, int32_t days) {
    const CalendarChoice choice = MoveChosenDay(calendar.position, calendar.chosenDay, days);
    if (choice.accepted) {
        ShowDay(window, choice.position, choice.day);
    }
}

// A click on cell k chooses its day; a day of the month before or after turns the page to it, as
// the month buttons would (and not beyond the range).
bool ChooseCell(HWND window, int32_t k) {
    const MonthModel& model = CurrentMonthModel();
    if (k < 0 || k >= 42 || model.year == 0) {
        return false;
    }
    const uint16_t day = model.cells[k].day;
    if (!model.cells[k].outside) {
        ShowDay(window, calendar.position, day);
        return true;
    }
    const CalendarMove move = NavigateCalendar(
        calendar.position, k < 7 ? PreviousMonthCommand : NextMonthCommand, calendar.position);
    if (move.accepted) {
        ShowDay(window, move.position, day);
    }
    return move.accepted;
}

int32_t CellAtPoint(LPARAM lParam) {
    const CalendarPoint at = {static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
    return CalendarCellAt(ComputeCalendarGeometry(calendar.dpi), at);
}

void OnClick(HWND window, LPARAM lParam, bool twice) {
    FocusGrid(window);
    if (ChooseCell(window, CellAtPoint(lParam)) && twice) {
        OpenDayDetail(window);
    }
}

void OnWheel(HWND window, WPARAM wParam) {
    const int32_t notches = AccumulateWheel(&calendar.wheelRest, GET_WHEEL_DELTA_WPARAM(wParam));
    if (notches == 0) {
        return;
    }
    const CalendarMove move = ScrollCalendar(calendar.position, notches);
    if (move.accepted) {
        MoveTo(window, move.position);
    }
}

void ToggleWeekStart(HWND window) {
    calendar.weekStart = calendar.weekStart == 1 ? 0 : 1;
    GetWindowServices().writeWeekStart(calendar.weekStart);
    ComputeShownMonth();
    Invalidate(window);
}

void ToggleEra(HWND window) {
    calendar.showEra = !calendar.showEra;
    GetWindowServices().writeShowEra(calendar.showEra);
    Invalidate(window);
}

// The right-click menu (or the menu key's, at the chosen day): the week's first day and the era.
void OnContextMenu(HWND window, LPARAM lParam) {
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == -1) {
        const CalendarGeometry g = ComputeCalendarGeometry(calendar.dpi);
        const int32_t k = CalendarCellOfDay(CurrentMonthModel(), calendar.chosenDay);
        const CalendarPoint origin = CellOrigin(g, k >= 0 ? k : 0);
        at = {origin.x + g.cellWidth / 2, origin.y + g.rowHeight / 2};
        ClientToScreen(window, &at);
    }
    HMENU menu = LoadMenuW(GetWindowServices().module, MAKEINTRESOURCEW(IDR_CALENDARMENU));
    HMENU popup = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    UINT command = 0;
    if (popup != nullptr) {
        CheckMenuItem(popup, IDM_WEEKSTARTMONDAY,
                      MF_BYCOMMAND | (calendar.weekStart == 1 ? MF_CHECKED : MF_UNCHECKED));
        CheckMenuItem(popup, IDM_SHOWERA,
                      MF_BYCOMMAND | (calendar.showEra ? MF_CHECKED : MF_UNCHECKED));
        command = static_cast<UINT>(TrackPopupMenuEx(
            popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, window, nullptr));
    }
    if (menu != nullptr) {
        DestroyMenu(menu);  // takes its submenu with it
    }
    if (command == IDM_WEEKSTARTMONDAY) {
        ToggleWeekStart(window);
    } else if (command == IDM_SHOWERA) {
        ToggleEra(window);
    }
}

// The focus on the window itself is the grid's: the dialog manager would hand it on to a button.
void OnSetFocus() {
    calendar.gridFocused = true;
}

// Kept across a switch to another program: only a control of this window takes the grid's focus.
void OnKillFocus(HWND window, WPARAM wParam) {
    HWND next = reinterpret_cast<HWND>(wParam);
    if (next != nullptr && IsChild(window, next)) {
        calendar.gridFocused = false;
    }
}

// Back from another program, the grid gets the focus again when it had it.
bool OnActivate(HWND window, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE || !calendar.gridFocused) {
        return false;
    }
    SetFocus(window);
    return true;
}

void OpenCalendar(HWND window) {
    calendar.dpi = WindowDpi(window);
    calendar.showAge = GetWindowServices().readShowAge();
    SetAgeCaption(window);
    CreateDialogPalette(window, calendar.palette);
    calendar.weekStart = GetWindowServices().readWeekStart() == 1 ? 1 : 0;
    calendar.showEra = GetWindowServices().readShowEra();
    calendar.wheelRest = 0;
    if (openingDay.accepted) {
        ShowDay(window, openingDay.position, openingDay.day);
    } else {
        MoveTo(window, ClockPosition());
    }
    openingDay.accepted = false;
    FitPicture(window);
    CreateDayTip(window);
    // The grid takes the keys from the start: the arrows choose a day, Enter opens it.
    calendar.keyFilter =
        SetWindowsHookExW(WH_MSGFILTER, CalendarKeyFilter, nullptr, GetCurrentThreadId());
    calendar.gridFocused = true;
    SetFocus(window);
}

void PaintCalendar(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPalettePaint(window, paint, calendar.palette);
    if (dc != nullptr) {
        const CalendarDrawExtras extras = {
            calendar.showEra, CalendarCellOfDay(CurrentMonthModel(), calendar.chosenDay)};
        DrawMonthCalendar(dc, CurrentMonthModel(), calendar.showAge, calendar.dpi, calendar.drawing,
                          calendar.marks, extras);
    }
    EndPalettePaint(window, paint, calendar.palette);
}

// Moved to a monitor of another scale: the suggested rectangle, grown where the picture needs
// more, and the picture drawn again at the new dpi (its strip follows by itself).
void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    RECT frame;
    RECT client;
    if (suggested == nullptr || !GetWindowRect(window, &frame) || !GetClientRect(window, &client)) {
        return;
    }
    const CalendarPoint extra = {(frame.right - frame.left) - client.right,
                                 (frame.bottom - frame.top) - client.bottom};
    const DpiChangeLayout d = DecideCalendarDpiChange(
        static_cast<uint32_t>(wParam),
        {suggested->left, suggested->top, suggested->right, suggested->bottom}, calendar.dpi,
        extra);
    calendar.dpi = d.dpi;
    SetWindowPos(window, nullptr, d.window.left, d.window.top, d.window.right - d.window.left,
                 d.window.bottom - d.window.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame measured above is the old dpi's; the new one may be thicker.
    FitPicture(window);
    FitDayTip(window);
    Invalidate(window);
}

void ToggleAge(HWND window) {
    calendar.showAge = !calendar.showAge;
    SetAgeCaption(window);
    Invalidate(window);
}

// A move command; refused at the range's ends even when its button is disabled, since a click
// sent to a disabled button still arrives on some systems.
void Navigate(HWND window, CalendarCommand command) {
    const CalendarMove move = NavigateCalendar(calendar.position, command, ClockPosition());
    if (move.accepted) {
        MoveTo(window, move.position);
    }
}

void OnCommand(HWND window, WORD id) {
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(window, 1);
        return;
    }
    if (id == IDC_AGETOGGLE) {
        ToggleAge(window);
        return;
    }
    for (const MoveButton& button : kMoveButtons) {
        if (button.id == id) {
            Navigate(window, button.command);
        }
    }
}

void CloseCalendar() {
    if (calendar.keyFilter != nullptr) {
        UnhookWindowsHookEx(calendar.keyFilter);
        calendar.keyFilter = nullptr;
    }
    if (calendar.dayTip != nullptr) {
        DestroyWindow(calendar.dayTip);
        calendar.dayTip = nullptr;
    }
    GetWindowServices().writeShowAge(calendar.showAge);
    DeletePalette(calendar.palette);
    ReleaseCalendarDrawing(calendar.drawing);
}

}  // namespace

bool OnCalendarKey(HWND window, uint32_t virtualKey, bool ctrl, bool shift) {
    const CalendarKey key = DecideCalendarKey(virtualKey, ctrl, shift, false);
    switch (key.action) {
        case NoCalendarKey:
            return false;
        case CommandCalendarKey:
            Navigate(window, key.command);
            return true;
        case CloseCalendarKey:
            EndDialog(window, 1);
            return true;
        case ChooseCalendarKey:
            FocusGrid(window);
            MoveChoice(window, key.days);
            return true;
        case DetailCalendarKey:
            if (GetFocus() != window) {
                return false;  // a focused button is pressed, as in every dialog
            }
            OpenDayDetail(window);
            return true;
    }
    return false;
}

std::wstring CalendarDayTipText(int32_t k) {
    const MonthModel& model = CurrentMonthModel();
    if (k < 0 || k >= 42 || model.year == 0) {
        return std::wstring();
    }
    MonthCell cell = model.cells[k];
    if (!CalendarNotesShown()) {
        cell.notes.flags = 0;
    }
    uint16_t year = 0;
    uint16_t month = 0;
    CalendarCellMonth(model, k, &year, &month);
    std::wstring text = WideFromUtf8(DayInWordsUtf8(year, month, cell, Utf8FromShiftJis));
    // The day's risings and settings at the chosen place.
    const PlaceSetting& place = GetUiPlace();
    const DayEvents events = ComputeDayEvents(place.place, year, month, cell.day, model.bias);
    char moon[64];
    char sun[64];
    ComposeRiseSetLines(events, moon, sun, sizeof moon);
    text += L"\n場所 " + WideFromShiftJis(place.name) + L"\n" + WideFromShiftJis(moon) + L"\n" +
            WideFromShiftJis(sun);
    // An eclipse seen there that day, or the year's nearest full Moon.
    const std::string moonEvents = ComposeMoonEventLines(
        year, month, static_cast<uint16_t>(cell.day), model.bias, place.place);
    if (!moonEvents.empty()) {
        text += L"\n" + WideFromShiftJis(moonEvents.c_str());
    }
    // The tooltip breaks lines at CR LF.
    std::wstring lines;
    for (wchar_t c : text) {
        if (c == L'\n') {
            lines += L'\r';
        }
        lines += c;
    }
    return lines;
}

const MoonCalendarDialogState& GetMoonCalendarDialogState() {
    return calendar;
}

void OpenMoonCalendarDialog(HWND owner) {
    if (calendar.open) {
        SetForegroundWindow(calendar.window);
        return;
    }
    calendar.open = true;
    DialogBoxParamW(GetWindowServices().module, MAKEINTRESOURCEW(IDD_MOONCALENDAR), owner,
                    MoonCalendarDialogProc, 0);
    calendar.open = false;
    calendar.window = nullptr;
}

void OpenMoonCalendarDialogOn(HWND owner, uint16_t year, uint16_t month, uint16_t day) {
    const CalendarPosition position = {year, month};
    const bool known = year >= kCalendarFirstYear && year <= kCalendarLastYear && month >= 1 &&
                       month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
    if (!known) {
        OpenMoonCalendarDialog(owner);
        return;
    }
    if (calendar.open && calendar.window != nullptr) {
        ShowDay(calendar.window, position, day);
        SetForegroundWindow(calendar.window);
        return;
    }
    openingDay = {true, position, day};
    OpenMoonCalendarDialog(owner);
}

void RefreshMoonCalendarDialog(bool full) {
    if (!calendar.open || calendar.window == nullptr) {
        if (full) {
            InvalidateMonthModel();
        }
        return;
    }
    HWND window = calendar.window;
    if (full) {
        InvalidateMonthModel();
        ComputeShownMonth();
        Invalidate(window);
        return;
    }
    // A change of time zone: the model follows the new bias, and the picture with it.
    if (ComputeMonthModel(calendar.position.year, calendar.position.month, calendar.weekStart)) {
        Invalidate(window);
    }
    SYSTEMTIME clock;
    ReadUiLocalClock(&clock);
    const CalendarRefresh refresh = DecideCalendarRefresh(
        calendar.position, clock, calendar.marks.todayShown, calendar.marks.markedDay);
    switch (refresh.action) {
        case KeepCalendar:
            break;
        case RepaintCalendar:
            Invalidate(window);
            break;
        case FollowClockCalendar:
            MoveTo(window, refresh.position);
            break;
    }
}

INT_PTR CALLBACK MoonCalendarDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    calendar.window = window;
    switch (message) {
        case WM_INITDIALOG:
            OpenCalendar(window);
            return FALSE;  // the focus is set: on the grid
        case WM_COMMAND:
            OnCommand(window, LOWORD(wParam));
            return TRUE;
        case WM_PAINT:
            PaintCalendar(window);
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(window, wParam, lParam);
            return TRUE;
        case WM_MOUSEMOVE:
            OnMouseMove(lParam);
            return FALSE;
        case WM_LBUTTONDOWN:
            OnClick(window, lParam, false);
            return TRUE;
        case WM_LBUTTONDBLCLK:
            OnClick(window, lParam, true);
            return TRUE;
        case WM_MOUSEWHEEL:
            OnWheel(window, wParam);
            return TRUE;
        case WM_CONTEXTMENU:
            OnContextMenu(window, lParam);
            return TRUE;
        case WM_SETFOCUS:
            OnSetFocus();
            return TRUE;
        case WM_KILLFOCUS:
            OnKillFocus(window, wParam);
            return FALSE;
        case WM_ACTIVATE:
            return OnActivate(window, wParam) ? TRUE : FALSE;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
                OnDayTipText(reinterpret_cast<NMTTDISPINFOW*>(lParam));
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(window, 1);
            return TRUE;
        case WM_DESTROY:
            CloseCalendar();
            return FALSE;
        case WM_QUERYNEWPALETTE:
            // A dialog procedure's own return value only says "handled" for this message.
            SetWindowLongPtrW(window, DWLP_MSGRESULT, OnQueryNewPalette(window, calendar.palette));
            return TRUE;
        case WM_PALETTECHANGED:
            OnPaletteChanged(window, reinterpret_cast<HWND>(wParam), calendar.palette);
            return TRUE;
        default:
            return FALSE;
    }
}
