// The settings file and the two file paths beside the program.
#pragma once

#include "presentation/notice.h"
#include "presentation/place.h"
#include "tray/tray_icons.h"

// At start-up, after the main window exists and before the tray slots are prepared: sets
// reverseTrayOrder from the system version, derives both paths from the program's own module
// path and reads the icon switches into TraySlots(). When no path could be derived, nothing is read
// and the slots keep their defaults. When the program's folder cannot be written (C:\Program
// Files), both files are kept in %APPDATA%\Nocturo instead, which is made when needed; files
// beside the program are copied there the first time.
void LoadSettings();

// Makes a settings file that does not exist yet as an empty UTF-16 one (its byte-order mark alone)
// on a system whose ANSI code page is not 932, so that Japanese values keep their characters.
void StartSettingsFile();

// Keeps the settings and data files in %APPDATA%\Nocturo when the folder of the derived paths does
// not accept a new file (see LoadSettings); otherwise leaves them beside the program.
void KeepFilesWhereTheyCanBeWritten();

// Whether a new file can be made in `folder` (Shift_JIS) by this user now.
bool FolderAcceptsFiles(const char* folder);

// The folder of both files when it is not the program's own (%APPDATA%\Nocturo); "" beside it.
const char* GetFilesFolder();

// Derives both paths from `modulePath` (see DeriveFilePaths); both stay empty when it cannot.
void SetSettingsPaths(const char* modulePath);

// Reads the switch of each of `count` slots from section "Settings", in index order. A key whose
// value is missing or empty gets the slot's current switch written as "1" or "0"; any other value
// switches the slot on when its number is non-zero. If no slot is on afterwards, slot 0 is switched
// on and "1" written for its key. Does nothing without a settings path.
void ReadIconSettings(TrayIconSlot* slots, int count);

// The settings file ("" until derived or when the path was too long) and the custom-holiday data
// file, both beside the program.
const char* GetSettingsPath();
const char* GetDataPath();

// Writes "1" or "0" for `key` in section "Settings"; skipped without a settings path.
void WriteIconSetting(const char* key, bool on);

// Whether the calendar window shows each day's Moon age ("ShowAge" in section "Calendar"). A
// missing or empty value is written as "1" and counts as on; without a settings path the answer is
// on.
bool ReadShowAge();

// Writes "ShowAge" as "1" or "0"; skipped without a settings path.
void WriteShowAge(bool on);

// Whether LoadSettings found no settings file: the program's first start in its place (without a
// settings path, never).
bool IsFirstStart();

// The calendar's first weekday ("WeekStart" in section "Settings": 0 Sunday, 1 Monday) and whether
// its header shows the era year ("ShowEra", on unless "0"). An empty, foreign or out-of-range
// value, and no settings path, give the defaults 0 and on; nothing is written when reading.
int32_t ReadWeekStart();
bool ReadShowEra();

// Write them as "0"/"1"; skipped without a settings path.
void WriteWeekStart(int32_t weekStart);
void WriteShowEra(bool on);

// Whether the program shows the selected days (選日): "ShowNotes" in section "Settings", read by
// LoadSettings. A missing or empty value is written as "1" and counts as on.
bool ShowNotes();

// Switches the selected days on or off and writes "ShowNotes" as "1" or "0" (the write is skipped
// without a settings path).
void SetShowNotes(bool on);
// The observer's place of section "Place": Name, Latitude and Longitude (decimal degrees, north and
// east positive). When any of the three is missing, unreadable or out of range, and without a
// settings path, all three are the default (東京, 35.6581, 139.7414). Nothing is written.
PlaceSetting ReadPlaceSetting();

// Writes the place to section "Place", the coordinates with four decimals. Returns false without a
// settings path or when the file did not take a value.
bool WritePlaceSetting(const PlaceSetting& place);

// The notice's choices of section "Notify", each key falling back to its default alone when it
// is missing, unreadable or out of range (ParseNoticeSettings); the defaults without a settings
// path. Nothing is written.
NoticeSettings ReadNoticeSettings();

// Writes every key of the choices to section "Notify". Returns false without a settings path or
// when the file did not take a value.
bool WriteNoticeSettings(const NoticeSettings& settings);

// "LastShown" of section "Notify": the local date whose notice was shown, as days since
// 1970-01-01; -1 when missing, unreadable or without a settings path.
int64_t ReadNoticeLastShown();

// Writes "LastShown" as YYYY-MM-DD; skipped without a settings path.
void WriteNoticeLastShown(int64_t days);

// "EclipseWarned" of section "Notify": the UT Julian Date of the begin of the eclipse last warned
// of, so that a restart within the warning's minutes does not repeat it; 0 when missing or
// unreadable or without a settings path.
double ReadEclipseWarned();

// Writes "EclipseWarned" to six decimals of a day; skipped without a settings path.
void WriteEclipseWarned(double begin);
