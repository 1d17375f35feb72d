// The one edge between the program's Shift_JIS texts and Windows' UTF-16: every call that hands
// text to Windows or takes it back goes through the wide (…W) function with these conversions, so
// that the program reads the same whatever code page the user's system has.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The code page of every text inside the program.
constexpr UINT kProgramCodePage = 932;

// The Shift_JIS `text` (NUL-terminated; null reads as "") in UTF-16. A byte sequence that code
// page 932 does not define comes out as the system's default character, as Windows converts it.
std::wstring WideFromShiftJis(const char* text);

// The same for exactly `length` bytes of `text`, which need not be NUL-terminated.
std::wstring WideFromShiftJis(const char* text, size_t length);

// The UTF-16 `text` (NUL-terminated; null reads as L"") in Shift_JIS. Sets *lossless (when given)
// to false when a character has no Shift_JIS form (𠮷, an emoji, a lone surrogate): it then comes
// out as "?", so a caller that keeps the text must refuse it instead.
std::string ShiftJisFromWide(const wchar_t* text, bool* lossless = nullptr);

// The UTF-8 `text` in UTF-16: the few texts that hold characters code page 932 lacks (the 72
// seasons' names) are kept in UTF-8.
std::wstring WideFromUtf8(const std::string& text);

// The Shift_JIS `sjis` in UTF-8 into dest (`size` bytes, NUL-terminated, cut before a character
// that does not fit); returns the length written.
size_t Utf8FromShiftJis(const char* sjis, char* dest, size_t size);

// How many UTF-16 units of the start of `text` take at most `maxBytes` bytes in Shift_JIS, cut
// before a whole character (a surrogate pair stays together). A character Shift_JIS lacks counts
// as the one byte of its "?".
size_t ShiftJisPrefixUnits(const std::wstring& text, size_t maxBytes);

// Copies the UTF-16 `text` into `dest`, a buffer of `capacity` UTF-16 units, NUL-terminated, cut
// before the first character that does not fit, so that a surrogate pair is never split. Returns
// whether the whole text fit. Nothing is written when capacity is 0.
bool CopyWideText(wchar_t* dest, size_t capacity, const std::wstring& text);

// Copies the Shift_JIS `text` into `dest` (`size` bytes), converted from the UTF-16 `wide`, cut at
// a character boundary like AppendShiftJisText. Returns false when a character had no Shift_JIS
// form or the text did not fit.
bool CopyShiftJisFromWide(char* dest, size_t size, const wchar_t* wide);

// Sets the text of `window` (a window or a dialog control) to the Shift_JIS `text`.
bool SetWindowShiftJisText(HWND window, const char* text);

// The text of `window` in Shift_JIS into dest (`size` bytes, cut at a character boundary); "" when
// it has none. Returns false when a character had no Shift_JIS form or the text was cut.
bool GetWindowShiftJisText(HWND window, char* dest, size_t size);

// The string `id` of `module`'s string table in Shift_JIS; "" when there is none.
std::string LoadShiftJisString(HINSTANCE module, UINT id);

// Shows a message box of the Shift_JIS `text` and `caption`.
int ShowShiftJisMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// The long date of `date` in the Japanese form (2026年12月8日火曜日), whatever the user's locale,
// in Shift_JIS; "" when the system cannot format it.
std::string JapaneseLongDate(const SYSTEMTIME& date);

// The time of `time` in the Japanese form without seconds (7:02, 23:59); "" when the system cannot
// format it.
std::string JapaneseShortTime(const SYSTEMTIME& time);
