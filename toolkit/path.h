#pragma once
// Helpers on NUL-terminated path texts.
#include <cstdint>
#include <windows.h>

int pathexists(const char* path);                 // a file, directory or wildcard match exists
int direxists(const char* dir);
int makedir(const char* dir);                     // nonzero on success; parents are not created
int emptydir(const char* dir, int removeit);      // deletes the files (not subdirectories)
void addbackslash(char* path);
void removebackslash(char* path);
void replacenameext(char* path, int size, const char* name, const char* ext);
void replacenameextw(wchar_t* path, int size, const wchar_t* name, const wchar_t* ext);
int modulerelpath(const char* name, const char* ext, char* out, int size, HMODULE module);
int modulerelpathw(const wchar_t* name, const wchar_t* ext, wchar_t* out, int size, HMODULE module);
void stripfilename(char* path);
const char* filenamepart(const char* path);
char* filenamepart(char* path);
int sameext(const char* name, const char* other);

// Unique file names "%08lX.%s" in a directory. The start number is
// day * hour * minute * second * millisecond of the current UTC time (unsigned, wrapping).
// nameout receives at most namesize bytes (default: room for any name of a path).
int uniquefilename(const char* dir, const char* nameorext, char* nameout, char* pathout,
                   int pathsize, const char* prefix, int namesize = MAX_PATH + 1);
// The same for a given UTC time (uniquefilename passes the current one).
int uniquefilenameat(const SYSTEMTIME& utc, const char* dir, const char* nameorext, char* nameout,
                     char* pathout, int pathsize, const char* prefix, int namesize = MAX_PATH + 1);
uint32_t uniquefilenamestart(const SYSTEMTIME& utc);
// The name for a number: eight upper-case hex digits, '.', the extension; the prefix's first
// characters (at most 4) overwrite the start. Cut to namesize bytes with the terminator.
void uniquefilenameformat(uint32_t number, const char* ext, const char* prefix, char* out, int namesize);
