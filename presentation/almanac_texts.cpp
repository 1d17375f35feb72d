// The texts of the almanac notes of a day.
#include "presentation/almanac_texts.h"

#include <cstdio>
#include <cstring>

#include "calendar/almanac_notes.h"
#include "calendar/day_signs.h"
#include "calendar/holidays.h"
#include "presentation/japanese_era.h"
#include "presentation/shift_jis.h"

namespace {

constexpr const char* kNoteSeparator = "・";

// Characters of a Shift_JIS text: a lead byte and its trail byte are one.
size_t ShiftJisCharacters(const char* text) {
    size_t count = 0;
    for (size_t i = 0; text[i] != '\0'; ++count) {
        i += IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0' ? 2 : 1;
    }
    return count;
}

// Appends `piece` whole or not at all, within the buffer and the character limit.
bool AppendWhole(char* dest, size_t size, const char* piece, size_t maxCharacters) {
    const size_t length = std::strlen(dest);
    if (length + std::strlen(piece) + 1 > size ||
        ShiftJisCharacters(dest) + ShiftJisCharacters(piece) > maxCharacters) {
        return false;
    }
    std::memcpy(dest + length, piece, std::strlen(piece) + 1);
    return true;
}

// Appends the notes to dest, the first after `lead`; false at the first that does not fit.
bool AppendNotes(char* dest, size_t size, uint32_t flags, const char* lead, size_t maxCharacters) {
    bool first = true;
    for (int i = 0; i < kDayNoteCount; ++i) {
        if (!(flags & (1u << i))) {
            continue;
        }
        char piece[32];
        std::snprintf(piece, sizeof piece, "%s%s", first ? lead : kNoteSeparator, DayNoteName(i));
        if (!AppendWhole(dest, size, piece, maxCharacters)) {
            return false;
        }
        first = false;
    }
    return true;
}

void AppendLine(std::string* out, ShiftJisToUtf8Function toUtf8, const char* sjis) {
    char utf8[512];
    toUtf8(sjis, utf8, sizeof utf8);
    if (!out->empty()) {
        *out += '\n';
    }
    *out += utf8;
}

}  // namespace

char* JoinDayNotes(char* dest, size_t size, uint32_t flags) {
    if (size == 0) {
        return dest;
    }
    dest[0] = '\0';
    AppendNotes(dest, size, flags, "", size);
    return dest;
}

bool AppendNotesToTooltip(char* dest, size_t size, uint32_t flags, size_t maxCharacters) {
    return AppendNotes(dest, size, flags, " ", maxCharacters);
}

std::string DayInWordsUtf8(uint16_t year, uint16_t month, const MonthCell& cell,
                           ShiftJisToUtf8Function toUtf8) {
    std::string out;
    char line[256];
    FormatLongDateWithEra(line, sizeof line, year, month, cell.day, cell.weekday);
    AppendLine(&out, toUtf8, line);

    char name[8];
    std::snprintf(line, sizeof line, "旧暦 %s%u月%u日 %s", cell.lunar.leap ? "閏" : "",
                  static_cast<unsigned>(cell.lunar.month), static_cast<unsigned>(cell.lunar.day),
                  RokuyoName(name, cell.lunar.rokuyo));
    AppendLine(&out, toUtf8, line);
    std::snprintf(line, sizeof line, "干支 %s", DaySignName(name, cell.lunar));
    AppendLine(&out, toUtf8, line);
    std::snprintf(line, sizeof line, "潮 %s", TideName(name, cell.lunar));
    AppendLine(&out, toUtf8, line);
    std::snprintf(line, sizeof line, "月齢 %.1f%s%s", cell.moonAge, cell.phaseName[0] ? " " : "",
                  cell.phaseName);
    AppendLine(&out, toUtf8, line);

    if (cell.solarTermName[0] != '\0') {
        std::snprintf(line, sizeof line, "二十四節気 %s", cell.solarTermName);
        AppendLine(&out, toUtf8, line);
    }
    if (cell.seasonalName1[0] != '\0') {
        std::snprintf(line, sizeof line, "雑節 %s%s%s", cell.seasonalName1,
                      cell.seasonalName2[0] ? "・" : "", cell.seasonalName2);
        AppendLine(&out, toUtf8, line);
    }
    const char* holiday = cell.holidayName;
    while (*holiday == ' ') {
        ++holiday;  // the national names' own leading space
    }
    if (holiday[0] != '\0') {
        const char* label = cell.holidayKind == NationalHoliday ? "祝日"
                            : cell.holidayKind == Anniversary   ? "記念日"
                                                                : "休日";
        std::snprintf(line, sizeof line, "%s %s", label, holiday);
        AppendLine(&out, toUtf8, line);
    }
    if (cell.notes.flags != 0) {
        std::snprintf(line, sizeof line, "選日 ");
        JoinDayNotes(line + std::strlen(line), sizeof line - std::strlen(line), cell.notes.flags);
        AppendLine(&out, toUtf8, line);
    }
    if (cell.notes.kou >= 0) {
        AppendLine(&out, toUtf8, "七十二候 ");
        out += KouName(cell.notes.kou);
        out += "\xEF\xBC\x88";  // （ in UTF-8
        out += KouReading(cell.notes.kou);
        out += "\xEF\xBC\x89";  // ）
    }
    return out;
}
