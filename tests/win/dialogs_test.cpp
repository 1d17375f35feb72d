// The dialog templates, their list data, the splash window and the palette helpers, on the real
// resources of the program, through the real dialog manager (under Wine on Xvfb).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui/dialog_lists.h"
#include "ui/palette.h"
#include "ui/splash.h"

namespace {

INT_PTR CALLBACK InertDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HWND OpenModeless(int dialogId, DLGPROC procedure = InertDialogProc) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogId), nullptr,
                              procedure, 0);
}

bool HasBitmap(int bitmapId) {
    return FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), RT_BITMAP) !=
           nullptr;
}

std::string WindowText(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> ComboItems(HWND dialog, int controlId) {
    std::vector<std::string> items;
    const LRESULT count = SendDlgItemMessageA(dialog, controlId, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = "";
        SendDlgItemMessageA(dialog, controlId, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> Numbered(int last, const char* format) {
    std::vector<std::string> items;
    for (int n = 1; n <= last; ++n) {
        char text[16];
        std::snprintf(text, sizeof text, format, n);
        items.push_back(text);
    }
    return items;
}

class Dialogs : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void TearDown() override {
        SetPaletteDisplayMode(PaletteDisplayMode::Device);
    }
};

TEST_F(Dialogs, FillDialogListsGivesTheEditorChoicesInStoredOrder) {
    HWND dialog = OpenModeless(IDD_HOLIDAYEDIT);
    ASSERT_NE(dialog, nullptr);
    FillDialogLists(dialog, IDD_HOLIDAYEDIT);

    std::vector<std::string> months = {"\x96\x88\x8c\x8e"};  // 毎月 in Shift_JIS
    const std::vector<std::string> numbered = Numbered(12, "%02d月");
    months.insert(months.end(), numbered.begin(), numbered.end());
    EXPECT_EQ(ComboItems(dialog, IDC_MONTHLIST), months);
    EXPECT_EQ(ComboItems(dialog, IDC_DAYLIST), Numbered(31, "%02d日"));
    const std::vector<std::string> weeks = {"毎週", "第一", "第二", "第三", "第四", "第五"};
    EXPECT_EQ(ComboItems(dialog, IDC_WEEKLIST), weeks);
    const std::vector<std::string> weekdays = {"日曜日", "月曜日", "火曜日", "水曜日",
                                               "木曜日", "金曜日", "土曜日"};
    EXPECT_EQ(ComboItems(dialog, IDC_WEEKDAYLIST), weekdays);
    DestroyWindow(dialog);
}

TEST_F(Dialogs, FillDialogListsWithoutListDataAddsNothing) {
    HWND dialog = OpenModeless(IDD_HOLIDAYLIST);
    ASSERT_NE(dialog, nullptr);
    FillDialogLists(dialog, IDD_HOLIDAYLIST);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_HOLIDAYLIST, LB_GETCOUNT, 0, 0), 0);
    DestroyWindow(dialog);
}

// Texts of the templates as the program reads them: the window captions and a sample of controls.
struct TemplateText {
    const char* name;
    int dialogId;
    int controlId;  // 0: the dialog's caption
    const char* text;
};

static const TemplateText kTemplateTexts[] = {
    {  "MoonInfoCaption",     IDD_MOONINFO,             0,                              "Nocturo"},
    {  "CalendarCaption", IDD_MOONCALENDAR,             0,                        "Moon Calendar"},
    {    "CalendarClose", IDD_MOONCALENDAR,          IDOK,                            "閉じる"},
    { "CalendarPrevYear", IDD_MOONCALENDAR,  IDC_PREVYEAR,                               "前年"},
    {"CalendarAgeToggle", IDD_MOONCALENDAR, IDC_AGETOGGLE,                                     ""},
    {      "ListCaption",  IDD_HOLIDAYLIST,             0, "カスタム休日・記念日一覧"},
    {       "ListCancel",  IDD_HOLIDAYLIST,      IDCANCEL,                      "ｷｬﾝｾﾙ"},
    {       "ListDelete",  IDD_HOLIDAYLIST,    IDC_DELETE,                           "削除(&D)"},
    {      "EditCaption",  IDD_HOLIDAYEDIT,             0, "カスタム休日・記念日編集"},
    {       "EditByDate",  IDD_HOLIDAYEDIT,    IDC_BYDATE,                               "日付"},
    {    "EditByWeekday",  IDD_HOLIDAYEDIT, IDC_BYWEEKDAY,                               "曜日"},
    {       "EditDayOff",  IDD_HOLIDAYEDIT,    IDC_DAYOFF,                               "休日"},
    {    "SplashCaption",       IDD_SPLASH,             0,                                     ""},
    {     "PlaceCaption",        IDD_PLACE,             0,                      "場所の設定"},
    {      "PlaceCancel",        IDD_PLACE,      IDCANCEL,                      "キャンセル"},
};

// Each template opened once for all its rows: showing a window costs Wine a moment.
TEST_F(Dialogs, TemplateTextsReadBackInShiftJis) {
    for (int dialogId : {IDD_MOONINFO, IDD_MOONCALENDAR, IDD_SPLASH, IDD_HOLIDAYLIST,
                         IDD_HOLIDAYEDIT, IDD_PLACE}) {
        HWND dialog = OpenModeless(dialogId);
        ASSERT_NE(dialog, nullptr) << dialogId;
        for (const TemplateText& expected : kTemplateTexts) {
            if (expected.dialogId != dialogId) {
                continue;
            }
            HWND window = expected.controlId == 0 ? dialog : GetDlgItem(dialog, expected.controlId);
            ASSERT_NE(window, nullptr) << expected.name;
            EXPECT_EQ(WindowText(window), expected.text) << expected.name;
        }
        DestroyWindow(dialog);
    }
}

// The version line has no control id: it is found among the children by its text, which comes from
// the same project version as the code's NOCTURO_VERSION, once and with nothing stale beside it.
TEST_F(Dialogs, MoonInfoVersionLineIsTheBuildsVersion) {
    HWND dialog = OpenModeless(IDD_MOONINFO);
    ASSERT_NE(dialog, nullptr);
    const std::string expected = std::string("Nocturo. Version ") + NOCTURO_VERSION;
    int lines = 0;
    int versionLines = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = WindowText(child);
        lines += text == expected;
        versionLines += text.find("Version") != std::string::npos;
    }
    DestroyWindow(dialog);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(versionLines, 1);
}

