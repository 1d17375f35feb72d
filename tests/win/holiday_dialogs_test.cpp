// The custom holiday list and editor driven by messages through the real dialog manager, on the
// program's own templates and real data files (under Wine on Xvfb). The editor runs modally from
// the list; a thread timer plays the user's part in it and cancels whatever a test left open.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "calendar/custom_holidays.h"
#include "presentation/texts.h"
#include "resources/resource.h"
#include "ui/dialogs.h"
#include "ui/holiday_dialogs.h"
#include "ui/message_boxes.h"

namespace {

struct ShownMessage {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
std::vector<ShownMessage> gMessages;
int gRefreshes = 0;

int WINAPI RecordMessage(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    gMessages.push_back({owner, text, caption, type});
    return IDOK;
}

void CountRefresh() {
    ++gRefreshes;
}

// The warning `id` as the program shows it: its text, the caption "Nocturo", the warning icon.
void ExpectWarning(const ShownMessage& shown, int id) {
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, GetAppTitle());
    EXPECT_EQ(shown.type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) {
            bytes.push_back(static_cast<char>(c));
        }
        std::fclose(file);
    }
    return bytes;
}

CustomHoliday Holiday(const char* name, uint16_t month, uint16_t day, int32_t kind = DayOff) {
    CustomHoliday r = {kind, 2000, 2030, ByDate, month, day, 0, 0, 0.0, ""};
    std::strncpy(r.name, name, sizeof r.name - 1);
    return r;
}

std::vector<std::string> StoreNames() {
    std::vector<std::string> names;
    for (int32_t i = 0; i < CustomHolidays().count; ++i) {
        names.push_back(CustomHolidays().records[i].name);
    }
    return names;
}

