#pragma once
// Owning holders of a file handle and a directory search handle: not copyable, closed when
// they go out of scope, so no failure path of the store leaves the mailbox file open.
#include <windows.h>

class filehandle_c {
public:
  filehandle_c() : h(INVALID_HANDLE_VALUE) {}
  explicit filehandle_c(HANDLE handle) : h(handle ? handle : INVALID_HANDLE_VALUE) {}
  ~filehandle_c() { close(); }
  filehandle_c(const filehandle_c&) = delete;
  filehandle_c& operator=(const filehandle_c&) = delete;

  HANDLE get() const { return h; }
  bool valid() const { return h != INVALID_HANDLE_VALUE; }
  void reset(HANDLE handle) {
    close();
    h = handle ? handle : INVALID_HANDLE_VALUE;
  }
  void close() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE h;
};

class findhandle_c {
public:
  findhandle_c() : h(INVALID_HANDLE_VALUE) {}
  ~findhandle_c() { close(); }
  findhandle_c(const findhandle_c&) = delete;
  findhandle_c& operator=(const findhandle_c&) = delete;

  HANDLE get() const { return h; }
  bool valid() const { return h != INVALID_HANDLE_VALUE; }
  // Starts a search; false (and no search) when nothing matches or the folder cannot be read.
  bool first(const char* pattern, WIN32_FIND_DATAA* entry) {
    close();
    h = FindFirstFileA(pattern, entry);
    return valid();
  }
  bool next(WIN32_FIND_DATAA* entry) { return valid() && FindNextFileA(h, entry) != 0; }
  void close() {
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    h = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE h;
};
