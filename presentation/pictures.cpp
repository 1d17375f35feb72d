#include "presentation/pictures.h"

#include "calendar/holidays.h"

namespace {

constexpr int32_t kMoonPictureCount = 28;
constexpr int32_t kMoonStripPictureCount = 60;
constexpr int32_t kTidePictureCount = 5;

int32_t Wrap(int32_t value, int32_t count) {
    int32_t r = value % count;
    return r < 0 ? r + count : r;
}

}  // namespace

int32_t MoonPictureIndex(double phaseAngle) {
    // The negated test also rejects NaN, so the conversion below is always defined.
    if (!(phaseAngle >= 0 && phaseAngle < 360)) {
        return 0;
    }
    // 0.07777777777777778 is the stored 7/90: 28 pictures over 360 degrees.
    return static_cast<int32_t>(phaseAngle * 0.07777777777777778 + 0.5) % kMoonPictureCount;
}

int32_t MoonStripPictureIndex(double phaseAngle) {
    if (!(phaseAngle >= 0 && phaseAngle < 360)) {
        return 0;
    }
    // 0.16666666666666666 is the stored 1/6: one picture every 6 degrees.
    return static_cast<int32_t>(phaseAngle * 0.16666666666666666 + 0.5) % kMoonStripPictureCount;
}

int32_t TidePictureIndex(int32_t tide) {
    return Wrap(tide, kTidePictureCount);
}

int32_t MonthPictureCell(uint16_t month) {
    return Wrap(static_cast<int32_t>(month) - 1, 12);
}

int32_t DayPictureCell(uint16_t day) {
    return Wrap(static_cast<int32_t>(day) - 1, 31);
}

int32_t WeekdayPictureCell(uint16_t weekday) {
    return Wrap(weekday, 7);
}

DayTint DayTintOf(int32_t dayKind, uint16_t weekday) {
    if (dayKind == NationalHoliday || dayKind == DayOff || weekday == 0) {
        return DayOffTint;
    }
    return weekday == 6 ? SaturdayTint : PlainDayTint;
}

uint32_t DayStrokeColor(int32_t dayKind, uint16_t weekday) {
    switch (DayTintOf(dayKind, weekday)) {
        case DayOffTint:
            return kStrokeRed;
        case SaturdayTint:
            return kStrokeBlue;
        default:
            return kStrokeBlack;
    }
}
