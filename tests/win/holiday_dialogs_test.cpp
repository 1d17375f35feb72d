// The custom holiday list and editor driven by messages through the real dialog manager, on the
// program's own templates (under Wine on Xvfb). The editor runs modally from the list; a thread
// timer plays the user's part in it and cancels whatever a test left open.
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

// --- What the program shows and writes -------------------------------------------------------

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

std::string LoadText(int id) {
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return text;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            bytes.append(buffer, got);
        }
        std::fclose(file);
    }
    return bytes;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

CustomHoliday Holiday(const char* name, uint16_t month, uint16_t day, bool dayOff = true) {
    CustomHoliday r = {};
    r.kind = dayOff ? DayOff : Anniversary;
    r.rule = ByDate;
    r.month = month;
    r.day = day;
    r.firstYear = 2000;
    r.lastYear = 2030;
    std::strncpy(r.name, name, sizeof r.name - 1);
    return r;
}

std::vector<std::string> StoreNames() {
    std::vector<std::string> names;
    const CustomHolidayStore& store = CustomHolidays();
    for (int32_t i = 0; i < store.count; ++i) {
        names.push_back(store.records[i].name);
    }
    return names;
}

// --- Controls -------------------------------------------------------------------------------

std::string Text(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> Lines(HWND list) {
    std::vector<std::string> lines;
    const LRESULT count = SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char line[256] = "";
        SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines.push_back(line);
    }
    return lines;
}

LRESULT Selected(HWND dialog, int id, UINT message) {
    return SendDlgItemMessageA(dialog, id, message, 0, 0);
}

