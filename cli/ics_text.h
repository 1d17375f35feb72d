// The text of an iCalendar file (RFC 5545): dates, time stamps, TEXT escaping, line folding and
// the identifiers of exported events. Pure functions on UTF-8 bytes, shared with the tests.
#pragma once

#include <cstdint>
#include <string>

#include "astro/civil_dates.h"

// "YYYYMMDD", the form of a DATE value.
std::string IcsDateText(const CivilDate& date);

// "YYYYMMDDTHHMMSSZ" of a UTC date and time of day (hour 0..23, minute and second 0..59).
std::string IcsUtcText(const CivilDate& date, int hour, int minute, int second);

// "YYYYMMDDTHHMMSSZ" of a count of seconds since 1970-01-01 00:00:00 UTC (negative before it).
std::string IcsUtcTextOfUnixSeconds(int64_t seconds);

// A TEXT value: backslash, semicolon and comma get a backslash before them, a line break (LF or
// CR LF) becomes the two characters \n, and a lone CR is dropped, since a content line cannot
// carry one. Every other byte, multi-byte UTF-8 included, passes unchanged.
std::string EscapeIcsText(const std::string& text);

// Appends one content line to *out as physical lines of at most 75 octets each, CRLF after each:
// the line is cut only before the first byte of a UTF-8 character, and every continuation line
// begins with one space (which counts toward its 75). A line of 75 octets or fewer is not cut.
void AppendFoldedLine(std::string* out, const std::string& line);

// "kind-YYYYMMDD@nocturo", or "kind-YYYYMMDD-key@nocturo" when key is not empty: the identity of
// an exported event, the same in every export that contains it.
std::string IcsUid(const char* kind, const CivilDate& date, const std::string& key);

// Eight lowercase hex digits of the 32-bit FNV-1a hash of a text: a short, stable key that tells
// apart events of one kind on one date by their names.
std::string NameKey(const std::string& text);
