// Which of the Moon's four principal phases, if any, falls within a local calendar day.
#pragma once

// "新月", "上弦", "満月", "下弦" (Shift_JIS), indexed by k for the angle k * 90.
extern const char* const PhaseNames[4];

// Name of the principal phase that falls within the local day (TimeZoneBias, read afresh) that
// contains the UT Julian Date jd, or "" when none does. When one is found and angleOut is given,
// k * 90 is stored there; otherwise *angleOut is left untouched. A phase exactly at the day's
// beginning belongs to that day, one exactly at its end to the next day.
const char* PrincipalPhaseOfDay(double jd, double* angleOut);

// Forgets the phase angle PrincipalPhaseOfDay remembers at the end of the last day it was asked
// for. Results never depend on it; tests call this (through ResetAstroCaches) to compare with
// fresh computation.
void ResetDayEndAngleCache();
