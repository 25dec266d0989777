#pragma once
// The list of dependent services that scm_c hands out (enumdependents, stopwithdependents).
// It is owned by whoever receives it and freed with release(), which frees the entries and the
// list itself; lists only ever come from create().
#include <windows.h>

#include <cstdint>

class servicelist_c {
public:
  int32_t count;                   // number of entries
  int32_t cursor;                  // entry the next next() or prev() returns
  int32_t closed;                  // 0; a list with a nonzero value is refused as an invalid handle
  ENUM_SERVICE_STATUSA* entries;   // as the system returned them (names follow the array), or null

  // A list over entries (allocated with allocentries, owned by the list from here on), cursor 0.
  // Null when memory runs out; the entries are then still the caller's.
  static servicelist_c* create(ENUM_SERVICE_STATUSA* entries, int32_t count);
  static ENUM_SERVICE_STATUSA* allocentries(DWORD bytes);   // null when memory runs out
  static void freeentries(ENUM_SERVICE_STATUSA* entries);

  // Copy the service name at the cursor (cut to size bytes with its terminator) and move the
  // cursor forward or back. 0 when the cursor is outside the list, the buffer is missing, or the
  // list is closed (last error ERROR_INVALID_HANDLE then).
  int next(char* buffer, int size);
  int prev(char* buffer, int size);
  // Cursor on the first entry, or on the last one when fromend is set.
  void rewind(int fromend);
  // Frees the entries and the list; the pointer is dangling afterwards.
  void release();

  // 1 for a list that may be walked (not closed).
  int usable() const { return closed == 0; }

private:
  servicelist_c() : count(0), cursor(0), closed(0), entries(nullptr) {}
  ~servicelist_c() = default;
  servicelist_c(const servicelist_c&) = delete;
  servicelist_c& operator=(const servicelist_c&) = delete;
  int copyat(char* buffer, int size, int step);
};

// Scoped owner of a list for the code that makes one and hands it on only on success.
class servicelistholder_c {
public:
  servicelist_c* list;
  explicit servicelistholder_c(servicelist_c* l = nullptr) : list(l) {}
  ~servicelistholder_c() {
    if (list) list->release();
  }
  servicelistholder_c(const servicelistholder_c&) = delete;
  servicelistholder_c& operator=(const servicelistholder_c&) = delete;
  servicelist_c* detach() {
    servicelist_c* l = list;
    list = nullptr;
    return l;
  }
};
