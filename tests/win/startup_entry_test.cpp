// Starting with Windows: the Run value the menu item writes and removes, its check mark, and the
// repair of a value left behind by a moved folder; on Wine's registry, restored afterwards.
#include <gtest/gtest.h>

#include <string>

#include "presentation/startup_entry.h"
#include "resources/resource.h"
#include "tests/win/tray_test_support.h"
#include "tray/app.h"
#include "tray/program.h"
#include "tray/startup_entry.h"
#include "ui/message_boxes.h"
#include "ui/win32_text.h"

namespace {

// The value as the registry holds it; "(none)" when it is missing.
std::wstring RunValue() {
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, L"Nocturo", RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return text;
}

void SetRunValue(const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, L"Nocturo", REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RemoveRunValue() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, L"Nocturo");
}

class StartupEntryTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        RemoveRunValue();
        program = L"\"" + WideFromShiftJis(ProgramPathText().c_str()) + L"\"";
    }
    void TearDown() override {
        RemoveRunValue();
        MainWindowTest::TearDown();
    }
    // The menu item's check mark as the menu shows it when it opens.
    bool Checked() {
        HMENU menu = LoadMenuW(GetInstance(), MAKEINTRESOURCEW(IDR_RIGHTMENU));
        HMENU items = GetSubMenu(menu, 0);
        SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(items), 0);
        const bool checked = (GetMenuState(items, IDM_STARTUP, MF_BYCOMMAND) & MF_CHECKED) != 0;
        DestroyMenu(menu);
        return checked;
    }
    std::wstring program;
};

TEST_F(StartupEntryTest, TheMenuItemWritesAndRemovesTheQuotedPath) {
    EXPECT_FALSE(Checked());
    SendMessageW(window, WM_COMMAND, IDM_STARTUP, 0);
    EXPECT_EQ(RunValue(), program);
    EXPECT_TRUE(Checked());
    SendMessageW(window, WM_COMMAND, IDM_STARTUP, 0);
    EXPECT_EQ(RunValue(), L"(none)");
    EXPECT_FALSE(Checked());
}

// The check mark follows the registry, whoever changed it.
TEST_F(StartupEntryTest, TheCheckMarkFollowsTheRegistry) {
    SetRunValue(program + L" -v");
    EXPECT_TRUE(Checked());
    SetRunValue(L"\"C:\\Other\\nocturo.exe\"");
    EXPECT_FALSE(Checked());
    // Choosing the item then points the value at this program.
    SendMessageW(window, WM_COMMAND, IDM_STARTUP, 0);
    EXPECT_EQ(RunValue(), program);
}

TEST_F(StartupEntryTest, AtStartOnlyAGoneNocturoIsRepointed) {
    struct Case {
        std::wstring before;
        std::wstring after;
    };
    const Case cases[] = {
        {L"\"C:\\moved away\\nocturo.exe\"",                          program},
        {  L"\"C:\\moved away\\other.exe\"", L"\"C:\\moved away\\other.exe\""},
        {                         L"(none)",                        L"(none)"},
    };
    for (const Case& c : cases) {
        RemoveRunValue();
        if (c.before != L"(none)") {
            SetRunValue(c.before);
        }
        RepointStartupEntry();
        EXPECT_EQ(RunValue(), c.after);
    }
}

}  // namespace
