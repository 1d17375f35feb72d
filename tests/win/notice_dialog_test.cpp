// The notice settings dialog driven by messages through the real dialog manager, on the program's
// own template and a real settings file. The dialog runs modally; a thread timer plays the user.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tray/settings.h"
#include "ui/dialogs.h"
#include "ui/message_boxes.h"
#include "ui/notice_dialog.h"

namespace {

std::vector<std::string> gWarnings;
std::function<void(HWND)> gScript;
int gShown = 0;

std::string StringOf(int id) {
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    static bool driving = false;
    const NoticeDialog& dialog = GetNoticeDialog();
    if (driving || !dialog.open || dialog.window == nullptr || !IsWindowVisible(dialog.window)) {
        return;
    }
    driving = true;
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

class NoticeDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        SetSettingsPaths((std::string(temp) + "nocturo-notice-test.exe").c_str());
        DeleteFileA(GetSettingsPath());
        WindowServices services = {};
        services.module = GetModuleHandleA(nullptr);
        SetWindowServices(services);
        SetNoticeServices({ReadNoticeSettings, WriteNoticeSettings, [](const NoticeSettings&) {
                               ++gShown;
                               return static_cast<int32_t>(NoticeNothingToTell);
                           }});
        GetMessageBoxHooks().show = [](HWND, const char* text, const char*, UINT) {
            gWarnings.push_back(text);
            return IDOK;
        };
        gWarnings.clear();
        gShown = 0;
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
        return OpenNoticeDialog(nullptr);
    }
    UINT_PTR timer_ = 0;
};

// Each refused field: its warning, the focus on it, the dialog still open.
struct Refusal {
    int field;
    const char* text;
    int warning;
};
static const Refusal kRefusals[] = {
    {      IDC_NOTIFYTIME, "24:00",     IDS_BADNOTICETIME},
    {      IDC_NOTIFYLEAD,     "8",       IDS_BADLEADDAYS},
    {IDC_NOTIFYECLIPSEMIN,     "0", IDS_BADECLIPSEMINUTES},
};

// Each unreadable field is refused with its warning and the focus on it, the dialog staying open;
// then OK writes [Notify], and 今すぐ表示 asks for today's notice and says when there is nothing.
TEST_F(NoticeDialogTest, RefusesUnreadableFieldsThenSavesWhatItHolds) {
    const INT_PTR result = Run([](HWND dialog) {
        for (const Refusal& r : kRefusals) {
            SetDlgItemTextA(dialog, r.field, r.text);
            Click(dialog, IDOK);
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, r.field));
            ASSERT_FALSE(gWarnings.empty());
            EXPECT_EQ(gWarnings.back(), StringOf(r.warning));
            SetDlgItemTextA(dialog, r.field, r.field == IDC_NOTIFYTIME ? "8:00" : "1");
        }
        EXPECT_EQ(GetFileAttributesA(GetSettingsPath()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_NOTIFYNOTE0), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_NOTIFYTERMS), BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_NOTIFYTERMS, BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_NOTIFYTIME, "7:30");
        Click(dialog, IDC_NOTIFYNOW);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(gShown, 1);
    ASSERT_EQ(gWarnings.size(), 4u);
    EXPECT_EQ(gWarnings[3], StringOf(IDS_NOTHINGTONOTICE));
    const NoticeSettings saved = ReadNoticeSettings();
    EXPECT_EQ(saved.minuteOfDay, 450);
    EXPECT_TRUE(saved.kinds & NoticeTerms);
}

}  // namespace
