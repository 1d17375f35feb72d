// The custom holiday list (template 154): one line per record of the store, in its order, with
// adding, editing and deleting through the editor. Changes go into the store at once; OK writes
// the data file, ｷｬﾝｾﾙ puts the records back as they were when the list opened.
#include <windows.h>

#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "presentation/holiday_lines.h"
#include "resources/resource.h"
#include "ui/dialogs.h"
#include "ui/holiday_dialogs.h"
#include "ui/message_boxes.h"
#include "ui/win32_text.h"

namespace {

CustomHolidayListDialog gList;

// The records as the list found them. ｷｬﾝｾﾙ restores these rather than reading the file again:
// a file that cannot be read at that moment (held open by another program, or a save that failed
// while the list was open) would otherwise empty the store.
struct StoreSnapshot {
    CustomHoliday records[kMaxCustomHolidays];
    int32_t count;
};
StoreSnapshot gOpening;

HWND ListBox() {
    return GetDlgItem(gList.window, IDC_HOLIDAYLIST);
}

// The selected line, or -1 when there is none or it shows no record.
int SelectedRecord() {
    const LRESULT line = SendMessageW(ListBox(), LB_GETCURSEL, 0, 0);
    if (line == LB_ERR || line < 0 || line >= CustomHolidays().count) {
        return -1;
    }
    return static_cast<int>(line);
}

void ApplyButtonRule() {
    const int32_t count = CustomHolidays().count;
    const bool selected = SendMessageW(ListBox(), LB_GETCURSEL, 0, 0) != LB_ERR;
    EnableWindow(GetDlgItem(gList.window, IDC_ADD), count < kMaxCustomHolidays);
    EnableWindow(GetDlgItem(gList.window, IDC_EDIT), selected && count > 0);
    EnableWindow(GetDlgItem(gList.window, IDC_DELETE), selected && count > 0);
}

// Shows every record, line i for records[i], and selects line `selection` (-1: none).
void FillList(int selection) {
    const CustomHolidayStore& store = CustomHolidays();
    HWND list = ListBox();
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    char line[kHolidayLineSize];
    for (int32_t i = 0; i < store.count; ++i) {
        FormatCustomHolidayLine(store.records[i], line);
        const std::wstring wide = WideFromShiftJis(line);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    ApplyButtonRule();
}

// The holiday lists of the cached year point into the records, which have just moved.
void RecordsChanged() {
    CustomHolidays().modified = true;
    InvalidateHolidayCache();
}

void OnInit() {
    CustomHolidayStore& store = CustomHolidays();
    store.modified = false;
    if (!store.loaded) {
        LoadCustomHolidays();
    }
    gOpening.count = store.count;
    for (int32_t i = 0; i < store.count; ++i) {
        gOpening.records[i] = store.records[i];
    }
    FillList(store.count > 0 ? 0 : -1);
}

// A failed save is reported and the list stays open with the records as edited, so that the user
// can free the folder and try again, or cancel; the file on disk is untouched either way.
void OnOk() {
    if (CustomHolidays().modified) {
        if (!SaveCustomHolidays()) {
            ShowWarning(gList.window, IDS_SAVEFAILED);
            return;
        }
        GetWindowServices().holidaysSaved();
    }
    EndDialog(gList.window, IDOK);
}

void OnCancel() {
    CustomHolidayStore& store = CustomHolidays();
    if (store.modified) {
        store.count = gOpening.count;
        for (int32_t i = 0; i < gOpening.count; ++i) {
            store.records[i] = gOpening.records[i];
        }
        store.modified = false;
        InvalidateHolidayCache();
        RefreshMoonCalendarDialog(true);
    }
    EndDialog(gList.window, IDCANCEL);
}

void OnAdd() {
    // A disabled button can still be clicked by a message (BM_CLICK), so the limit is kept here.
    if (CustomHolidays().count >= kMaxCustomHolidays) {
        return;
    }
    SYSTEMTIME today;
    GetLocalTime(&today);
    GetHolidayEditorFields() = NewHolidayEditorFields(today);
    if (RunCustomHolidayEditDialog(gList.window) != IDOK) {
        return;
    }
    const int placed = InsertCustomHoliday(CustomHolidayFromEditorFields(GetHolidayEditorFields()));
    if (placed < 0) {
        return;
    }
    RecordsChanged();
    FillList(placed);
}

// The edited record moves to its place in the order, which may be another line.
void OnEdit() {
    const int index = SelectedRecord();
    if (index < 0) {
        return;
    }
    GetHolidayEditorFields() = HolidayEditorFieldsFromRecord(CustomHolidays().records[index]);
    if (RunCustomHolidayEditDialog(gList.window) != IDOK) {
        return;
    }
    RemoveCustomHoliday(index);
    const int placed = InsertCustomHoliday(CustomHolidayFromEditorFields(GetHolidayEditorFields()));
    RecordsChanged();
    FillList(placed);
}

// Deletes without asking: ｷｬﾝｾﾙ brings the record back.
void OnDelete() {
    const int index = SelectedRecord();
    if (index < 0) {
        return;
    }
    SendMessageW(ListBox(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    RemoveCustomHoliday(index);
    const int selection = index < CustomHolidays().count ? index : index - 1;
    SendMessageW(ListBox(), LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    ApplyButtonRule();
    RecordsChanged();
}

INT_PTR OnListNotification(int notification) {
    switch (notification) {
        case LBN_SELCHANGE:
        case LBN_SELCANCEL:
            ApplyButtonRule();
            return TRUE;
        case LBN_DBLCLK:
            OnEdit();
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR OnCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
            OnOk();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        case IDC_ADD:
            OnAdd();
            return TRUE;
        case IDC_EDIT:
            OnEdit();
            return TRUE;
        case IDC_DELETE:
            OnDelete();
            return TRUE;
        case IDC_HOLIDAYLIST:
            return OnListNotification(HIWORD(wParam));
        default:
            return FALSE;
    }
}

}  // namespace

const CustomHolidayListDialog& GetCustomHolidayListDialog() {
    return gList;
}

void OpenCustomHolidayListDialog(HWND owner) {
    if (gList.open) {
        const CustomHolidayEditDialog& editor = GetCustomHolidayEditDialog();
        SetForegroundWindow(editor.open && editor.window ? editor.window : gList.window);
        return;
    }
    gList.open = true;
    DialogBoxParamW(GetWindowServices().module, MAKEINTRESOURCEW(IDD_HOLIDAYLIST), owner,
                    CustomHolidayListDialogProc, 0);
    gList.open = false;
    gList.window = nullptr;
}

INT_PTR CALLBACK CustomHolidayListDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    gList.window = window;
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(wParam);
        case WM_CLOSE:
            OnCancel();
            return TRUE;
        case WM_DESTROY:
            SendMessageW(ListBox(), LB_RESETCONTENT, 0, 0);
            return FALSE;
        default:
            return FALSE;
    }
}
