// The user's own holidays and anniversaries (up to 50), kept sorted, and their data file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "calendar/holidays.h"

typedef HolidayRule CustomHoliday;

constexpr int kMaxCustomHolidays = 50;

struct CustomHolidayStore {
    CustomHoliday records[kMaxCustomHolidays];
    int32_t count;
    bool loaded;     // the data file was read in this run
    bool modified;   // the records differ from the file
    char path[260];  // the data file; "" = none
};

// The program's one store.
CustomHolidayStore& CustomHolidays();

// Sets the data file's path (the program's own path with ".dat"; the CLI's --custom) and marks
// the store as not loaded. "" or null: no file.
void SetCustomHolidayPath(const char* path);

// The data file's largest size: an 8-byte header ("NCDT" and the count) and 50 records of 56 bytes.
constexpr size_t kCustomHolidayFileMaxSize = 8 + 56 * kMaxCustomHolidays;

// Decodes the bytes of a data file into `records` and returns how many it holds: 0 for bytes
// that are not a data file (too short, another magic, a count of 0 or above 50, or fewer bytes
// than the count needs); records that fail validation are dropped and the others keep the
// file's order. Bytes beyond the counted records are ignored.
int32_t DecodeCustomHolidayFile(const unsigned char* bytes, size_t size,
                                CustomHoliday records[kMaxCustomHolidays]);

// Writes the data file of `count` records (0..50) into `bytes` and returns its size, or 0 when
// the count is out of range. Every record carries a terminated name with zeros after it.
size_t EncodeCustomHolidayFile(const CustomHoliday* records, int32_t count,
                               unsigned char bytes[kCustomHolidayFileMaxSize]);

// Reads the data file into the store; an unreadable, foreign or damaged file gives an empty store,
// and records that fail validation are dropped. Clears `modified`, sets `loaded`.
void LoadCustomHolidays();

// Writes the store to the data file by replacing it in one step, so a failure leaves the old file
// intact. Returns whether it succeeded; `modified` is cleared only on success.
bool SaveCustomHolidays();

// Both load the file first when the store is not loaded yet.
int32_t CustomHolidayCount();
const CustomHoliday* CustomHolidayRecords();

// Whether `name` is the name field of a record of the store itself. The holiday lookup points at
// the record that claimed a day, so the pointer tells a custom day off from a substitute or
// citizens' holiday of the same name.
bool IsCustomHolidayName(const char* name);

// Order of the store: negative when a comes first, positive when b does, 0 when equal.
int CompareCustomHolidays(const CustomHoliday& a, const CustomHoliday& b);

// Sorted insertion after all equal records; returns the index, or -1 when the store is full.
int InsertCustomHoliday(const CustomHoliday& record);

// Removes the record at index (ignored when out of range) and moves the later ones down.
void RemoveCustomHoliday(int index);
