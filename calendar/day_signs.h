// Names of the rokuyo, the sexagenary day sign and the tide class of a lunisolar day.
#pragma once

#include "astro/lunar_day.h"

// Each writes a NUL-terminated Shift_JIS name at dest (room for 4 bytes plus the terminator) and
// returns dest. Indices wrap by the table size.
char* RokuyoName(char* dest, int32_t rokuyo);
char* DaySignName(char* dest, const LunarDay& lunar);  // stem then branch, e.g. 甲子
char* TideName(char* dest, const LunarDay& lunar);
