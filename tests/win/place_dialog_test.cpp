// The place dialog driven by messages through the real dialog manager, on the program's own
// template and a real settings file (under Wine on Xvfb). The dialog runs modally; a thread timer
// plays the user's part in it and cancels whatever a test left open.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "presentation/place.h"
#include "resources/resource.h"
#include "tray/app.h"
#include "tray/settings.h"
#include "ui/dialogs.h"
#include "ui/message_boxes.h"
#include "ui/place_dialog.h"
#include "ui/ui_place.h"

namespace {

std::vector<int> gWarnings;  // the string ids shown, in order
int gRefreshes = 0;
std::function<void(HWND)> gScript;
int gRuns = 0;

int RecordWarning(HWND, const char* text, const char*, UINT) {
    static const int kIds[] = {IDS_PLACENAMEREQUIRED, IDS_BADLATITUDE, IDS_BADLONGITUDE,
                               IDS_PLACESAVEFAILED, IDS_NAMENOTSHIFTJIS};
    for (int id : kIds) {
        char expected[512] = "";
        LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), expected, sizeof expected);
        if (std::string(text) == expected) {
            gWarnings.push_back(id);
            return IDOK;
        }
    }
    gWarnings.push_back(-1);
    return IDOK;
}

void CountRefresh() {
    ++gRefreshes;
}

std::string Text(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A line chosen in the drop-down list, as the user's choice notifies it.
void Choose(HWND dialog, int line) {
    SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_SETCURSEL, line, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PLACELIST, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PLACELIST)));
}

void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    static bool driving = false;
    const PlaceDialog& dialog = GetPlaceDialog();
    if (driving || !dialog.open || dialog.window == nullptr || !IsWindowVisible(dialog.window)) {
        return;
    }
    driving = true;
    ++gRuns;
    std::function<void(HWND)> script;
    script.swap(gScript);
    if (script) {
        script(dialog.window);
    }
    if (IsWindowVisible(dialog.window)) {
        Click(dialog.window, IDCANCEL);
    }
    driving = false;
}

std::string FileText(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) {
            bytes.push_back(static_cast<char>(c));
        }
        std::fclose(file);
    }
    return bytes;
}

class PlaceDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        SetSettingsPaths((std::string(temp) + "nocturo-place-test.exe").c_str());
        DeleteFileA(GetSettingsPath());
        SetWindowServices({GetModuleHandleA(nullptr), nullptr, nullptr, nullptr});
        SetPlaceServices({WritePlaceSetting, CountRefresh});
        SetUiPlace(DefaultPlaceSetting());
        GetMessageBoxHooks().show = RecordWarning;
        gWarnings.clear();
        gRefreshes = 0;
        gRuns = 0;
        timer_ = SetTimer(nullptr, 0, 20, Drive);
    }

    void TearDown() override {
        KillTimer(nullptr, timer_);
        GetMessageBoxHooks().show = nullptr;
        DeleteFileA(GetSettingsPath());
        SetSettingsPaths("");
    }

    INT_PTR Run(std::function<void(HWND)> script) {
        gScript = std::move(script);
        const INT_PTR result = OpenPlaceDialog(nullptr);
        gScript = nullptr;
        return result;
    }

    UINT_PTR timer_ = 0;
};

// The default place is none of the offices: it heads the list as the user's own entry, and an
// office chosen fills the three fields, which the own entry gives back.
TEST_F(PlaceDialogTest, ChoosingAnOfficeFillsTheFields) {
    const INT_PTR result = Run([](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCOUNT, 0, 0), 48);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(Text(dialog, IDC_PLACENAME), "東京");
        EXPECT_EQ(Text(dialog, IDC_LATITUDE), "35.6581");
        EXPECT_EQ(Text(dialog, IDC_LONGITUDE), "139.7414");
        Choose(dialog, 1);
        EXPECT_EQ(Text(dialog, IDC_PLACENAME), "北海道 札幌市");
        EXPECT_EQ(Text(dialog, IDC_LATITUDE), "43.0642");
        EXPECT_EQ(Text(dialog, IDC_LONGITUDE), "141.3469");
        Choose(dialog, 47);
        EXPECT_EQ(Text(dialog, IDC_PLACENAME), "沖縄県 那覇市");
        Choose(dialog, 0);
        EXPECT_EQ(Text(dialog, IDC_PLACENAME), "東京");
        EXPECT_EQ(Text(dialog, IDC_LONGITUDE), "139.7414");
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(gRuns, 1);
}