std::string Text(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> Lines(HWND list) {
    std::vector<std::string> lines(SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < lines.size(); ++i) {
        char line[256] = "";
        SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines[i] = line;
    }
    return lines;
}

LRESULT Choice(HWND editor, int id) {
    return SendDlgItemMessageA(editor, id, CB_GETCURSEL, 0, 0);
}

LRESULT SelectedLine(HWND list) {
    return SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_GETCURSEL, 0, 0);
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool Visible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

// A button's command as a click sends it; it arrives whether the button is enabled or not.
void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What a user enters in the editor, and for a refused entry the warning and the focus after it.
struct EditorCase {
    const char* name;
    const char* firstYear;
    const char* lastYear;
    bool byDate;
    int month;    // 0 = 毎月
    int day;      // 1..31; 0 = none chosen
    int week;     // 0 = 毎週
    int weekday;  // 0 = Sunday
    const char* holiday;
    int messageId;  // 0: accepted
    int focusId;
};

void Fill(HWND editor, const EditorCase& in) {
    SetDlgItemTextA(editor, IDC_FIRSTYEAR, in.firstYear);
    SetDlgItemTextA(editor, IDC_LASTYEAR, in.lastYear);
    SendDlgItemMessageA(editor, in.byDate ? IDC_BYDATE : IDC_BYWEEKDAY, BM_CLICK, 0, 0);
    SendDlgItemMessageA(editor, IDC_MONTHLIST, CB_SETCURSEL, in.month, 0);
    SendDlgItemMessageA(editor, IDC_DAYLIST, CB_SETCURSEL, static_cast<WPARAM>(in.day - 1), 0);
    SendDlgItemMessageA(editor, IDC_WEEKLIST, CB_SETCURSEL, in.week, 0);
    SendDlgItemMessageA(editor, IDC_WEEKDAYLIST, CB_SETCURSEL, in.weekday, 0);
    SetDlgItemTextA(editor, IDC_NAME, in.holiday);
}

std::function<void(HWND)> gEditorScript;
int gEditorRuns = 0;
bool gDriving = false;

// Thread timers are dispatched by whichever modal loop runs, the editor's included. The test's
// script runs once in the shown editor; an editor still shown after it is cancelled, so no test
// can hang on a window nobody closes (an ended dialog is hidden until its loop returns).
void CALLBACK DriveEditor(HWND, UINT, UINT_PTR, DWORD) {
    const CustomHolidayEditDialog& editor = GetCustomHolidayEditDialog();
    if (gDriving || !editor.open || editor.window == nullptr || !IsWindowVisible(editor.window)) {
        return;
    }
    gDriving = true;
    ++gEditorRuns;
    std::function<void(HWND)> script;
    script.swap(gEditorScript);
    if (script) {
        script(editor.window);
    }
    if (IsWindowVisible(editor.window)) {
        Click(editor.window, IDCANCEL);
    }
    gDriving = false;
}

// Runs `script` in the editor that the list's button `buttonId` opens.
void RunEditorFrom(HWND list, int buttonId, std::function<void(HWND)> script) {
    gEditorScript = std::move(script);
    Click(list, buttonId);
    gEditorScript = nullptr;
}

void AddRecord(HWND list, const EditorCase& in) {
    RunEditorFrom(list, IDC_ADD, [&](HWND editor) {
        Fill(editor, in);
        Click(editor, IDOK);
    });
}

class HolidayDialogs : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "nocturo-holiday-tests";
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\holidays.dat";
        DeleteFileA(path_.c_str());
        SetCustomHolidayPath(path_.c_str());
        WindowServices services = {};
        services.module = GetModuleHandleA(nullptr);
        services.holidaysSaved = CountRefresh;
        SetWindowServices(services);
        GetMessageBoxHooks().show = RecordMessage;
        gMessages.clear();
        gRefreshes = 0;
        gEditorRuns = 0;
        timer_ = SetTimer(nullptr, 0, 20, DriveEditor);
    }

    void TearDown() override {
        DestroyWindow(list_);
        KillTimer(nullptr, timer_);
        GetMessageBoxHooks().show = nullptr;
        RemoveDirectoryA((path_ + ".tmp").c_str());
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // Writes `records` as the data file and leaves the store unloaded, as at the program's start.
    void Seed(const std::vector<CustomHoliday>& records) {
        CustomHolidays().loaded = true;
        CustomHolidays().count = 0;
        for (const CustomHoliday& r : records) {
            InsertCustomHoliday(r);
        }
        ASSERT_TRUE(SaveCustomHolidays());
        SetCustomHolidayPath(path_.c_str());
    }

    // The list as a modeless dialog: its commands are sent straight to it.
    HWND OpenList() {
        list_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HOLIDAYLIST),
                                   nullptr, CustomHolidayListDialogProc, 0);
        ShowWindow(list_, SW_SHOW);
        return list_;
    }

    std::string folder_;
    std::string path_;
    HWND list_ = nullptr;
    UINT_PTR timer_ = 0;
};

// A new entry starts on today's date, by date, with today's weekday and its ordinal ready; it is
// placed in the store's order and selected.
TEST_F(HolidayDialogs, AddStartsOnTodayAndPlacesTheRecordInOrder) {
    Seed({Holiday("a", 5, 3), Holiday("c", 7, 1)});
    HWND list = OpenList();
    SYSTEMTIME today;
    GetLocalTime(&today);
    RunEditorFrom(list, IDC_ADD, [&](HWND editor) {
        EXPECT_EQ(Text(editor, IDC_FIRSTYEAR), std::to_string(today.wYear));
        EXPECT_EQ(Text(editor, IDC_LASTYEAR), std::to_string(today.wYear));
        EXPECT_EQ(Choice(editor, IDC_MONTHLIST), today.wMonth);
        EXPECT_EQ(Choice(editor, IDC_DAYLIST), today.wDay - 1);
        EXPECT_EQ(Choice(editor, IDC_WEEKLIST), (today.wDay + 6) / 7);
        EXPECT_EQ(Choice(editor, IDC_WEEKDAYLIST), today.wDayOfWeek);
        EXPECT_EQ(IsDlgButtonChecked(editor, IDC_BYDATE), BST_CHECKED);
        EXPECT_FALSE(Visible(editor, IDC_WEEKLIST));
        Fill(editor, {"", "2005", "2100", true, 6, 10, 0, 0, "b", 0, 0});
        CheckDlgButton(editor, IDC_DAYOFF, BST_CHECKED);
        Click(editor, IDOK);
    });
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SelectedLine(list), 1);
    EXPECT_EQ(Lines(list)[1], "休 06月10日       2005-2100 b               ");
    EXPECT_TRUE(gMessages.empty());
}

