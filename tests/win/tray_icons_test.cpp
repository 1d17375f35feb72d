#include "tray/tray_icons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "tests/win/tray_test_support.h"
#include "tray/icon_images.h"

namespace {

// Slots with pictures, so that the shell has something to show.
class TrayIconsTest : public TraySlotsTest {
  protected:
    void SetUp() override {
        saved = reverseTrayOrder;
        TraySlotsTest::SetUp();
        BuildPhaseIcon(GetModuleHandleA(nullptr), MoonPicture, 14);
        BuildPhaseIcon(GetModuleHandleA(nullptr), TidePicture, 0);
        BuildCalendarIcons(GetModuleHandleA(nullptr), SYSTEMTIME{2024, 5, 5, 3, 12, 0, 0, 0}, 0);
    }
    void TearDown() override {
        TraySlotsTest::TearDown();
        reverseTrayOrder = saved;
    }

    int32_t saved = 0;
};

TEST(TrayRecordTest, ShortAndFullLayoutsOfThisPlatform) {
#if defined(_WIN64)
    EXPECT_EQ(kOldTrayRecordSize, 168u);
    EXPECT_EQ(kNewTrayRecordSize, 952u);
#else
    EXPECT_EQ(kOldTrayRecordSize, 152u);
    EXPECT_EQ(kNewTrayRecordSize, 936u);
#endif
    EXPECT_EQ(sizeof(TraySlots()[0].notify.szTip) / sizeof(wchar_t), kNewTrayTipUnits);
}

TEST(TrayRecordTest, DefaultSwitchesAndKeys) {
    const char* keys[] = {"MoonIcon", "TideIcon", "MonthIcon", "DayIcon", "WeekDayIcon"};
    const int32_t on[] = {1, 0, 0, 1, 1};
    for (int i = 0; i < TrayIconCount; ++i) {
        EXPECT_STREQ(TraySlots()[i].settingsKey, keys[i]);
        EXPECT_EQ(TraySlots()[i].enabled, on[i]) << "slot " << i;
    }
}

TEST_F(TrayIconsTest, PrepareSlotsFillsTheShortRecord) {
    std::wcscpy(TraySlots()[2].notify.szTip, L"old");
    PrepareSlots(window);
    for (int i = 0; i < TrayIconCount; ++i) {
        const NOTIFYICONDATAW& n = TraySlots()[i].notify;
        EXPECT_EQ(n.cbSize, kOldTrayRecordSize);
        EXPECT_EQ(n.hWnd, window);
        EXPECT_EQ(n.uID, static_cast<UINT>(i));
        EXPECT_EQ(n.uFlags, 7u);
        EXPECT_EQ(n.uCallbackMessage, 32769u);
        EXPECT_STREQ(n.szTip, L"");
    }
}

// The tray's limit counts UTF-16 units, not bytes: a tooltip of 100 double-byte characters fills
// 100 units of the full record and is cut to 63 in the short one, at a whole character.
TEST_F(TrayIconsTest, TooltipIsCutToTheUnitsOfTheRecordsLayout) {
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "月";
    }
    struct Case {
        DWORD size;
        size_t units;
    };
    const Case cases[] = {
        {kNewTrayRecordSize, 100},
        {kOldTrayRecordSize,  63}
    };
    for (const Case& c : cases) {
        TrayIconSlot& slot = TraySlots()[0];
        slot.notify.cbSize = c.size;
        SetSlotTooltip(slot, text.c_str());
        EXPECT_EQ(std::wstring(slot.notify.szTip), std::wstring(c.units, L'月'));
        EXPECT_EQ(std::string(slot.tip), text);
    }
}

TEST_F(TrayIconsTest, CountsTheIconsThatAreOnDisplayOrderRunsBackwardsWhenReversed) {
    SwitchOn("10011");
    EXPECT_EQ(CountEnabledIcons(), 3);
    SwitchOn("00000");
    EXPECT_EQ(CountEnabledIcons(), 0);
    SwitchOn("11111");
    EXPECT_EQ(CountEnabledIcons(), 5);
    for (int p = 0; p < TrayIconCount; ++p) {
        reverseTrayOrder = 0;
        EXPECT_EQ(SlotAtDisplayPosition(p), p);
        reverseTrayOrder = 1;
        EXPECT_EQ(SlotAtDisplayPosition(p), 4 - p);
    }
}