TEST_F(Dialogs, EditorHidesTheWeekListsAndBuddiesTheYearSpins) {
    HWND dialog = OpenModeless(IDD_HOLIDAYEDIT);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, IDC_WEEKLIST), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, IDC_WEEKDAYLIST), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_DAYLIST), GWL_STYLE) & WS_VISIBLE);
    const HWND firstBuddy =
        reinterpret_cast<HWND>(SendDlgItemMessageA(dialog, IDC_FIRSTYEARSPIN, UDM_GETBUDDY, 0, 0));
    const HWND lastBuddy =
        reinterpret_cast<HWND>(SendDlgItemMessageA(dialog, IDC_LASTYEARSPIN, UDM_GETBUDDY, 0, 0));
    EXPECT_EQ(firstBuddy, GetDlgItem(dialog, IDC_FIRSTYEAR));
    EXPECT_EQ(lastBuddy, GetDlgItem(dialog, IDC_LASTYEAR));
    SendDlgItemMessageA(dialog, IDC_FIRSTYEARSPIN, UDM_SETRANGE32, 1900, 2100);
    SendDlgItemMessageA(dialog, IDC_FIRSTYEARSPIN, UDM_SETPOS32, 0, 2026);
    EXPECT_EQ(WindowText(firstBuddy), "2026");
    DestroyWindow(dialog);
}