// The editor opens on the selected record; the edited record moves to its new place.
TEST_F(HolidayDialogs, EditShowsTheRecordAndMovesItsLine) {
    CustomHoliday may = {DayOff, 2000, 2030, ByWeekday, 5, 0, 2, 1, 0.0, "w"};
    CustomHoliday december = {DayOff, 2000, 2030, ByWeekday, 12, 0, 2, 1, 0.0, "z"};
    Seed({may, december});
    HWND list = OpenList();
    RunEditorFrom(list, IDC_EDIT, [](HWND editor) {
        EXPECT_EQ(Text(editor, IDC_NAME), "w");
        EXPECT_EQ(IsDlgButtonChecked(editor, IDC_BYWEEKDAY), BST_CHECKED);
        EXPECT_FALSE(Visible(editor, IDC_DAYLIST));
        EXPECT_TRUE(Visible(editor, IDC_WEEKDAYLIST));
        EXPECT_EQ(Choice(editor, IDC_MONTHLIST), 5);
        EXPECT_EQ(Choice(editor, IDC_WEEKLIST), 2);
        EXPECT_EQ(Choice(editor, IDC_DAYLIST), CB_ERR);
        SendDlgItemMessageA(editor, IDC_MONTHLIST, CB_SETCURSEL, 0, 0);  // 毎月
        Click(editor, IDOK);
    });
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"z", "w"}));
    EXPECT_EQ(SelectedLine(list), 1);
    EXPECT_EQ(Lines(list)[1], "休 毎月第2月曜日  2000-2030 w               ");
}

TEST_F(HolidayDialogs, DeleteSelectsTheLineAboveAtTheEnd) {
    Seed({Holiday("a", 1, 1), Holiday("b", 2, 2)});
    HWND list = OpenList();
    SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_SETCURSEL, 1, 0);
    Click(list, IDC_DELETE);
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SelectedLine(list), 0);
    Click(list, IDC_DELETE);
    EXPECT_EQ(SelectedLine(list), LB_ERR);
    EXPECT_TRUE(Lines(list).empty());
    EXPECT_FALSE(Enabled(list, IDC_EDIT));
    EXPECT_FALSE(Enabled(list, IDC_DELETE));
    Click(list, IDC_EDIT);
    EXPECT_EQ(gEditorRuns, 0);
}

// 追加 is disabled at 50 records, and a click that reaches it anyway opens nothing.
TEST_F(HolidayDialogs, FiftyRecordsStopAdding) {
    std::vector<CustomHoliday> records;
    for (uint16_t i = 0; i < kMaxCustomHolidays; ++i) {
        records.push_back(Holiday("n", i % 12 + 1, i / 12 + 1));
    }
    Seed(records);
    HWND list = OpenList();
    EXPECT_FALSE(Enabled(list, IDC_ADD));
    SendDlgItemMessageA(list, IDC_ADD, BM_CLICK, 0, 0);
    EXPECT_EQ(gEditorRuns, 0);
    Click(list, IDC_DELETE);
    EXPECT_TRUE(Enabled(list, IDC_ADD));
}

TEST_F(HolidayDialogs, OkWithoutChangesNeitherWritesNorRefreshes) {
    Seed({Holiday("a", 1, 1)});
    HWND list = OpenList();
    DeleteFileA(path_.c_str());
    Click(list, IDOK);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(FileBytes(path_), "");
    EXPECT_EQ(gRefreshes, 0);
}

// How the user drops the changes: the ｷｬﾝｾﾙ button (or Esc) and the close box.
struct DropCase {
    const char* name;
    UINT message;
    WPARAM wParam;
};

static const DropCase kDrops[] = {
    {"CancelButton", WM_COMMAND, IDCANCEL},
    {    "CloseBox",   WM_CLOSE,        0},
};

