// The place dialog. Its rules (the form and range of the coordinates, the table of prefectural
// offices) live in presentation/place; this side moves them to and from the controls.
#include "ui/place_dialog.h"

#include "presentation/place.h"
#include "presentation/shift_jis.h"
#include "resources/resource.h"
#include "ui/dialogs.h"
#include "ui/message_boxes.h"
#include "ui/ui_place.h"
#include "ui/win32_text.h"

namespace {

PlaceDialog gDialog;
// The place the dialog opened on. When it is none of the offices, it heads the list as the
// user's own entry, so that choosing an office by mistake can be undone.
PlaceSetting gOpenedOn;
bool gListHasOwnEntry = false;

// Room for whatever a user types into a coordinate edit; the check refuses anything long.
constexpr int kCoordinateTextSize = 64;
// Room for a name typed into an edit whose limit counts characters.
constexpr int kNameTextSize = 128;

HWND Control(int id) {
    return GetDlgItem(gDialog.window, id);
}

// Moves the focus the way the dialog manager does, so the default button follows it.
void FocusOn(int controlId) {
    SendMessageW(gDialog.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(controlId)), TRUE);
}

void AddListLine(const char* text) {
    SendDlgItemMessageW(gDialog.window, IDC_PLACELIST, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(WideFromShiftJis(text).c_str()));
}

void ShowPlace(const PlaceSetting& place) {
    char latitude[16];
    char longitude[16];
    SetWindowShiftJisText(Control(IDC_PLACENAME), place.name);
    SetWindowShiftJisText(Control(IDC_LATITUDE),
                          FormatCoordinate(latitude, sizeof latitude, place.place.latitude));
    SetWindowShiftJisText(Control(IDC_LONGITUDE),
                          FormatCoordinate(longitude, sizeof longitude, place.place.longitude));
}

void OnInit() {
    gOpenedOn = GetUiPlace();
    const int32_t capital = FindPrefecturalCapital(gOpenedOn);
    gListHasOwnEntry = capital < 0;
    if (gListHasOwnEntry) {
        AddListLine(gOpenedOn.name);
    }
    for (int32_t i = 0; i < kPrefecturalCapitalCount; ++i) {
        AddListLine(kPrefecturalCapitals[i].name);
    }
    const int32_t line = gListHasOwnEntry ? 0 : capital;
    SendDlgItemMessageW(gDialog.window, IDC_PLACELIST, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendDlgItemMessageW(gDialog.window, IDC_PLACENAME, EM_LIMITTEXT, (kPlaceNameSize - 1) / 2, 0);
    ShowPlace(gOpenedOn);
}

// A line chosen in the list fills the three fields; they can still be changed before OK.
void OnListCommand(int notification) {
    if (notification != CBN_SELCHANGE) {
        return;
    }
    const LRESULT line = SendDlgItemMessageW(gDialog.window, IDC_PLACELIST, CB_GETCURSEL, 0, 0);
    if (line == CB_ERR) {
        return;
    }
    const int32_t index = static_cast<int32_t>(line) - (gListHasOwnEntry ? 1 : 0);
    ShowPlace(index < 0 ? gOpenedOn : PrefecturalCapitalPlace(index));
}

int WarningOf(PlaceProblem problem) {
    switch (problem) {
        case PlaceProblem::NameMissing:
            return IDS_PLACENAMEREQUIRED;
        case PlaceProblem::LatitudeInvalid:
            return IDS_BADLATITUDE;
        case PlaceProblem::LongitudeInvalid:
            return IDS_BADLONGITUDE;
        case PlaceProblem::None:
            break;
    }
    return 0;
}

int FieldOf(PlaceProblem problem) {
    switch (problem) {
        case PlaceProblem::LatitudeInvalid:
            return IDC_LATITUDE;
        case PlaceProblem::LongitudeInvalid:
            return IDC_LONGITUDE;
        case PlaceProblem::NameMissing:
        case PlaceProblem::None:
            break;
    }
    return IDC_PLACENAME;
}

// OK or Enter: the fields are checked in order; the first refused one gets the warning and the
// focus. A name with a character Shift_JIS cannot write is refused too: stored, it would come back
// as "?".
void OnConfirm() {
    char name[kNameTextSize] = "";
    char latitude[kCoordinateTextSize] = "";
    char longitude[kCoordinateTextSize] = "";
    if (!GetWindowShiftJisText(Control(IDC_PLACENAME), name, sizeof name)) {
        ShowWarning(gDialog.window, IDS_NAMENOTSHIFTJIS);
        FocusOn(IDC_PLACENAME);
        return;
    }
    GetWindowShiftJisText(Control(IDC_LATITUDE), latitude, sizeof latitude);
    GetWindowShiftJisText(Control(IDC_LONGITUDE), longitude, sizeof longitude);
    PlaceSetting place = {};
    const PlaceProblem problem = ValidatePlaceFields(name, latitude, longitude, &place);
    if (problem != PlaceProblem::None) {
        ShowWarning(gDialog.window, WarningOf(problem));
        FocusOn(FieldOf(problem));
        return;
    }
    if (!GetPlaceServices().save(place)) {
        ShowWarning(gDialog.window, IDS_PLACESAVEFAILED);
        return;
    }
    SetUiPlace(place);
    GetPlaceServices().saved();
    EndDialog(gDialog.window, IDOK);
}

INT_PTR OnCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
            OnConfirm();
            return TRUE;
        case IDCANCEL:
            EndDialog(gDialog.window, IDCANCEL);
            return TRUE;
        case IDC_PLACELIST:
            OnListCommand(HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

const PlaceDialog& GetPlaceDialog() {
    return gDialog;
}

INT_PTR OpenPlaceDialog(HWND owner) {
    return RunSingleDialog(owner, IDD_PLACE, PlaceDialogProc, &gDialog.open, &gDialog.window);
}

INT_PTR CALLBACK PlaceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
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
