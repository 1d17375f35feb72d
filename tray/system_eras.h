// The Japanese eras the system lists after 令和, so that the calendar names a future era without a
// new build.
#pragma once

// Reads HKLM\SYSTEM\CurrentControlSet\Control\Nls\Calendars\Japanese\Eras once, at start, and
// appends to the era table (presentation/japanese_era.h) each value of a later era in the order
// the system gives them; a value that cannot be read or parsed, or that is out of order, is
// skipped. Without the key, the built-in table stays as it is.
void LoadSystemEras();
