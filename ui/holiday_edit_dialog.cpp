// The custom holiday editor (template 155): one holiday or anniversary, checked before it is
// accepted. Its rules live in presentation/holiday_editor; this side moves them to and from the
// controls.
#include <windows.h>
#include <commctrl.h>

#include "presentation/holiday_editor.h"
#include "presentation/settings_values.h"
#include "presentation/shift_jis.h"
#include "resources/resource.h"
#include "ui/dialog_lists.h"
#include "ui/dialogs.h"
#include "ui/holiday_dialogs.h"
#include "ui/message_boxes.h"
#include "ui/win32_text.h"

namespace {

CustomHolidayEditDialog gEditor;
HolidayEditorFields gFields;

// Room for whatever a user types into a year edit; the number read is at its start.
constexpr int kYearTextSize = 128;
// Room for a name typed into an edit whose limit counts characters: 16 double-byte ones.
constexpr int kNameTextSize = 64;

struct FocusTarget {
    HolidayEditorControl control;
    int controlId;
};

static const FocusTarget kFocusTargets[] = {
    {  HolidayEditorControl::FirstYear,   IDC_FIRSTYEAR},
    {    HolidayEditorControl::DayList,     IDC_DAYLIST},
    {HolidayEditorControl::WeekdayList, IDC_WEEKDAYLIST},
};

HWND Control(int id) {
    return GetDlgItem(gEditor.window, id);
}

int32_t Selection(int listId) {
    const LRESULT selection = SendDlgItemMessageW(gEditor.window, listId, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int32_t>(selection);
}

void Select(int listId, int32_t position) {
    SendDlgItemMessageW(gEditor.window, listId, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

// Moves the focus the way the dialog manager does, so the default button follows it.
void FocusOn(int controlId) {
    SendMessageW(gEditor.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(controlId)), TRUE);
}

void FocusOn(HolidayEditorControl control) {
    for (const FocusTarget& target : kFocusTargets) {
        if (target.control == control) {
            FocusOn(target.controlId);
        }
    }
}

// Puts a year edit's text within 1900..2100. The text is only written when it changes, so an edit
// being typed into keeps its caret.
void CorrectYearEdit(int editId) {
    char text[kYearTextSize] = "";
    GetWindowShiftJisText(Control(editId), text, sizeof text);
    char corrected[kYearTextSize];
    if (CorrectYearText(text, corrected, sizeof corrected)) {
        SetWindowShiftJisText(Control(editId), corrected);
    }
}

// The year a corrected edit shows: the position its up-down reads from it.
uint16_t YearOf(int editId) {
    char text[kYearTextSize] = "";
    GetWindowShiftJisText(Control(editId), text, sizeof text);
    return static_cast<uint16_t>(ParseSettingValue(text));
}

// The typed name in Shift_JIS. False when it holds a character that Shift_JIS cannot write (𠮷,
// an emoji): stored, it would turn into "?" and the user's name would be lost.
bool ReadNameText(char* text, size_t size) {
    const int length = GetWindowTextLengthW(Control(IDC_NAME));
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    GetWindowTextW(Control(IDC_NAME), &wide[0], static_cast<int>(wide.size()));
    bool lossless = true;
    const std::string narrow = ShiftJisFromWide(wide.c_str(), &lossless);
    text[0] = '\0';
    AppendShiftJisText(text, size, narrow.c_str());
    return lossless;
}

// The edit's limit counts UTF-16 characters, the data file's name field Shift_JIS bytes (16 and
// the terminator): what does not fit is taken off as it is typed, so that the name the user sees
// is the name that is saved.
void KeepNameWithinTheField() {
    HWND edit = Control(IDC_NAME);
    const int length = GetWindowTextLengthW(edit);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    GetWindowTextW(edit, &wide[0], static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    const size_t kept = ShiftJisPrefixUnits(wide, kHolidayNameSize - 1);
    if (kept < wide.size()) {
        SetWindowTextW(edit, wide.substr(0, kept).c_str());
        SendMessageW(edit, EM_SETSEL, kept, kept);
    }
}

void SetUpYearSpin(int spinId, uint16_t year) {
    SendDlgItemMessageW(gEditor.window, spinId, UDM_SETRANGE32, kEditorFirstYear, kEditorLastYear);
    SendDlgItemMessageW(gEditor.window, spinId, UDM_SETPOS32, 0, year);
}

void OnInit() {
    FillDialogLists(gEditor.window, IDD_HOLIDAYEDIT);
    SetUpYearSpin(IDC_FIRSTYEARSPIN, gFields.firstYear);
    SetUpYearSpin(IDC_LASTYEARSPIN, gFields.lastYear);
    Select(IDC_MONTHLIST, gFields.month);
    Select(IDC_DAYLIST, gFields.day - 1);
    Select(IDC_WEEKLIST, gFields.week);
    Select(IDC_WEEKDAYLIST, gFields.weekday);
    SetWindowShiftJisText(Control(IDC_NAME), gFields.name);
    SendDlgItemMessageW(gEditor.window, IDC_NAME, EM_LIMITTEXT, kHolidayNameSize - 1, 0);
    CheckDlgButton(gEditor.window, IDC_DAYOFF, gFields.dayOff ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(gEditor.window, IDC_BYDATE, IDC_BYWEEKDAY,
                     gFields.byDate ? IDC_BYDATE : IDC_BYWEEKDAY);
    ShowMethodControls();
}

// A click on 日付 or 曜日 switches the lists at once; the other fields wait for OK.
void OnMethodCommand(int buttonId, int notification) {
    const bool byDate = buttonId == IDC_BYDATE;
    if (notification == BN_CLICKED && gFields.byDate != byDate) {
        gFields.byDate = byDate;
        ShowMethodControls();
    }
}

void OnYearCommand(int editId, int notification) {
    if (notification == EN_KILLFOCUS) {
        CorrectYearEdit(editId);
    }
}

// OK or Enter. Enter leaves the focus in a year edit, whose correction would otherwise not run
// before the check; correcting both again is harmless when it did.
void OnConfirm() {
    CorrectYearEdit(IDC_FIRSTYEAR);
    CorrectYearEdit(IDC_LASTYEAR);
    const bool byDate = IsDlgButtonChecked(gEditor.window, IDC_BYDATE) == BST_CHECKED;
    const HolidayDateChoice choice = {
        YearOf(IDC_FIRSTYEAR),      YearOf(IDC_LASTYEAR),   byDate,
        Selection(IDC_MONTHLIST),   Selection(IDC_DAYLIST), Selection(IDC_WEEKLIST),
        Selection(IDC_WEEKDAYLIST),
    };
    const HolidayDateVerdict verdict = ValidateHolidayDate(choice);
    if (!verdict.valid) {
        ShowWarning(gEditor.window, IDS_INVALIDDATE);
        FocusOn(verdict.focus);
        return;
    }
    char text[kNameTextSize] = "";
    if (!ReadNameText(text, sizeof text)) {
        ShowWarning(gEditor.window, IDS_NAMENOTSHIFTJIS);
        FocusOn(IDC_NAME);
        return;
    }
    char name[kHolidayNameSize];
    CopyHolidayName(name, text);
    if (name[0] == '\0') {
        ShowWarning(gEditor.window, IDS_NAMEREQUIRED);
        FocusOn(IDC_NAME);
        return;
    }
    CopyHolidayName(gFields.name, name);
    gFields.firstYear = choice.firstYear;
    gFields.lastYear = choice.lastYear;
    gFields.month = choice.monthSelection;
    gFields.day = choice.daySelection + 1;
    gFields.week = choice.weekSelection;
    gFields.weekday = choice.weekdaySelection;
    gFields.dayOff = IsDlgButtonChecked(gEditor.window, IDC_DAYOFF) == BST_CHECKED;
    gFields.byDate = byDate;
    EndDialog(gEditor.window, IDOK);
}

INT_PTR OnCommand(WPARAM wParam) {
    const int notification = HIWORD(wParam);
    switch (LOWORD(wParam)) {
        case IDOK:
            OnConfirm();
            return TRUE;
        case IDCANCEL:
            EndDialog(gEditor.window, IDCANCEL);
            return TRUE;
        case IDC_BYDATE:
        case IDC_BYWEEKDAY:
            OnMethodCommand(LOWORD(wParam), notification);
            return TRUE;
        case IDC_FIRSTYEAR:
        case IDC_LASTYEAR:
            OnYearCommand(LOWORD(wParam), notification);
            return TRUE;
        case IDC_NAME:
            if (notification == EN_CHANGE) {
                KeepNameWithinTheField();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

const CustomHolidayEditDialog& GetCustomHolidayEditDialog() {
    return gEditor;
}

HolidayEditorFields& GetHolidayEditorFields() {
    return gFields;
}

INT_PTR RunCustomHolidayEditDialog(HWND owner) {
    gEditor.open = true;
    const INT_PTR result =
        DialogBoxParamW(GetWindowServices().module, MAKEINTRESOURCEW(IDD_HOLIDAYEDIT), owner,
                        CustomHolidayEditDialogProc, 0);
    gEditor.open = false;
    gEditor.window = nullptr;
    return result;
}

void ShowMethodControls() {
    if (gEditor.window == nullptr) {
        return;
    }
    ShowWindow(Control(IDC_DAYLIST), gFields.byDate ? SW_SHOW : SW_HIDE);
    ShowWindow(Control(IDC_WEEKLIST), gFields.byDate ? SW_HIDE : SW_SHOW);
    ShowWindow(Control(IDC_WEEKDAYLIST), gFields.byDate ? SW_HIDE : SW_SHOW);
}

INT_PTR CALLBACK CustomHolidayEditDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    gEditor.window = window;
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(wParam);
        case WM_CLOSE:
            EndDialog(window, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}
