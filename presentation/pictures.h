// Nocturo's picture numbers and day colours: which Moon, tide and calendar picture stands for a
// moment, and which colour a day is written in. Shared by the tray icons, the calendar window and
// the CLI, so that a day is red, blue or black by one rule everywhere.
#pragma once

#include <cstdint>

// Tray Moon picture 0..27 for a phase angle in degrees [0, 360): 28 pictures of 90/7 degrees each,
// centred on multiples of 90/7; from about 353.571 degrees on the picture wraps to 0 (new Moon).
// An angle outside [0, 360) or not finite gives 0.
int32_t MoonPictureIndex(double phaseAngle);

// Picture 0..59 of the windows' Moon strip (picture k shows 6 * k degrees) nearest to a phase
// angle in degrees [0, 360); from 357 degrees on it wraps to 0. Outside [0, 360), or not finite,
// gives 0.
int32_t MoonStripPictureIndex(double phaseAngle);

// Tide picture 0..4 of a tide class index (大潮 中潮 小潮 長潮 若潮), wrapped by 5.
int32_t TidePictureIndex(int32_t tide);

// Cells of the calendar pictures: the month icon uses number cell month - 1 (0..11), the day icon
// number cell day - 1 (0..30), the weekday icon weekday cell 0..6 (0 = Sunday). Out-of-range input
// is wrapped into the strip.
int32_t MonthPictureCell(uint16_t month);
int32_t DayPictureCell(uint16_t day);
int32_t WeekdayPictureCell(uint16_t weekday);

// The colour family a day is written in: red for a national holiday or day off (DayKind 0 and 1)
// and for every Sunday, blue for other Saturdays, black (plain) otherwise. weekday 0 = Sunday. An
// anniversary or a season mark does not colour the day.
enum DayTint : int32_t {
    PlainDayTint = 0,
    SaturdayTint = 1,
    DayOffTint = 2,
};
DayTint DayTintOf(int32_t dayKind, uint16_t weekday);

// Stroke colour of the tray's calendar pictures as 0x00BBGGRR (the Win32 COLORREF layout), by
// DayTintOf.
uint32_t DayStrokeColor(int32_t dayKind, uint16_t weekday);
constexpr uint32_t kStrokeRed = 0x000000FF;
constexpr uint32_t kStrokeBlue = 0x00FF0000;
constexpr uint32_t kStrokeBlack = 0x00000000;