LRESULT SelectedLine(HWND list) {
    return Selected(list, IDC_HOLIDAYLIST, LB_GETCURSEL);
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

void SelectLine(HWND list, int line) {
    SendDlgItemMessageA(list, IDC_HOLIDAYLIST, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageA(list, WM_COMMAND, MAKEWPARAM(IDC_HOLIDAYLIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(list, IDC_HOLIDAYLIST)));
}

// What a user sets in the editor before confirming.
struct EditorInput {
    const char* firstYear;
    const char* lastYear;
    bool byDate;
    int month;    // selection of the month list: 0 = 毎月
    int day;      // 1..31; 0 = no selection
    int week;     // selection of the week list
    int weekday;  // selection of the weekday list
    const char* name;
    bool dayOff;
};

void Fill(HWND editor, const EditorInput& in) {
    SetDlgItemTextA(editor, IDC_FIRSTYEAR, in.firstYear);
    SetDlgItemTextA(editor, IDC_LASTYEAR, in.lastYear);
    SendDlgItemMessageA(editor, in.byDate ? IDC_BYDATE : IDC_BYWEEKDAY, BM_CLICK, 0, 0);
    SendDlgItemMessageA(editor, IDC_MONTHLIST, CB_SETCURSEL, in.month, 0);
    SendDlgItemMessageA(editor, IDC_DAYLIST, CB_SETCURSEL, static_cast<WPARAM>(in.day - 1), 0);
    SendDlgItemMessageA(editor, IDC_WEEKLIST, CB_SETCURSEL, in.week, 0);
    SendDlgItemMessageA(editor, IDC_WEEKDAYLIST, CB_SETCURSEL, in.weekday, 0);
    SetDlgItemTextA(editor, IDC_NAME, in.name);
    CheckDlgButton(editor, IDC_DAYOFF, in.dayOff ? BST_CHECKED : BST_UNCHECKED);
}

// --- The user's part in the modal editor ------------------------------------------------------

std::function<void(HWND)> gEditorScript;
int gEditorRuns = 0;
bool gDriving = false;

// Thread timers are dispatched by whichever modal loop runs, the editor's included. The script of
// the test runs once in the open editor; an editor without a script is cancelled, so no test can
// hang on a window nobody closes.
void CALLBACK DriveEditor(HWND, UINT, UINT_PTR, DWORD) {
    const CustomHolidayEditDialog& editor = GetCustomHolidayEditDialog();
    // The modal loop may dispatch a timer before it first shows the dialog; wait for that.
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
    // An ended dialog is hidden until its loop returns; one still shown is cancelled.
    if (IsWindowVisible(editor.window)) {
        Click(editor.window, IDCANCEL);
    }
    gDriving = false;
}

void Confirm(HWND editor) {
    Click(editor, IDOK);
}

// Runs `script` in the editor that the list's button `buttonId` opens.
void RunEditorFrom(HWND list, int buttonId, std::function<void(HWND)> script) {
    gEditorScript = std::move(script);
    Click(list, buttonId);
    gEditorScript = nullptr;
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
        SetWindowServices(
            WindowServices{GetModuleHandleA(nullptr), nullptr, nullptr, CountRefresh});
        GetMessageBoxHooks().show = RecordMessage;
        gMessages.clear();
        gRefreshes = 0;
        gEditorRuns = 0;
        timer_ = SetTimer(nullptr, 0, 20, DriveEditor);
    }

    void TearDown() override {
        if (list_ != nullptr) {
            DestroyWindow(list_);
        }
        KillTimer(nullptr, timer_);
        GetMessageBoxHooks().show = nullptr;
        RemoveDirectoryA((path_ + ".tmp").c_str());
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // Writes `records` as the data file and leaves the store unloaded, as at the program's start.
    void Seed(const std::vector<CustomHoliday>& records) {
        CustomHolidayStore& store = CustomHolidays();
        store.loaded = true;
        store.count = 0;
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

// --- The list --------------------------------------------------------------------------------

TEST_F(HolidayDialogs, MissingFileShowsAnEmptyListWithNothingToEditOrDelete) {
    HWND list = OpenList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(Lines(list).empty());
    EXPECT_EQ(SelectedLine(list), LB_ERR);
    EXPECT_TRUE(Enabled(list, IDC_ADD));
    EXPECT_FALSE(Enabled(list, IDC_EDIT));
    EXPECT_FALSE(Enabled(list, IDC_DELETE));
    Click(list, IDC_EDIT);
    Click(list, IDC_DELETE);
    EXPECT_EQ(gEditorRuns, 0);
}

TEST_F(HolidayDialogs, LinesFollowTheStoreAndTheFirstIsSelected) {
    Seed({Holiday("b", 6, 1), Holiday("a", 5, 3)});
    HWND list = OpenList();
    const std::vector<std::string> lines = {"休 05月03日       2000-2030 a               ",
                                            "休 06月01日       2000-2030 b               "};
    EXPECT_EQ(Lines(list), lines);
    EXPECT_EQ(SelectedLine(list), 0);
    EXPECT_TRUE(Enabled(list, IDC_EDIT));
}

// A new entry starts on today's date, by date, with today's weekday and its ordinal ready.
TEST_F(HolidayDialogs, AddStartsOnTodayAndPlacesTheRecordInOrder) {
    Seed({Holiday("a", 5, 3), Holiday("c", 7, 1)});
    HWND list = OpenList();
    SYSTEMTIME today;
    GetLocalTime(&today);
    RunEditorFrom(list, IDC_ADD, [&](HWND editor) {
        char year[8];
        std::snprintf(year, sizeof year, "%d", today.wYear);
        EXPECT_EQ(Text(editor, IDC_FIRSTYEAR), year);
        EXPECT_EQ(Text(editor, IDC_LASTYEAR), year);
        EXPECT_EQ(Selected(editor, IDC_MONTHLIST, CB_GETCURSEL), today.wMonth);
        EXPECT_EQ(Selected(editor, IDC_DAYLIST, CB_GETCURSEL), today.wDay - 1);
        EXPECT_EQ(Selected(editor, IDC_WEEKLIST, CB_GETCURSEL), (today.wDay + 6) / 7);
        EXPECT_EQ(Selected(editor, IDC_WEEKDAYLIST, CB_GETCURSEL), today.wDayOfWeek);
        EXPECT_EQ(IsDlgButtonChecked(editor, IDC_BYDATE), BST_CHECKED);
        EXPECT_TRUE(Visible(editor, IDC_DAYLIST));
        EXPECT_FALSE(Visible(editor, IDC_WEEKLIST));
        EXPECT_EQ(Text(editor, IDC_NAME), "");
        Fill(editor, {"2005", "2100", true, 6, 10, 0, 0, "b", true});
        Confirm(editor);
    });
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SelectedLine(list), 1);
    EXPECT_EQ(Lines(list)[1], "休 06月10日       2005-2100 b               ");
    EXPECT_TRUE(CustomHolidays().modified);
    EXPECT_TRUE(gMessages.empty());
}

TEST_F(HolidayDialogs, AddingAnEqualRecordPlacesItAfterTheExistingOne) {
    Seed({Holiday("a", 5, 3), Holiday("a", 5, 3, false)});
    HWND list = OpenList();
    RunEditorFrom(list, IDC_ADD, [](HWND editor) {
        Fill(editor, {"2000", "2030", true, 5, 3, 0, 0, "a", true});
        Confirm(editor);
    });
    ASSERT_EQ(CustomHolidays().count, 3);
    EXPECT_EQ(SelectedLine(list), 1);
    EXPECT_EQ(CustomHolidays().records[2].kind, Anniversary);
}

TEST_F(HolidayDialogs, CancelledEditorChangesNothing) {
    Seed({Holiday("a", 5, 3)});
    HWND list = OpenList();
    RunEditorFrom(list, IDC_ADD, [](HWND editor) {
        Fill(editor, {"2000", "2030", true, 5, 3, 0, 0, "new", true});
        Click(editor, IDCANCEL);
    });
    EXPECT_EQ(gEditorRuns, 1);
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a"}));
    EXPECT_FALSE(CustomHolidays().modified);
}

// The editor opens on the selected record; the edited record moves to its new place.
TEST_F(HolidayDialogs, EditShowsTheRecordAndMovesItsLine) {
    CustomHoliday weekly = Holiday("w", 5, 0);
    weekly.rule = ByWeekday;
    weekly.week = 2;
    weekly.weekday = 1;
    CustomHoliday december = weekly;
    december.month = 12;
    std::strcpy(december.name, "z");
    Seed({weekly, december});
    HWND list = OpenList();
    SelectLine(list, 0);
    RunEditorFrom(list, IDC_EDIT, [](HWND editor) {
        EXPECT_EQ(Text(editor, IDC_NAME), "w");
        EXPECT_EQ(Text(editor, IDC_FIRSTYEAR), "2000");
        EXPECT_EQ(IsDlgButtonChecked(editor, IDC_BYWEEKDAY), BST_CHECKED);
        EXPECT_FALSE(Visible(editor, IDC_DAYLIST));
        EXPECT_TRUE(Visible(editor, IDC_WEEKDAYLIST));
        EXPECT_EQ(Selected(editor, IDC_MONTHLIST, CB_GETCURSEL), 5);
        EXPECT_EQ(Selected(editor, IDC_WEEKLIST, CB_GETCURSEL), 2);
        EXPECT_EQ(Selected(editor, IDC_WEEKDAYLIST, CB_GETCURSEL), 1);
        EXPECT_EQ(Selected(editor, IDC_DAYLIST, CB_GETCURSEL), CB_ERR);
        SendDlgItemMessageA(editor, IDC_MONTHLIST, CB_SETCURSEL, 0, 0);  // every month
        Confirm(editor);
    });
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"z", "w"}));
    EXPECT_EQ(SelectedLine(list), 1);
    EXPECT_EQ(Lines(list)[1], "休 毎月第2月曜日  2000-2030 w               ");
}

