#include "cli/ics_text.h"

#include <cstdio>

namespace {

constexpr size_t kMaxLineOctets = 75;

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

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