TEST_F(Dialogs, SplashClientAreaIsThePictureSize) {
    ASSERT_TRUE(HasBitmap(IDB_SPLASH));
    HWND splash = OpenModeless(IDD_SPLASH, SplashDialogProc);
    ASSERT_NE(splash, nullptr);
    RECT client;
    ASSERT_TRUE(GetClientRect(splash, &client));
    EXPECT_EQ(client.right - client.left, 258);
    EXPECT_EQ(client.bottom - client.top, 90);
    EXPECT_EQ(GetWindowLongA(splash, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_NE(GetSplashState().bitmap, nullptr);
    DestroyWindow(splash);
    EXPECT_EQ(GetSplashState().bitmap, nullptr);
    EXPECT_EQ(GetSplashState().palette.palette, nullptr);
}

// The first start's splash: the hint's lines below the picture, the window grown to hold them.
TEST_F(Dialogs, FirstStartSplashSaysWhereTheIconsGo) {
    HWND splash = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SPLASH),
                                     nullptr, SplashDialogProc, 1);
    ASSERT_NE(splash, nullptr);
    const SplashState& state = GetSplashState();
    EXPECT_NE(state.hint.find(L"その他のシステム トレイ アイコン"), std::wstring::npos);
    RECT client;
    ASSERT_TRUE(GetClientRect(splash, &client));
    EXPECT_GE(client.right, 258);
    EXPECT_GE(client.right, state.hintBox.right);
    EXPECT_GT(client.bottom, state.hintBox.bottom);
    EXPECT_GE(state.hintBox.top, 90);
    DestroyWindow(splash);
    EXPECT_TRUE(GetSplashState().hint.empty());
}

TEST_F(Dialogs, SplashIgnoresPaletteChangesItCausedItself) {
    SetPaletteDisplayMode(PaletteDisplayMode::Palette);
    HWND splash = OpenModeless(IDD_SPLASH, SplashDialogProc);
    ASSERT_NE(splash, nullptr);
    HWND other = OpenModeless(IDD_HOLIDAYLIST);
    ASSERT_NE(other, nullptr);
    PaletteContext& palette = GetSplashState().palette;
    DeletePalette(palette);
    SendMessageA(splash, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(splash), 0);
    EXPECT_EQ(palette.palette, nullptr);
    SendMessageA(splash, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other), 0);
    EXPECT_NE(palette.palette, nullptr);
    DestroyWindow(other);
    DestroyWindow(splash);
    EXPECT_EQ(palette.palette, nullptr);
}

// Dialogs created on this thread while the hook is in place, and the client size of the last
// dialog destroyed (measured just before it goes).
int activations = 0;
SIZE activatedClient = {};

LRESULT CALLBACK CountActivations(int code, WPARAM wParam, LPARAM lParam) {
    char cls[16] = "";
    const bool dialog = GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls) > 0 &&
                        std::strcmp(cls, "#32770") == 0;
    if (code == HCBT_CREATEWND && dialog) {
        ++activations;
    }
    if (code == HCBT_DESTROYWND && dialog) {
        RECT client = {};
        GetClientRect(reinterpret_cast<HWND>(wParam), &client);
        activatedClient = {client.right, client.bottom};
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Dialogs, ShowSplashOpensThePictureAndClosesByItself) {
    activations = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountActivations, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ShowSplash(GetModuleHandleA(nullptr), nullptr);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(activatedClient.cx, 258);
    EXPECT_EQ(activatedClient.cy, 90);
    EXPECT_EQ(GetSplashState().bitmap, nullptr);
}

// An 8 x 8 DIB section whose colour table holds `colours` distinct entries.
HBITMAP MakeIndexedBitmap(WORD bits, int colours) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 8;
    info.header.biHeight = 8;
    info.header.biPlanes = 1;
    info.header.biBitCount = bits;
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < colours; ++i) {
        info.table[i] = {static_cast<BYTE>(i), static_cast<BYTE>(100 + i),
                         static_cast<BYTE>(200 + i), 0};
    }
    void* pixels = nullptr;
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels,
                            nullptr, 0);
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
    const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(count);
    if (count > 0) {
        GetPaletteEntries(palette, 0, count, entries.data());
    }
    return entries;
}

TEST_F(Dialogs, DialogPaletteIsTheFixedColoursThenTheColourTable) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = MakeIndexedBitmap(4, 16);
    ASSERT_NE(bitmap, nullptr);
    HPALETTE palette = BuildPaletteFromBitmap(screen, bitmap, true);
    ASSERT_NE(palette, nullptr);
    const std::vector<PALETTEENTRY> entries = Entries(palette);
    ASSERT_EQ(entries.size(), 33u);
    EXPECT_EQ(entries[0].peRed, 216);
    EXPECT_EQ(entries[0].peGreen, 255);
    EXPECT_EQ(entries[0].peBlue, 255);
    EXPECT_EQ(entries[9].peGreen, 96);
    EXPECT_EQ(entries[16].peRed, 128);
    for (int i = 0; i < 16; ++i) {
        // Stored blue-green-red, read back red-green-blue.
        EXPECT_EQ(entries[17 + i].peRed, 200 + i) << i;
        EXPECT_EQ(entries[17 + i].peGreen, 100 + i) << i;
        EXPECT_EQ(entries[17 + i].peBlue, i) << i;
        EXPECT_EQ(entries[17 + i].peFlags, 0) << i;
    }
    DeleteObject(palette);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