TEST_F(HolidayDialogs, DeleteSelectsTheLineAboveAtTheEnd) {
    Seed({Holiday("a", 1, 1), Holiday("b", 2, 2), Holiday("c", 3, 3)});
    HWND list = OpenList();
    SelectLine(list, 1);
    Click(list, IDC_DELETE);
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(SelectedLine(list), 1);
    Click(list, IDC_DELETE);
    EXPECT_EQ(SelectedLine(list), 0);
    Click(list, IDC_DELETE);
    EXPECT_EQ(SelectedLine(list), LB_ERR);
    EXPECT_TRUE(Lines(list).empty());
    EXPECT_FALSE(Enabled(list, IDC_EDIT));
    EXPECT_FALSE(Enabled(list, IDC_DELETE));
    EXPECT_TRUE(CustomHolidays().modified);
    EXPECT_EQ(gEditorRuns, 0);
}

// 追加 is disabled at 50 records, and a click that reaches it anyway opens nothing.
TEST_F(HolidayDialogs, FiftyRecordsStopAdding) {
    std::vector<CustomHoliday> records;
    for (int i = 0; i < kMaxCustomHolidays; ++i) {
        records.push_back(
            Holiday("n", static_cast<uint16_t>(i % 12 + 1), static_cast<uint16_t>(i / 12 + 1)));
    }
    Seed(records);
    HWND list = OpenList();
    EXPECT_FALSE(Enabled(list, IDC_ADD));
    SendDlgItemMessageA(list, IDC_ADD, BM_CLICK, 0, 0);
    EXPECT_EQ(gEditorRuns, 0);
    EXPECT_EQ(CustomHolidays().count, kMaxCustomHolidays);
    Click(list, IDC_DELETE);
    EXPECT_TRUE(Enabled(list, IDC_ADD));
}

