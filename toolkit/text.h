#pragma once
// In-place text clean-up, case-insensitive search, code-page conversions, user-locale date and
// time texts, and system error texts.
#include <windows.h>

int isemptytext(const char* text);
int isemptytextw(const wchar_t* text);
void trimleft(char* text);
void trimright(char* text);
void trim(char* text);
void removespaces(char* text);
void removechars(char* text, const char* set);
void dropleft(char* text, int n);
const char* findnocase(const char* text, const char* part);

int timetext(char* out, int size, const SYSTEMTIME* time);
int datetext(char* out, int size, const SYSTEMTIME* time, int longform);
int datetimetext(char* out, int size, const SYSTEMTIME* time, int longform);

// Conversions in the ANSI code page. With a null output the result is written over the input's
// own memory (for towide that memory must hold (length + 1) * 2 bytes). Never more than the
// converted text and its terminator is written.
void tonarrow(wchar_t* text, char* out);
void towide(char* text, wchar_t* out);

int errortext(char* out, int size, DWORD code, HMODULE module);