TEST_F(TrayIconsTest, AddsOnlyTheIconsThatAreOnAndNegotiatesTheNewProtocol) {
    SwitchOn("10011");
    AddAllIcons();
    for (int i = 0; i < TrayIconCount; ++i) {
        const NOTIFYICONDATAW& n = TraySlots()[i].notify;
        bool on = TraySlots()[i].enabled != 0;
        EXPECT_EQ(ShellHasIcon(window, i), on) << "slot " << i;
        if (on) {
            // Wine's shell accepts version 4; the plain tooltip is asked for.
            EXPECT_EQ(n.cbSize, kNewTrayRecordSize) << "slot " << i;
            EXPECT_EQ(n.uVersion, 4u);
            EXPECT_EQ(n.uFlags, 7u | NIF_SHOWTIP);
            EXPECT_EQ(n.dwStateMask, static_cast<DWORD>(NIS_HIDDEN));
            EXPECT_EQ(n.dwState, 0u);
        } else {
            EXPECT_EQ(n.cbSize, kOldTrayRecordSize) << "slot " << i;
        }
    }
}

TEST_F(TrayIconsTest, SecondAdditionAfterATaskbarRestartKeepsTheIcons) {
    SwitchOn("01100");
    AddAllIcons();
    AddAllIcons();
    EXPECT_TRUE(ShellHasIcon(window, 1));
    EXPECT_TRUE(ShellHasIcon(window, 2));
    EXPECT_EQ(TraySlots()[1].notify.cbSize, kNewTrayRecordSize);
}

TEST_F(TrayIconsTest, ModifyKeepsTheFlagsOfBothProtocols) {
    SwitchOn("11000");
    AddAllIcons();
    // Slot 1 as if the shell had refused the new protocol.
    NOTIFYICONDATAW& old = TraySlots()[1].notify;
    old.cbSize = kOldTrayRecordSize;
    old.uVersion = 0;
    old.uFlags = 7;
    old.dwStateMask = 0;
    std::wcscpy(TraySlots()[0].notify.szTip, L"new tip");
    std::wcscpy(old.szTip, L"old tip");
    ModifyAllIcons();
    EXPECT_EQ(TraySlots()[0].notify.uFlags, 7u | NIF_SHOWTIP);
    EXPECT_EQ(TraySlots()[0].notify.dwStateMask, static_cast<DWORD>(NIS_HIDDEN));
    EXPECT_EQ(old.uFlags, 7u);
    EXPECT_EQ(old.dwStateMask, 0u);
    EXPECT_TRUE(ShellHasIcon(window, 0));
    EXPECT_TRUE(ShellHasIcon(window, 1));
}

TEST_F(TrayIconsTest, DeleteAllRemovesOnlyTheIconsThatAreOnAndKeepsTheSwitches) {
    SwitchOn("10011");
    AddAllIcons();
    TraySlots()[3].enabled = 0;  // on in the tray, but no longer counted
    DeleteAllIcons();
    EXPECT_FALSE(ShellHasIcon(window, 0));
    EXPECT_TRUE(ShellHasIcon(window, 3));
    EXPECT_FALSE(ShellHasIcon(window, 4));
    EXPECT_EQ(TraySlots()[0].enabled, 1);
    EXPECT_EQ(TraySlots()[4].enabled, 1);
}

TEST_F(TrayIconsTest, DeleteIconRemovesThatIconAlone) {
    SwitchOn("10011");
    AddAllIcons();
    DeleteIcon(3);
    EXPECT_TRUE(ShellHasIcon(window, 0));
    EXPECT_FALSE(ShellHasIcon(window, 3));
    EXPECT_TRUE(ShellHasIcon(window, 4));
    DeleteIcon(7);  // ignored
    EXPECT_TRUE(ShellHasIcon(window, 4));
}

}  // namespace