TEST_F(HolidayDialogs, OkWritesTheFileAndRefreshesOnce) {
    Seed({Holiday("a", 1, 1), Holiday("b", 2, 2)});
    HWND list = OpenList();
    Click(list, IDC_DELETE);
    Click(list, IDOK);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(gRefreshes, 1);
    EXPECT_TRUE(gMessages.empty());
    SetCustomHolidayPath(path_.c_str());
    LoadCustomHolidays();
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"b"}));
}

TEST_F(HolidayDialogs, OkWithoutChangesNeitherWritesNorRefreshes) {
    Seed({Holiday("a", 1, 1)});
    HWND list = OpenList();
    DeleteFileA(path_.c_str());
    Click(list, IDOK);
    EXPECT_FALSE(FileExists(path_));
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
    RunEditorFrom(list, IDC_ADD, [](HWND editor) {
        Fill(editor, {"2000", "2030", true, 3, 3, 0, 0, "x", false});
        Confirm(editor);
    });
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
// it was, nothing is refreshed, and the user can still cancel.
TEST_F(HolidayDialogs, FailedSaveWarnsAndKeepsTheListOpen) {
    Seed({Holiday("a", 1, 1), Holiday("b", 2, 2)});
    const std::string before = FileBytes(path_);
    // The replacement is written beside the file first; a folder in its place makes that fail.
    ASSERT_TRUE(CreateDirectoryA((path_ + ".tmp").c_str(), nullptr));
    HWND list = OpenList();
    Click(list, IDC_DELETE);
    Click(list, IDOK);
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_EQ(gMessages[0].text, LoadText(IDS_SAVEFAILED));
    EXPECT_NE(gMessages[0].text.find("保存できませんでした"), std::string::npos);
    EXPECT_EQ(gMessages[0].caption, GetAppTitle());
    EXPECT_EQ(gMessages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(gMessages[0].owner, list);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(Lines(list).size(), 1u);
    EXPECT_TRUE(CustomHolidays().modified);
    EXPECT_EQ(FileBytes(path_), before);
    EXPECT_EQ(gRefreshes, 0);

    Click(list, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(StoreNames(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(FileBytes(path_), before);
}

TEST_F(HolidayDialogs, FailedSaveInAMissingFolderCanBeRetried) {
    const std::string missing = folder_ + "\\missing\\holidays.dat";
    SetCustomHolidayPath(missing.c_str());
    HWND list = OpenList();
    RunEditorFrom(list, IDC_ADD, [](HWND editor) {
        Fill(editor, {"2000", "2030", true, 3, 3, 0, 0, "x", false});
        Confirm(editor);
    });
    Click(list, IDOK);
    EXPECT_EQ(gMessages.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(list));
    ASSERT_TRUE(CreateDirectoryA((folder_ + "\\missing").c_str(), nullptr));
    Click(list, IDOK);
    EXPECT_EQ(gMessages.size(), 1u);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(gRefreshes, 1);
    EXPECT_TRUE(FileExists(missing));
    DeleteFileA(missing.c_str());
    RemoveDirectoryA((folder_ + "\\missing").c_str());
}

// The opener runs the list modally; opening it again while it runs only brings it forward.
void CALLBACK ReopenThenCancelList(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EXPECT_TRUE(GetCustomHolidayListDialog().open);
    OpenCustomHolidayListDialog(nullptr);  // returns at once: the list is open
    Click(GetCustomHolidayListDialog().window, IDCANCEL);
}

TEST_F(HolidayDialogs, OpenerRunsTheListOnceAndClearsItsState) {
    SetTimer(nullptr, 0, 30, ReopenThenCancelList);
    OpenCustomHolidayListDialog(nullptr);
    EXPECT_FALSE(GetCustomHolidayListDialog().open);
    EXPECT_EQ(GetCustomHolidayListDialog().window, nullptr);
    EXPECT_TRUE(CustomHolidays().loaded);
}

// --- The editor ------------------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    EditorInput input;
    int messageId;  // 0: accepted
    int focusId;    // the control that takes the focus after the message
};

static const RefusalCase kRefusals[] = {
    {"FirstYearAfterLast",
     {"2010", "2005", true, 5, 5, 0, 0, "x", false},
     IDS_INVALIDDATE,   IDC_FIRSTYEAR                                                                        },
    {      "February30th", {"2000", "2030", true, 2, 30, 0, 0, "x", false},  IDS_INVALIDDATE,     IDC_DAYLIST},
    {"FifthSundayFeb2005",
     {"2005", "2005", false, 2, 0, 5, 0, "x", false},
     IDS_INVALIDDATE, IDC_WEEKDAYLIST                                                                        },
    {  "NoDayAfterSwitch",
     {"2005", "2005", true, 2, 0, 5, 0, "x", false},
     IDS_INVALIDDATE,     IDC_DAYLIST                                                                        },
    {         "EmptyName",  {"2004", "2004", false, 2, 0, 5, 0, "", false}, IDS_NAMEREQUIRED,        IDC_NAME},
};

class HolidayEditorRefusal : public HolidayDialogs,
                             public testing::WithParamInterface<RefusalCase> {};

TEST_P(HolidayEditorRefusal, WarnsAndFocusesTheFieldToCorrect) {
    const RefusalCase& c = GetParam();
    HWND list = OpenList();
    HWND focused = nullptr;
    bool stillOpen = false;
    RunEditorFrom(list, IDC_ADD, [&](HWND editor) {
        Fill(editor, c.input);
        Confirm(editor);
        focused = GetFocus();
        stillOpen = GetCustomHolidayEditDialog().open && IsWindowVisible(editor);
        EXPECT_EQ(GetDlgItem(editor, c.focusId), focused);
    });
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_EQ(gMessages[0].text, LoadText(c.messageId));
    EXPECT_EQ(gMessages[0].caption, GetAppTitle());
    EXPECT_EQ(gMessages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(CustomHolidays().count, 0);
}

INSTANTIATE_TEST_SUITE_P(Refusals, HolidayEditorRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) {
                             return std::string(info.param.name);
                         });

// Confirming with Enter leaves the focus in a year edit: the years are corrected before the check
// all the same, and the corrected years are those stored.
TEST_F(HolidayDialogs, EnterStoresTheCorrectedYears) {
    HWND list = OpenList();
    RunEditorFrom(list, IDC_ADD, [](HWND editor) {
        Fill(editor, {"1850", "2200", true, 1, 1, 0, 0, "x", false});
        SetFocus(GetDlgItem(editor, IDC_LASTYEAR));
        SendMessageA(editor, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(CustomHolidays().count, 1);
    EXPECT_EQ(CustomHolidays().records[0].firstYear, 1900);
    EXPECT_EQ(CustomHolidays().records[0].lastYear, 2100);
    EXPECT_TRUE(gMessages.empty());
}

struct YearTextCase {
    const char* name;
    const char* typed;
    const char* shown;
};

static const YearTextCase kYearTexts[] = {
    {"Before1900", "1850", "1900"},
    {  "NoDigits",  "abc", "1900"},
    { "After2100", "2200", "2100"},
    {   "InRange", "2026", "2026"},
};

class HolidayEditorYear : public HolidayDialogs,
                          public testing::WithParamInterface<YearTextCase> {};

TEST_P(HolidayEditorYear, LeavingTheEditCorrectsItsText) {
    HWND list = OpenList();
    std::string first;
    std::string last;
    RunEditorFrom(list, IDC_ADD, [&](HWND editor) {
        for (int id : {IDC_FIRSTYEAR, IDC_LASTYEAR}) {
            SetDlgItemTextA(editor, id, GetParam().typed);
            SendMessageA(editor, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
                         reinterpret_cast<LPARAM>(GetDlgItem(editor, id)));
        }
        first = Text(editor, IDC_FIRSTYEAR);
        last = Text(editor, IDC_LASTYEAR);
    });
    EXPECT_EQ(first, GetParam().shown);
    EXPECT_EQ(last, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(YearTexts, HolidayEditorYear, testing::ValuesIn(kYearTexts),
                         [](const testing::TestParamInfo<YearTextCase>& info) {
                             return std::string(info.param.name);
                         });

// The lists of the other method hide at once; their selections are kept for a switch back.
TEST_F(HolidayDialogs, MethodButtonsSwapTheLists) {
    HWND list = OpenList();
    RunEditorFrom(list, IDC_ADD, [](HWND editor) {
        SendDlgItemMessageA(editor, IDC_BYWEEKDAY, BM_CLICK, 0, 0);
        EXPECT_FALSE(Visible(editor, IDC_DAYLIST));
        EXPECT_TRUE(Visible(editor, IDC_WEEKLIST));
        EXPECT_TRUE(Visible(editor, IDC_WEEKDAYLIST));
        EXPECT_FALSE(GetHolidayEditorFields().byDate);
        SendDlgItemMessageA(editor, IDC_BYDATE, BM_CLICK, 0, 0);
        EXPECT_TRUE(Visible(editor, IDC_DAYLIST));
        EXPECT_FALSE(Visible(editor, IDC_WEEKLIST));
        EXPECT_FALSE(Visible(editor, IDC_WEEKDAYLIST));
    });
    EXPECT_EQ(gEditorRuns, 1);
}

}  // namespace
