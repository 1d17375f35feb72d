#include "tray/notice_tray.h"

#include <shellapi.h>

#include "astro/civil_dates.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "presentation/moon_events.h"
#include "tray/clock.h"
#include "tray/settings.h"
#include "tray/tray_icons.h"
#include "ui/dialogs.h"
#include "ui/notice_dialog.h"
#include "ui/ui_place.h"
#include "ui/win32_text.h"

namespace {

CivilDate lastNoticeDay = {1970, 1, 1};
double warnedBegin = -1;  // the begin of the eclipse last warned of; -1 until read from the file

// The states of SHQueryUserNotificationState in which nothing should pop up.
constexpr int32_t kBusyState = 2;         // QUNS_BUSY: a full-screen program
constexpr int32_t kFullScreenD3D = 3;     // QUNS_RUNNING_D3D_FULL_SCREEN
constexpr int32_t kPresentationMode = 4;  // QUNS_PRESENTATION_MODE

bool UserAcceptsNotices() {
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    const bool queried = SUCCEEDED(SHQueryUserNotificationState(&state));
    return NoticeMayShowIn(queried, static_cast<int32_t>(state));
}

CivilDate LocalToday(int32_t* minuteOfDay) {
    SYSTEMTIME local;
    ReadLocalClock(&local);
    *minuteOfDay = local.wHour * 60 + local.wMinute;
    return {local.wYear, local.wMonth, local.wDay};
}

}  // namespace

bool NoticeMayShowIn(bool queried, int32_t state) {
    return !queried ||
           (state != kBusyState && state != kFullScreenD3D && state != kPresentationMode);
}

bool ShowTrayNotice(const Notice& notice) {
    const TrayIconSlot* slots = TraySlots();
    const TrayIconSlot* first = nullptr;
    for (int p = 0; p < TrayIconCount && !first; ++p) {
        const TrayIconSlot& slot = slots[SlotAtDisplayPosition(p)];
        first = slot.enabled ? &slot : nullptr;
    }
    if (!first || !UserAcceptsNotices()) {
        return false;
    }
    // The slot's record keeps its own layout; the notice goes in a full-sized record of its own,
    // which the shell matches to the icon by window and id.
    NOTIFYICONDATAW n = {};
    n.cbSize = sizeof n;
    n.hWnd = first->notify.hWnd;
    n.uID = first->notify.uID;
    // An icon of version 4 keeps its plain tooltip only while every change asks for it.
    n.uFlags = NIF_INFO | (first->notify.uFlags & NIF_SHOWTIP);
    CopyWideText(n.szInfoTitle, ARRAYSIZE(n.szInfoTitle), WideFromShiftJis(notice.title.c_str()));
    CopyWideText(n.szInfo, ARRAYSIZE(n.szInfo), WideFromShiftJis(notice.text.c_str()));
    // The Moon slot's picture of the moment; the shell copies it, the slot keeps owning it.
    const HICON moon = slots[MoonIconSlot].notify.hIcon;
    n.hBalloonIcon = moon;
    n.dwInfoFlags = (moon ? NIIF_USER | NIIF_LARGE_ICON : NIIF_INFO) | NIIF_RESPECT_QUIET_TIME;
    if (!Shell_NotifyIconW(NIM_MODIFY, &n)) {
        return false;
    }
    lastNoticeDay = notice.firstDay;
    return true;
}

int32_t ShowTodaysNotice(const NoticeSettings& settings) {
    int32_t minute = 0;
    const CivilDate today = LocalToday(&minute);
    const Notice notice = ComposeNotice(
        CollectNoticeEvents(today, settings, TimeZoneBias(), GetUiPlace().place), today);
    if (notice.text.empty()) {
        return NoticeNothingToTell;
    }
    return ShowTrayNotice(notice) ? NoticeShown : NoticeNoIcon;
}

void CheckDailyNotice() {
    const NoticeSettings settings = ReadNoticeSettings();
    if (!settings.enabled) {
        return;
    }
    int32_t minute = 0;
    const CivilDate today = LocalToday(&minute);
    const int64_t day = DaysFromCivil(today);
    if (!NoticeDue(day, minute, settings.minuteOfDay, ReadNoticeLastShown())) {
        return;
    }
    const Notice notice = ComposeNotice(
        CollectNoticeEvents(today, settings, TimeZoneBias(), GetUiPlace().place), today);
    // A notice the shell could not take (no icon, a presentation running) waits for the next tick.
    if (!notice.text.empty() && !ShowTrayNotice(notice)) {
        return;
    }
    WriteNoticeLastShown(day);
}

void CheckEclipseWarning() {
    const NoticeSettings settings = ReadNoticeSettings();
    if (!settings.enabled || !(settings.kinds & NoticeEclipses)) {
        return;
    }
    SYSTEMTIME utc;
    ReadUtcClock(&utc);
    const double now = JulianDateFromSystemTime(utc);
    const int32_t bias = TimeZoneBias();
    if (warnedBegin < 0) {
        warnedBegin = ReadEclipseWarned();
    }
    EclipseAtPlace eclipse;
    if (!FindNextSeenEclipse(now, bias, GetUiPlace().place, &eclipse) ||
        !EclipseWarningDue(now, eclipse.begin, settings.eclipseMinutes, warnedBegin)) {
        return;
    }
    if (ShowTrayNotice(ComposeEclipseWarning(eclipse, bias))) {
        warnedBegin = eclipse.begin;
        WriteEclipseWarned(eclipse.begin);
    }
}

CivilDate LastNoticeDay() {
    return lastNoticeDay;
}

void OpenNoticeDay(HWND owner) {
    OpenMoonCalendarDialogOn(owner, static_cast<uint16_t>(lastNoticeDay.year),
                             static_cast<uint16_t>(lastNoticeDay.month),
                             static_cast<uint16_t>(lastNoticeDay.day));
}
