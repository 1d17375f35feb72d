// The traditional seasonal days (雑節) and periods of a year.
#pragma once

#include <cstdint>

// True when at least one seasonal day or period covers the local date. *name1 and *name2 are never
// null ("" when absent); a period comes before a single day falling inside it.
bool LookupSeasonalDays(uint16_t year, uint16_t month, uint16_t day, const char** name1,
                        const char** name2);
