// The notice settings dialog. Its rules (the forms and ranges of the fields, the defaults) live in
// presentation/notice; this side moves them to and from the controls.
#include "ui/notice_dialog.h"

#include <cstdio>

#include "calendar/almanac_notes.h"
#include "resources/resource.h"
#include "ui/dialogs.h"
#include "ui/message_boxes.h"
#include "ui/win32_text.h"

namespace {

NoticeDialog gDialog;

NoticeSettings NoDefaultsLoaded() {
    return DefaultNoticeSettings();
}
bool NothingSaved(const NoticeSettings&) {
    return false;
}
int32_t NothingShown(const NoticeSettings&) {
    return NoticeNoIcon;
}
NoticeServices gServices = {NoDefaultsLoaded, NothingSaved, NothingShown};

// Room for whatever a user types into a field; the checks refuse anything long.
constexpr int kFieldTextSize = 64;

// The check boxes of the kinds, with the bit each stands for.
struct KindBox {
    int control;
    uint32_t kind;
};
static const KindBox kKindBoxes[] = {
    {  IDC_NOTIFYCUSTOM,   NoticeCustom},
    {IDC_NOTIFYHOLIDAYS, NoticeHolidays},
    {   IDC_NOTIFYTERMS,    NoticeTerms},
    {IDC_NOTIFYECLIPSES, NoticeEclipses},
    {IDC_NOTIFYFULLMOON, NoticeFullMoon},
};

HWND Control(int id) {
    return GetDlgItem(gDialog.window, id);
}

void FocusOn(int controlId) {
    SendMessageW(gDialog.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(controlId)), TRUE);
}

void SetCheck(int id, bool on) {
    CheckDlgButton(gDialog.window, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(int id) {
    return IsDlgButtonChecked(gDialog.window, id) == BST_CHECKED;
}

void SetNumber(int id, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetWindowShiftJisText(Control(id), text);
}

void OnInit() {
    const NoticeSettings settings = gServices.load();
    SetCheck(IDC_NOTIFYON, settings.enabled);
    for (const KindBox& box : kKindBoxes) {
        SetCheck(box.control, (settings.kinds & box.kind) != 0);
    }
    for (int i = 0; i < kDayNoteCount; ++i) {
        SetCheck(IDC_NOTIFYNOTE0 + i, (settings.notes & (1u << i)) != 0);
    }
    char time[8];
    SetWindowShiftJisText(Control(IDC_NOTIFYTIME),
                          FormatNoticeTime(time, sizeof time, settings.minuteOfDay));
    SetNumber(IDC_NOTIFYLEAD, settings.leadDays);
    SetNumber(IDC_NOTIFYECLIPSEMIN, settings.eclipseMinutes);
}

int WarningOf(NoticeProblem problem) {
    switch (problem) {
        case NoticeProblem::TimeInvalid:
            return IDS_BADNOTICETIME;
        case NoticeProblem::LeadDaysInvalid:
            return IDS_BADLEADDAYS;
        case NoticeProblem::EclipseMinutesInvalid:
            return IDS_BADECLIPSEMINUTES;
        case NoticeProblem::None:
            break;
    }
    return 0;
}

int FieldOf(NoticeProblem problem) {
    switch (problem) {
        case NoticeProblem::LeadDaysInvalid:
            return IDC_NOTIFYLEAD;
        case NoticeProblem::EclipseMinutesInvalid:
            return IDC_NOTIFYECLIPSEMIN;
        case NoticeProblem::TimeInvalid:
        case NoticeProblem::None:
            break;
    }
    return IDC_NOTIFYTIME;
}

// The settings the dialog holds; false, after the warning and with the focus on the field, when a
// typed field is refused.
bool ReadFields(NoticeSettings* settings) {
    NoticeSettings read = gServices.load();
    read.enabled = IsChecked(IDC_NOTIFYON);
    read.kinds = 0;
    for (const KindBox& box : kKindBoxes) {
        read.kinds |= IsChecked(box.control) ? box.kind : 0;
    }
    read.notes = 0;
    for (int i = 0; i < kDayNoteCount; ++i) {
        read.notes |= IsChecked(IDC_NOTIFYNOTE0 + i) ? 1u << i : 0;
    }
    char time[kFieldTextSize] = "";
    char lead[kFieldTextSize] = "";
    char minutes[kFieldTextSize] = "";
    GetWindowShiftJisText(Control(IDC_NOTIFYTIME), time, sizeof time);
    GetWindowShiftJisText(Control(IDC_NOTIFYLEAD), lead, sizeof lead);
    GetWindowShiftJisText(Control(IDC_NOTIFYECLIPSEMIN), minutes, sizeof minutes);
    const NoticeProblem problem = ValidateNoticeFields(time, lead, minutes, &read);
    if (problem != NoticeProblem::None) {
        ShowWarning(gDialog.window, WarningOf(problem));
        FocusOn(FieldOf(problem));
        return false;
    }
    *settings = read;
    return true;
}

void OnConfirm() {
    NoticeSettings settings;
    if (!ReadFields(&settings)) {
        return;
    }
    if (!gServices.save(settings)) {
        ShowWarning(gDialog.window, IDS_NOTICESAVEFAILED);
        return;
    }
    EndDialog(gDialog.window, IDOK);
}

// 今すぐ表示: today's notice as the dialog's choices make it, even with the master switch off,
// since the user asked for it.
void OnShowNow() {
    NoticeSettings settings;
    if (!ReadFields(&settings)) {
        return;
    }
    switch (gServices.showNow(settings)) {
        case NoticeNothingToTell:
            ShowWarning(gDialog.window, IDS_NOTHINGTONOTICE);
            break;
        case NoticeNoIcon:
            ShowWarning(gDialog.window, IDS_NONOTICEICON);
            break;
        default:
            break;
    }
}

INT_PTR OnCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
            OnConfirm();
            return TRUE;
        case IDCANCEL:
            EndDialog(gDialog.window, IDCANCEL);
            return TRUE;
        case IDC_NOTIFYNOW:
            OnShowNow();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void SetNoticeServices(const NoticeServices& services) {
    gServices = services;
}

const NoticeServices& GetNoticeServices() {
    return gServices;
}

const NoticeDialog& GetNoticeDialog() {
    return gDialog;
}

INT_PTR OpenNoticeDialog(HWND owner) {
    return RunSingleDialog(owner, IDD_NOTICE, NoticeDialogProc, &gDialog.open, &gDialog.window);
}

INT_PTR CALLBACK NoticeDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    gDialog.window = window;
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