class HolidayListDrop : public HolidayDialogs, public testing::WithParamInterface<DropCase> {};

TEST_P(HolidayListDrop, PutsTheRecordsBackAndLeavesTheFile) {
    Seed({Holiday("a", 1, 1), Holiday("b", 2, 2)});
    const std::string before = FileBytes(path_);
    HWND list = OpenList();
    Click(list, IDC_DELETE);
    AddRecord(list, {"", "2000", "2030", true, 3, 3, 0, 0, "x", 0, 0});
    ASSERT_EQ(StoreNames(), (std::vector<std::string>{"b", "x"}));
    SendMessageA(list, GetParam().message, GetParam().wParam, 0);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(CustomHolidays().modified);
    EXPECT_EQ(FileBytes(path_), before);
    EXPECT_EQ(gRefreshes, 0);
}

INSTANTIATE_TEST_SUITE_P(Drops, HolidayListDrop, testing::ValuesIn(kDrops),
                         [](const testing::TestParamInfo<DropCase>& info) {
                             return std::string(info.param.name);
                         });

// A save that fails is reported; the list stays open with the edited records, the file stays as
// it was and nothing is refreshed. Once the folder can be written, OK saves and refreshes once.
TEST_F(HolidayDialogs, FailedSaveWarnsAndKeepsTheListOpen) {
    Seed({Holiday("a", 1, 1), Holiday("b", 2, 2)});
    const std::string before = FileBytes(path_);
    // The replacement is written beside the file first; a folder in its place makes that fail.
    ASSERT_TRUE(CreateDirectoryA((path_ + ".tmp").c_str(), nullptr));
    HWND list = OpenList();
    Click(list, IDC_DELETE);
    Click(list, IDOK);
    ASSERT_EQ(gMessages.size(), 1u);
    ExpectWarning(gMessages[0], IDS_SAVEFAILED);
    EXPECT_NE(gMessages[0].text.find("保存できませんでした"), std::string::npos);
    EXPECT_EQ(gMessages[0].owner, list);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(Lines(list).size(), 1u);
    EXPECT_EQ(FileBytes(path_), before);
    EXPECT_EQ(gRefreshes, 0);

    ASSERT_TRUE(RemoveDirectoryA((path_ + ".tmp").c_str()));
    Click(list, IDOK);
    EXPECT_EQ(gMessages.size(), 1u);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(gRefreshes, 1);
    SetCustomHolidayPath(path_.c_str());
    LoadCustomHolidays();
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"b"}));
}

// The opener runs the list modally; opening it again while it runs only brings it forward.
void CALLBACK ReopenThenCancelList(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EXPECT_TRUE(GetCustomHolidayListDialog().open);
    OpenCustomHolidayListDialog(nullptr);
    Click(GetCustomHolidayListDialog().window, IDCANCEL);
}

TEST_F(HolidayDialogs, OpenerRunsTheListOnceAndClearsItsState) {
    SetTimer(nullptr, 0, 30, ReopenThenCancelList);
    OpenCustomHolidayListDialog(nullptr);
    EXPECT_FALSE(GetCustomHolidayListDialog().open);
    EXPECT_EQ(GetCustomHolidayListDialog().window, nullptr);
}

constexpr int kBadDate = IDS_INVALIDDATE;
constexpr int kNoName = IDS_NAMEREQUIRED;

static const EditorCase kRefusals[] = {
    { "FirstAfterLast", "2010", "2005",  true, 5,  5, 0, 0, "x", kBadDate,   IDC_FIRSTYEAR},
    {          "Feb30", "2000", "2030",  true, 2, 30, 0, 0, "x", kBadDate,     IDC_DAYLIST},
    {"FifthSunFeb2005", "2005", "2005", false, 2,  0, 5, 0, "x", kBadDate, IDC_WEEKDAYLIST},
    {    "NoDayChosen", "2005", "2005",  true, 2,  0, 5, 0, "x", kBadDate,     IDC_DAYLIST},
    {      "EmptyName", "2004", "2004", false, 2,  0, 5, 0,  "",  kNoName,        IDC_NAME},
};