TEST_F(Dialogs, PaletteEntryCountFollowsTheDeclaredColours) {
    static const struct {
        WORD bits;
        bool withFixedColours;
        UINT expectedEntries;  // 0: no palette
    } kTables[] = {
        { 4, false,  16},
        { 8,  true, 273},
        { 8, false, 256},
        { 1,  true,  19},
        {24,  true,  17},
        {24, false,   0},
    };
    HDC screen = GetDC(nullptr);
    for (const auto& c : kTables) {
        SCOPED_TRACE(std::to_string(c.bits) + (c.withFixedColours ? " bits with fixed" : " bits"));
        HBITMAP bitmap = MakeIndexedBitmap(c.bits, c.bits <= 8 ? 1 << c.bits : 0);
        ASSERT_NE(bitmap, nullptr);
        HPALETTE palette = BuildPaletteFromBitmap(screen, bitmap, c.withFixedColours);
        EXPECT_EQ(palette ? Entries(palette).size() : 0u, c.expectedEntries);
        DeleteObject(palette);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
}

TEST_F(Dialogs, PalettesOnlyOnPaletteDisplays) {
    HWND window = OpenModeless(IDD_HOLIDAYLIST);
    ASSERT_NE(window, nullptr);
    PaletteContext context = {};

    SetPaletteDisplayMode(PaletteDisplayMode::TrueColour);
    EXPECT_FALSE(CreateDialogPalette(window, context));
    EXPECT_EQ(context.palette, nullptr);
    EXPECT_EQ(OnQueryNewPalette(window, context), 1);
    EXPECT_EQ(context.palette, nullptr);

    SetPaletteDisplayMode(PaletteDisplayMode::Palette);
    ASSERT_TRUE(CreateDialogPalette(window, context));
    // The fixed colours and the Moon strip's 16-colour table.
    EXPECT_EQ(Entries(context.palette).size(), 33u);
    DeletePalette(context);
    EXPECT_EQ(context.palette, nullptr);
    DeletePalette(context);
    EXPECT_EQ(OnQueryNewPalette(window, context), 1);
    EXPECT_NE(context.palette, nullptr);
    DeletePalette(context);
    DestroyWindow(window);
}

TEST_F(Dialogs, OnPaletteChangedMakesThePaletteOnlyForOthersChanges) {
    SetPaletteDisplayMode(PaletteDisplayMode::Palette);
    HWND window = OpenModeless(IDD_HOLIDAYLIST);
    HWND other = OpenModeless(IDD_HOLIDAYEDIT);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(other, nullptr);
    PaletteContext context = {};
    OnPaletteChanged(window, window, context);
    EXPECT_EQ(context.palette, nullptr);
    OnPaletteChanged(window, other, context);
    EXPECT_NE(context.palette, nullptr);
    DeletePalette(context);
    DestroyWindow(other);
    DestroyWindow(window);
}

TEST_F(Dialogs, PalettePaintRestoresThePreviousPalette) {
    SetPaletteDisplayMode(PaletteDisplayMode::Palette);
    HWND window = OpenModeless(IDD_HOLIDAYLIST);
    ASSERT_NE(window, nullptr);
    PaletteContext context = {};
    ASSERT_TRUE(CreateDialogPalette(window, context));
    PAINTSTRUCT paint;
    HDC dc = BeginPalettePaint(window, paint, context);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(context.paintDc, dc);
    EXPECT_NE(context.previousPalette, nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), context.palette);
    EndPalettePaint(window, paint, context);
    EXPECT_EQ(context.previousPalette, nullptr);
    EXPECT_EQ(context.paintDc, nullptr);
    DeletePalette(context);
    DestroyWindow(window);
}

}  // namespace
