// The Japanese eras the system lists after 令和, so that the calendar names a future era without a
// new build.
#pragma once

// Reads HKLM\SYSTEM\CurrentControlSet\Control\Nls\Calendars\Japanese\Eras once, at start, and
// appends the eras after 令和 to the era table (presentation/japanese_era.h) by AddJapaneseEras; a
// value that cannot be read or parsed, or that is out of order (dated before 令和), is skipped.
// Without the key, the built-in table stays as it is.
void LoadSystemEras();
