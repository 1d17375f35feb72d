#include "cli/ics_text.h"

#include <cstdio>

namespace {

constexpr size_t kMaxLineOctets = 75;

// Civil-from-days over 400-year eras of 146,097 days, counted from 0000-03-01 so that the leap
// day ends a year.
constexpr int64_t kDaysPerEra = 146097;
constexpr int64_t kEpochFromMarch0 = 719468;  // days from 0000-03-01 to 1970-01-01

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

int64_t DaysFromCivil(const CivilDate& date) {
    const int64_t y = static_cast<int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;                                          // [0, 399]
    const int64_t monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;  // [0, 11]
    const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;          // [0, 365]
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPerEra + dayOfEra - kEpochFromMarch0;
}

CivilDate CivilFromDays(int64_t days) {
    days += kEpochFromMarch0;
    const int64_t era = (days >= 0 ? days : days - (kDaysPerEra - 1)) / kDaysPerEra;
    const int64_t dayOfEra = days - era * kDaysPerEra;  // [0, 146096]
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // [0, 399]
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;  // [0, 11]
    CivilDate date;
    date.day = static_cast<int32_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month =
        static_cast<int32_t>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = static_cast<int32_t>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

CivilDate AddDays(const CivilDate& date, int64_t count) {
    return CivilFromDays(DaysFromCivil(date) + count);
}

std::string IcsDateText(const CivilDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", static_cast<int>(date.year),
                  static_cast<int>(date.month), static_cast<int>(date.day));
    return text;
}

std::string IcsUtcText(const CivilDate& date, int hour, int minute, int second) {
    char text[16];
    std::snprintf(text, sizeof text, "T%02d%02d%02dZ", hour, minute, second);
    return IcsDateText(date) + text;
}

std::string IcsUtcTextOfUnixSeconds(int64_t seconds) {
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t secondOfDay = seconds - days * 86400;  // [0, 86399]
    return IcsUtcText(CivilFromDays(days), static_cast<int>(secondOfDay / 3600),
                      static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60));
}

std::string EscapeIcsText(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ';' || c == ',') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c != '\r') {
            escaped += c;
        }
    }
    return escaped;
}

void AppendFoldedLine(std::string* out, const std::string& line) {
    size_t start = 0;
    size_t room = kMaxLineOctets;
    while (line.size() - start > room) {
        size_t cut = start + room;
        // Back up to the first byte of the character the cut would split; a character is at most
        // four octets, so a cut always remains within a line of 74.
        while (cut > start && IsContinuationByte(static_cast<unsigned char>(line[cut]))) {
            --cut;
        }
        if (cut == start) {
            cut = start + room;  // not UTF-8: cut where the octets end
        }
        out->append(line, start, cut - start);
        out->append("\r\n ");
        start = cut;
        room = kMaxLineOctets - 1;
    }
    out->append(line, start, std::string::npos);
    out->append("\r\n");
}

std::string IcsUid(const char* kind, const CivilDate& date, const std::string& key) {
    std::string uid = kind;
    uid += '-';
    uid += IcsDateText(date);
    if (!key.empty()) {
        uid += '-';
        uid += key;
    }
    uid += "@nocturo";
    return uid;
}

std::string NameKey(const std::string& text) {
    uint32_t hash = 2166136261u;  // FNV-1a offset basis and prime
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char key[16];
    std::snprintf(key, sizeof key, "%08x", static_cast<unsigned>(hash));
    return key;
}
