#pragma once
// Naming and creating the side files of events (bodies, recipient details, attachments) in a
// mailbox directory. The operations of mailboxfile_c that use these are in sidefiles.cpp.
#include <windows.h>

#include <cstdint>

// Creates a new side file named "%08lX.ext" in dir (which ends in a backslash), starting with the
// given number. The file is made with create-new semantics, so a file that already exists is never
// replaced: on a clash the next number is tried. With source the file is a copy of source,
// otherwise it receives length bytes of data. nameout (namesize bytes) and pathout (pathsize bytes)
// receive the name and the full path when given. 1 on success; 0 when the source cannot be copied,
// the file cannot be created or written (a partly written file is removed), or no number is free.
int placesidefile(const char* dir, uint32_t number, const char* ext, const char* source, const void* data,
                  uint32_t length, char* nameout, int namesize, char* pathout, int pathsize);

// The same, starting at the number uniquefilename proposes for ext in dir.
int newsidefile(const char* dir, const char* ext, const char* source, const void* data, uint32_t length,
                char* nameout, int namesize);

// The first free name "%s%05d.%s" (prefix, counter from 0, prefix) in directory, for a body the
// Manager adds to an event. 1, or 0 when the directory or the prefix is missing or the path grows
// beyond what a path can hold. The name is not created here.
int newbodyname(const char* directory, const char* prefix, char* nameout, char* pathout, int pathsize,
                int namesize = MAX_PATH + 1);
