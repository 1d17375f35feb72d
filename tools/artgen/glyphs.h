// Hand-drawn pixel glyphs of the artwork: one string per pixel row, '#' a stroke pixel and '.'
// background; every row of a glyph has the same length.
#pragma once

// A tide character of the tray (大 中 小 長 若), at most 14 x 14.
struct TideGlyph {
    const char* character;  // UTF-8, for the reader
    const char* rows[14];
};

// A weekday character of the calendar icon (日 月 火 水 木 金 土), at most 12 x 10; unused trailing
// rows are null.
struct WeekdayGlyph {
    const char* character;
    const char* rows[10];
};

// A narrow digit for the day numbers, 5 x 8.
struct DigitGlyph {
    char digit;
    const char* rows[8];
};

// A letter of the splash title's font on a coarse grid, scaled up when drawn: nine rows from the
// cap height down to the baseline, so that all letters stand on the same line.
struct TitleGlyph {
    char letter;
    const char* rows[9];
};

// A character or digit of the larger tray pictures, drawn from strokes at the size of its picture:
// each stroke a polyline "x,y x,y ..." on a grid of width x height units (fractions allowed),
// upright strokes drawn wider than level ones as in the hand-drawn glyphs; unused strokes null.
struct StrokeGlyph {
    const char* character;  // UTF-8, for the reader
    int width;
    int height;
    const char* strokes[9];
};

extern const TideGlyph kTideGlyphs[5];
extern const WeekdayGlyph kWeekdayGlyphs[7];
extern const DigitGlyph kDigitGlyphs[10];
extern const TitleGlyph kTitleGlyphs[6];
extern const StrokeGlyph kTideStrokes[5];
extern const StrokeGlyph kWeekdayStrokes[7];
extern const StrokeGlyph kDigitStrokes[10];
extern const int kTitleGlyphCount;

// Width (length of the first row) and height (rows up to the first null, at most `maxRows`) of a
// glyph's rows.
int GlyphWidth(const char* const* rows);
int GlyphHeight(const char* const* rows, int maxRows);
