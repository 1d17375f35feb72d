// The 24 solar terms of a year (the Sun's apparent longitude a multiple of 15 degrees).
#pragma once

#include <cstdint>

// True when a solar term falls on the local date; *name is its name, or "" (never null).
bool LookupSolarTerm(uint16_t year, uint16_t month, uint16_t day, const char** name);