class HolidayEditorRefusal : public HolidayDialogs,
                             public testing::WithParamInterface<EditorCase> {};

TEST_P(HolidayEditorRefusal, WarnsAndFocusesTheFieldToCorrect) {
    bool stillShown = false;
    RunEditorFrom(OpenList(), IDC_ADD, [&](HWND editor) {
        Fill(editor, GetParam());
        Click(editor, IDOK);
        stillShown = IsWindowVisible(editor);
        EXPECT_EQ(GetFocus(), GetDlgItem(editor, GetParam().focusId));
    });
    ASSERT_EQ(gMessages.size(), 1u);
    ExpectWarning(gMessages[0], GetParam().messageId);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(CustomHolidays().count, 0);
}

INSTANTIATE_TEST_SUITE_P(Refusals, HolidayEditorRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<EditorCase>& info) {
                             return std::string(info.param.name);
                         });

// The name field holds 16 Shift_JIS bytes: typed beyond them, the edit keeps what will be saved,
// whole characters only (eight kanji, sixteen letters; half-width kana take one byte each).
TEST_F(HolidayDialogs, TheNameEditKeepsWhatTheDataFileCanHold) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* kept;
    };
    const Case cases[] = {
        {L"月月月月月月月月月月", L"月月月月月月月月"},
        {             L"abcdefghijklmnopq",         L"abcdefghijklmnop"},
        {            L"abcdefghijklmno月",          L"abcdefghijklmno"},
        {            L"ｷｬﾝｾﾙ月",       L"ｷｬﾝｾﾙ月"},
    };
    RunEditorFrom(OpenList(), IDC_ADD, [&](HWND editor) {
        for (const Case& c : cases) {
            SetDlgItemTextW(editor, IDC_NAME, c.typed);
            wchar_t shown[64] = L"";
            GetDlgItemTextW(editor, IDC_NAME, shown, 64);
            EXPECT_EQ(std::wstring(shown), std::wstring(c.kept));
        }
        Click(editor, IDCANCEL);
    });
}

// A name Shift_JIS cannot write (a character beyond the basic plane, an emoji) would be stored as
// "?": it is refused with its own message, the focus on the name.
TEST_F(HolidayDialogs, ANameOutsideShiftJisIsRefusedNotStoredAsQuestionMarks) {
    static const wchar_t* const kNames[] = {L"\U00020BB7野家", L"月見\U0001F315"};
    for (const wchar_t* name : kNames) {
        gMessages.clear();
        RunEditorFrom(OpenList(), IDC_ADD, [&](HWND editor) {
            Fill(editor, {"", "2004", "2004", true, 5, 5, 0, 0, "x", 0, 0});
            SetDlgItemTextW(editor, IDC_NAME, name);
            Click(editor, IDOK);
            EXPECT_TRUE(IsWindowVisible(editor));
            EXPECT_EQ(GetFocus(), GetDlgItem(editor, IDC_NAME));
            Click(editor, IDCANCEL);
        });
        DestroyWindow(list_);
        ASSERT_EQ(gMessages.size(), 1u);
        ExpectWarning(gMessages[0], IDS_NAMENOTSHIFTJIS);
        EXPECT_EQ(CustomHolidays().count, 0);
    }
}

// Enter confirms with the focus still in a year edit: the years are corrected before the check
// all the same, and the corrected years are stored.
TEST_F(HolidayDialogs, EnterStoresTheCorrectedYears) {
    RunEditorFrom(OpenList(), IDC_ADD, [](HWND editor) {
        Fill(editor, {"", "1850", "2200", true, 1, 1, 0, 0, "x", 0, 0});
        SetFocus(GetDlgItem(editor, IDC_LASTYEAR));
        SendMessageA(editor, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(CustomHolidays().count, 1);
    EXPECT_EQ(CustomHolidays().records[0].firstYear, 1900);
    EXPECT_EQ(CustomHolidays().records[0].lastYear, 2100);
    EXPECT_TRUE(gMessages.empty());
}

}  // namespace
