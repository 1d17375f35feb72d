// The morning notice and the eclipse warning as the tray shows them: when they are due, and the
// notification of the first enabled icon that carries them. The texts are composed by
// presentation/notice; this side decides the moment and talks to the shell.
#pragma once

#include <windows.h>

#include "presentation/notice.h"

// At start, on each minute tick, after a resume or a change of the clock or the zone: shows the
// day's notice when NoticeDue says so for the local clock, the chosen time and [Notify]
// LastShown, and then writes LastShown (also when there was nothing to tell, so that the day is
// decided once). Nothing with the master switch off.
void CheckDailyNotice();

// On each minute tick: the warning of the next eclipse seen at the place when it begins within the
// chosen minutes, once for each eclipse ([Notify] EclipseWarned keeps it over a restart).
void CheckEclipseWarning();

// Today's notice with `settings` at once, whatever the switch and LastShown: the dialog's
// 今すぐ表示. Returns a NoticeShowResult (NoticeShown, NoticeNothingToTell, NoticeNoIcon).
int32_t ShowTodaysNotice(const NoticeSettings& settings);

// Hands `notice` to the shell as the notification of the first enabled icon in display order,
// with the Moon picture of the moment as its large icon, respecting quiet time. Returns false
// when no icon is enabled, a full-screen program or presentation runs, or the shell refused it.
bool ShowTrayNotice(const Notice& notice);

// The day the last notice shown names first: where a click on it opens the calendar.
CivilDate LastNoticeDay();

// A click on the notification (NIN_BALLOONUSERCLICK): opens the calendar on LastNoticeDay,
// owned by `owner`.
void OpenNoticeDay(HWND owner);

// Whether `state` of SHQueryUserNotificationState lets a notice show: not while a full-screen
// program, a Direct3D full-screen game or presentation mode runs. A failed query may show.
bool NoticeMayShowIn(bool queried, int32_t state);
