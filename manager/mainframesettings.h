#pragma once
// The main frame's settings as texts and numbers: the scan period, the saved window placement,
// the list's column widths, and where a saved window may go on a screen.
//
// Pure logic: no windows.h, so it also builds natively (unit tests, fuzzing). Every text here
// comes from the registry or RIROVEVI.INI, which anybody can edit, so nothing trusts it: numbers
// out of range are held to their type instead of overflowing, and a placement that would put the
// window off the screen is moved back onto it.
#include <cstddef>
#include <cstdint>

// Milliseconds between two mailbox scans for a ScanTime value in minutes: 30 seconds at 0 or
// below, 60 minutes above 60.
uint32_t scanperiod(long minutes);

// Reads numbers the way sscanf does with a format of conversions joined by commas: blanks before
// each number are skipped, the comma must follow the number at once. kinds has one letter per
// number: 'u' unsigned (a minus sign wraps, as with %u), 'd' signed; values beyond 32 bits are
// held to the limit of the kind. out must hold strlen(kinds) values; the result is how many were
// read (reading stops at the first that is not there). A null text reads nothing.
int scannumbers(const char* text, const char* kinds, int64_t* out);

// WindowPos of the profile store: "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
struct windowpostext {
  uint32_t flags;      // 2: restore to maximized
  uint32_t showcmd;
  int32_t minx, miny;  // minimized position
  int32_t maxx, maxy;  // maximized position
  int32_t left, top, right, bottom;   // normal position
};
enum : int { WINDOWPOS_FIELDS = 10 };
// How many of the ten numbers were read; out gets them (the rest zero).
int parsewindowpos(const char* text, windowpostext& out);
// The text written back; out holds at least 128 bytes (ten 11-character numbers fit).
void formatwindowpos(const windowpostext& pos, char* out, size_t size);

// Columns of RIROVEVI.INI: "%d,%d,%d,%d". How many were read; widths gets them (the rest zero).
enum : int { LIST_COLUMNS = 4 };
int parsecolumns(const char* text, int widths[LIST_COLUMNS]);
// The width to give a column for a saved number: its low 16 bits when the number is above 0.
// 0 means leave the column as it is: numbers of 0 or below, and numbers whose low 16 bits would
// reach the list as 0 or as a negative 16-bit value (which the list takes as "size to fit").
int columnwidthsetting(int saved);

// A rectangle in one coordinate system (screen or work area).
struct screenrect {
  int32_t left, top, right, bottom;
};
// Where a window saved at want goes on a work area. False when want has no size (right not
// beyond left, or bottom not below top): such a value is not a placement. Otherwise out is want
// when at least the start of its caption (48 pixels wide, 24 high, or all of a smaller window)
// lies on the area, else want moved onto the area, made no larger than the area.
bool fitwindowrect(const screenrect& want, const screenrect& area, screenrect& out);
