// Resource ids, shared by the resource script and the program.
#pragma once

// Icon, menu, dialogs.
#define IDI_NOCTURO 101
#define IDR_RIGHTMENU 111
#define IDD_MOONINFO 121
#define IDD_MOONCALENDAR 122
#define IDD_SPLASH 151
#define IDD_HOLIDAYLIST 154
#define IDD_HOLIDAYEDIT 155
#define IDD_PLACE 156
#define IDD_DAYDETAIL 157
#define IDR_CALENDARMENU 112

// Strings.
#define IDS_ALREADYRUNNING 102
#define IDS_HIDEAGE 103
#define IDS_SHOWAGE 104
#define IDS_INVALIDDATE 105
#define IDS_NAMEREQUIRED 106
#define IDS_SAVEFAILED 107
#define IDS_NAMENOTSHIFTJIS 108
#define IDS_STARTUPFAILED 109
#define IDS_PLACENAMEREQUIRED 110
#define IDS_BADLATITUDE 111
#define IDS_BADLONGITUDE 112
#define IDS_PLACESAVEFAILED 113
#define IDS_TRAYHINT 114

// Bitmaps.
#define IDB_TIDES 130
#define IDB_MOONSTRIP 141
#define IDB_TRAYMOONS 143
#define IDB_PAGE 144
#define IDB_NUMBERS 146
#define IDB_WEEKDAYS 147
#define IDB_SPLASH 153

// The tray pictures drawn for larger icons (20, 24 and 32 pixels) and the Moon strip drawn for
// 120, 144 and 192 dpi: the ids above plus 100, 200 and 300 (the sets of picture_sizes.h).
#define IDB_TIDES20 230
#define IDB_MOONSTRIP120 241
#define IDB_TRAYMOONS20 243
#define IDB_PAGE20 244
#define IDB_NUMBERS20 246
#define IDB_WEEKDAYS20 247
#define IDB_TIDES24 330
#define IDB_MOONSTRIP144 341
#define IDB_TRAYMOONS24 343
#define IDB_PAGE24 344
#define IDB_NUMBERS24 346
#define IDB_WEEKDAYS24 347
#define IDB_TIDES32 430
#define IDB_MOONSTRIP192 441
#define IDB_TRAYMOONS32 443
#define IDB_PAGE32 444
#define IDB_NUMBERS32 446
#define IDB_WEEKDAYS32 447

// Menu commands.
#define IDM_MOONINFO 40001
#define IDM_CALENDAR 40002
#define IDM_HOLIDAYS 32771
#define IDM_TOGGLEMOON 40003
#define IDM_TOGGLETIDE 40004
#define IDM_TOGGLEMONTH 40005
#define IDM_TOGGLEDAY 40006
#define IDM_TOGGLEWEEKDAY 40007
#define IDM_EXIT 40008
#define IDM_STARTUP 40009
#define IDM_SHOWNOTES 40010
#define IDM_PLACE 40011

// The calendar window's right-click menu.
#define IDM_WEEKSTARTMONDAY 40012
#define IDM_SHOWERA 40013

// Moon information dialog.
#define IDC_PICTURENOW 1008
#define IDC_PICTURENEW 1009
#define IDC_PICTUREFULL 1010
#define IDC_FRACTION 1011
#define IDC_AGE 1110
#define IDC_PREVIOUSNEW 1111
#define IDC_NEXTFULL 1112
#define IDC_FILESPLACE 1113
#define IDC_RISEPLACE 1114
#define IDC_MOONTIMES 1115
#define IDC_SUNTIMES 1116
#define IDC_MOONDISTANCE 1117
#define IDC_NEXTECLIPSE 1118
#define IDC_ECLIPSEMAXIMUM 1119
#define IDC_NEARESTFULL 1121

// Month calendar window.
#define IDC_PREVMONTH 1100
#define IDC_NEXTMONTH 1101
#define IDC_PREVYEAR 1102
#define IDC_NEXTYEAR 1103
#define IDC_TODAY 1104
#define IDC_AGETOGGLE 1120

// The day's detail window.
#define IDC_DAYDETAIL 1160

// Custom holiday list dialog.
#define IDC_HOLIDAYLIST 1128
#define IDC_ADD 1129
#define IDC_EDIT 1130
#define IDC_DELETE 1131

// Custom holiday edit dialog.
#define IDC_NAME 1001
#define IDC_DAYOFF 1005
#define IDC_FIRSTYEAR 1133
#define IDC_FIRSTYEARSPIN 1134
#define IDC_BYDATE 1135
#define IDC_BYWEEKDAY 1136
#define IDC_MONTHLIST 1137
#define IDC_DAYLIST 1138
#define IDC_WEEKLIST 1139
#define IDC_WEEKDAYLIST 1140
#define IDC_LASTYEAR 1141
#define IDC_LASTYEARSPIN 1142

// Place dialog.
#define IDC_PLACELIST 1150
#define IDC_PLACENAME 1151
#define IDC_LATITUDE 1152
#define IDC_LONGITUDE 1153

// The list data of a dialog, stored beside it as a resource of this type.
#ifndef RT_DLGINIT
#define RT_DLGINIT 240
#endif
