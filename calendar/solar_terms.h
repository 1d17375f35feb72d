// The 24 solar terms of a year (the Sun's apparent longitude a multiple of 15 degrees).
#pragma once

#include <cstdint>

// True when a solar term falls on the local date; *name is its name, or "" (never null).
bool LookupSolarTerm(uint16_t year, uint16_t month, uint16_t day, const char** name);

// Name of the solar term at 15 * slot degrees of the Sun's apparent longitude (slot 0 春分 .. 23
// 啓蟄); "" outside 0..23.
const char* SolarTermName(int slot);
