// The place dialog driven by messages through the real dialog manager, on the program's own
// template and a real settings file (under Wine on Xvfb). The dialog runs modally; a thread timer
// plays the user's part in it and cancels whatever a test left open.
#include <windows.h>

#include <gtest/gtest.h>

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

std::vector<std::string> gWarnings;
int gRefreshes = 0;
std::function<void(HWND)> gScript;
int gRuns = 0;

std::string StringOf(int id) {
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return text;
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

// Runs the test's script once in the shown dialog, then cancels it if still open.
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

class PlaceDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        SetSettingsPaths((std::string(temp) + "nocturo-place-test.exe").c_str());
        DeleteFileA(GetSettingsPath());
        WindowServices services = {};
        services.module = GetModuleHandleA(nullptr);
        SetWindowServices(services);
        SetPlaceServices({WritePlaceSetting, [] { ++gRefreshes; }});
        SetUiPlace(DefaultPlaceSetting());
        GetMessageBoxHooks().show = [](HWND, const char* text, const char*, UINT) {
            gWarnings.push_back(text);
            return IDOK;
        };
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
        return OpenPlaceDialog(nullptr);
    }

    // Nothing saved, nothing refreshed, the place still the default.
    void ExpectUnchanged() {
        EXPECT_EQ(gRefreshes, 0);
        EXPECT_EQ(GetFileAttributesA(GetSettingsPath()), INVALID_FILE_ATTRIBUTES);
        EXPECT_STREQ(GetUiPlace().name, "東京");
    }

    UINT_PTR timer_ = 0;
};

// The default place is none of the offices: it heads the list as the user's own entry, and an
// office chosen fills the three fields, which the own entry gives back.
TEST_F(PlaceDialogTest, ChoosingAnOfficeFillsTheFields) {
    const INT_PTR result = Run([](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCOUNT, 0, 0), 48);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(Text(dialog, IDC_LATITUDE), "35.6581");
        Choose(dialog, 1);
        EXPECT_EQ(Text(dialog, IDC_PLACENAME), "北海道 札幌市");
        EXPECT_EQ(Text(dialog, IDC_LATITUDE), "43.0642");
        EXPECT_EQ(Text(dialog, IDC_LONGITUDE), "141.3469");
        Choose(dialog, 0);
        EXPECT_EQ(Text(dialog, IDC_PLACENAME), "東京");
        EXPECT_EQ(Text(dialog, IDC_LONGITUDE), "139.7414");
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(gRuns, 1);
}

// A refused OK warns once, puts the focus on the field and leaves the dialog open.
TEST_F(PlaceDialogTest, RefusalsWarnAndFocusTheField) {
    static const struct {
        const char* name;
        const char* latitude;
        const char* longitude;
        int warning;
        int focus;
    } kRefusals[] = {
        {  "x", "91", "139.7",       IDS_BADLATITUDE,  IDC_LATITUDE},
        {  "x", "35",   "1e2",      IDS_BADLONGITUDE, IDC_LONGITUDE},
        {"   ", "35",   "139", IDS_PLACENAMEREQUIRED, IDC_PLACENAME},
    };
    for (const auto& c : kRefusals) {
        gWarnings.clear();
        Run([&c](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_PLACENAME, c.name);
            SetDlgItemTextA(dialog, IDC_LATITUDE, c.latitude);
            SetDlgItemTextA(dialog, IDC_LONGITUDE, c.longitude);
            Click(dialog, IDOK);
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.focus)) << c.latitude;
        });
        EXPECT_EQ(gWarnings, std::vector<std::string>{StringOf(c.warning)});
    }
    ExpectUnchanged();
}

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
    EXPECT_STREQ(ReadPlaceSetting().name, "沖縄県 那覇市");
    EXPECT_EQ(ReadPlaceSetting().place.latitude, 26.2125);
    EXPECT_STREQ(GetUiPlace().name, "沖縄県 那覇市");
    Run([](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCOUNT, 0, 0), 47);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_PLACELIST, CB_GETCURSEL, 0, 0), 46);
    });
}

// キャンセル and the close box after changes write nothing and keep the place.
TEST_F(PlaceDialogTest, CancelChangesNothing) {
    for (UINT closer : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
        Run([closer](HWND dialog) {
            Choose(dialog, 5);
            SetDlgItemTextA(dialog, IDC_LATITUDE, "10");
            SendMessageA(dialog, closer, closer == WM_COMMAND ? IDCANCEL : 0, 0);
        });
    }
    EXPECT_EQ(gRuns, 2);
    ExpectUnchanged();
}

// The menu command of the main window opens the dialog, once.
TEST_F(PlaceDialogTest, MenuItemOpensIt) {
    std::string caption;
    gScript = [&caption](HWND dialog) {
        char text[64] = "";
        GetWindowTextA(dialog, text, sizeof text);
        caption = text;
    };
    MainWindowProc(nullptr, WM_COMMAND, MAKEWPARAM(IDM_PLACE, 0), 0);
    EXPECT_EQ(caption, "場所の設定");
    EXPECT_EQ(gRuns, 1);
    EXPECT_FALSE(GetPlaceDialog().open);
}

}  // namespace
