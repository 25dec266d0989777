#pragma once
// One file handle: open an existing file (optionally at its end), create a file, read, write,
// seek, close. Files are always opened without sharing, so whoever holds one has it alone.
#include <windows.h>

class file_c {
public:
  HANDLE handle;   // INVALID_HANDLE_VALUE while closed

  file_c();
  file_c(const file_c&) = delete;
  file_c& operator=(const file_c&) = delete;

  // Keep this order: destructor, open, create, close.
  virtual ~file_c();
  // Opens an existing file; mode 1 writes, 2 reads and writes, anything else reads. With append
  // set the position goes to the end; if only that fails the result is 0 and the file stays open.
  virtual int open(const char* name, int append, int mode);
  // Creates the file, or empties an existing one.
  virtual int create(const char* name, int mode);
  virtual void close();

  // One system call each. With countout the number moved is stored there and any successful call
  // gives 1; without it the result is 1 only when exactly count bytes were moved.
  int read(void* buffer, DWORD count, DWORD* countout);
  int write(const void* buffer, DWORD count, DWORD* countout);
  int seekend(LONG distance);   // 1 when the position is now distance bytes from the end
  LONG tell();                  // the present position, or -1
};
