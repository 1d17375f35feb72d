// The notice settings dialog (template 158): the master switch, the kinds of fact and the selected
// days as check boxes, the time of day, the lead days and the minutes before an eclipse. OK checks
// the fields and has the program save them to [Notify]; キャンセル changes nothing; 今すぐ表示
// shows today's notice with what the dialog holds, saved or not.
#pragma once

#include <windows.h>

#include "presentation/notice.h"

// What the dialog needs from the program around it. Until set, the dialog opens on the defaults,
// nothing is saved (save answers false) and nothing is shown.
struct NoticeServices {
    NoticeSettings (*load)();                            // the settings in use
    bool (*save)(const NoticeSettings& settings);        // writes [Notify]; false when refused
    int32_t (*showNow)(const NoticeSettings& settings);  // a NoticeShowResult
};

// What 今すぐ表示 came to.
enum NoticeShowResult : int32_t {
    NoticeShown = 0,
    NoticeNothingToTell = 1,
    NoticeNoIcon = 2,
};

void SetNoticeServices(const NoticeServices& services);
const NoticeServices& GetNoticeServices();

// The dialog while it runs; window is null when it is closed.
struct NoticeDialog {
    bool open;
    HWND window;
};

const NoticeDialog& GetNoticeDialog();

// Opens the dialog owned by `owner` on the settings in use; only brings it to the foreground when
// it is already open. Returns IDOK when new settings were saved, IDCANCEL otherwise, -1 when it
// could not be made.
INT_PTR OpenNoticeDialog(HWND owner);

INT_PTR CALLBACK NoticeDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
