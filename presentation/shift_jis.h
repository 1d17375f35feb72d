// Shift_JIS (code page 932) texts, in which every text of the program is kept.
#pragma once

#include <cstddef>

// Whether c opens a double-byte character of code page 932. The byte after a lead byte may be any
// value from 0x40 on, 0x5C ("\") included (表, ソ, 能 end in it), so a scan that looks for ASCII
// must step over the pair.
bool IsShiftJisLeadByte(unsigned char c);

// Appends the NUL-terminated Shift_JIS `text` to the NUL-terminated string in dest, a buffer of
// `size` bytes. What does not fit is cut at a character boundary, so nothing is written past the
// buffer and no double-byte character is split. Returns whether the whole text fit.
bool AppendShiftJisText(char* dest, size_t size, const char* text);
