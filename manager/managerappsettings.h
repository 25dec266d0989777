#pragma once
// The start-up choices of the Manager that depend only on texts: the user-interface language
// from the Language setting, and whether the command line asks for a start in the notification
// area. Pure logic: no windows.h, so it also builds natively.
#include <cstdint>

enum : uint16_t {
  LANGUAGE_ENGLISH = 1033,
  LANGUAGE_GERMAN = 1031,
  LANGUAGE_FRENCH = 1036,
  LANGUAGE_ITALIAN = 1040,
  LANGUAGE_SPANISH = 1034,
};

// The locale id for a Language value: its first three characters, letters in any case, "ger",
// "fre", "ita" or "spa"; anything else (a null text too) is English.
uint16_t languagefromsetting(const char* value);

// True when the whole command line, in any letter case, is "-taskbar".
bool istaskbarstart(const char* commandline);
// The show command the main window starts with: hidden for a "-taskbar" start on a system of
// major version 4 (windows4 is 1), else the one the system passed.
int startshowcommand(const char* commandline, int windows4, int showcommand);