struct Refusal {
    const char* label;
    const char* name;
    const char* latitude;
    const char* longitude;
    int warning;
    int focus;
};
static const Refusal kRefusals[] = {
    {"LatitudeOutOfRange",   "x", "91", "139.7",       IDS_BADLATITUDE,  IDC_LATITUDE},
    { "LongitudeExponent",   "x", "35",   "1e2",      IDS_BADLONGITUDE, IDC_LONGITUDE},
    {         "NameBlank", "   ", "35",   "139", IDS_PLACENAMEREQUIRED, IDC_PLACENAME},
};

class PlaceDialogRefusals : public PlaceDialogTest, public testing::WithParamInterface<Refusal> {};

// A refused OK warns once, puts the focus on the field and leaves the dialog open; nothing is
// written and nothing refreshed.
TEST_P(PlaceDialogRefusals, WarnAndFocusTheField) {
    const Refusal& c = GetParam();
    Run([&c](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_PLACENAME, c.name);
        SetDlgItemTextA(dialog, IDC_LATITUDE, c.latitude);
        SetDlgItemTextA(dialog, IDC_LONGITUDE, c.longitude);
        Click(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.focus));
    });
    EXPECT_EQ(gWarnings, std::vector<int>{c.warning});
    EXPECT_EQ(gRefreshes, 0);
    EXPECT_EQ(FileText(GetSettingsPath()), "");
    EXPECT_STREQ(GetUiPlace().name, "東京");
}

INSTANTIATE_TEST_SUITE_P(Fields, PlaceDialogRefusals, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& info) {
                             return std::string(info.param.label);
                         });

// OK on an office writes [Place], makes it the windows' place and refreshes once; the next
// opening finds it in the list, which then has no own entry.
TEST_F(PlaceDialogTest, OkSavesTheSettingsAndRefreshes) {
    EXPECT_EQ(Run([](HWND dialog) {
                  Choose(dialog, 47);
                  Click(dialog, IDOK);
              }),
              IDOK);
    EXPECT_TRUE(gWarnings.empty());
    EXPECT_EQ(gRefreshes, 1);
    const std::string file = FileText(GetSettingsPath());
    EXPECT_NE(file.find("[Place]"), std::string::npos) << file;
    EXPECT_NE(file.find("Latitude=26.2124"), std::string::npos) << file;
    EXPECT_NE(file.find("Longitude=127.6809"), std::string::npos) << file;
    const PlaceSetting read = ReadPlaceSetting();
    EXPECT_STREQ(read.name, "沖縄県 那覇市");
    EXPECT_EQ(read.place.latitude, 26.2124);
    EXPECT_STREQ(GetUiPlace().name, "沖縄県 那覇市");
    Run([](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCOUNT, 0, 0), 47);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCURSEL, 0, 0), 46);
    });
}

// キャンセル and the close box after changes write nothing and keep the place.
TEST_F(PlaceDialogTest, CancelChangesNothing) {
    for (int closer : {IDCANCEL, -1}) {
        Run([closer](HWND dialog) {
            Choose(dialog, 5);
            SetDlgItemTextA(dialog, IDC_LATITUDE, "10");
            if (closer == IDCANCEL) {
                Click(dialog, IDCANCEL);
            } else {
                SendMessageA(dialog, WM_CLOSE, 0, 0);
            }
        });
    }
    EXPECT_EQ(gRuns, 2);
    EXPECT_EQ(gRefreshes, 0);
    EXPECT_EQ(FileText(GetSettingsPath()), "");
    EXPECT_STREQ(GetUiPlace().name, "東京");
}

// The menu command of the main window opens the dialog, once.
TEST_F(PlaceDialogTest, MenuItemOpensIt) {
    bool seen = false;
    gScript = [&seen](HWND dialog) {
        char caption[64] = "";
        GetWindowTextA(dialog, caption, sizeof caption);
        seen = std::string(caption) == "場所の設定";
    };
    MainWindowProc(nullptr, WM_COMMAND, MAKEWPARAM(IDM_PLACE, 0), 0);
    EXPECT_TRUE(seen);
    EXPECT_EQ(gRuns, 1);
    EXPECT_FALSE(GetPlaceDialog().open);
}

}  // namespace
