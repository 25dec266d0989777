#pragma once
// Scoped holder of a critical section, and the two process-wide locks that guard
// the allocation and release of string buffers.
#include <windows.h>

class lock_c {
public:
  CRITICAL_SECTION* section;
  int locked;

  lock_c(CRITICAL_SECTION* section, int enternow);
  ~lock_c();
  lock_c(const lock_c&) = delete;
  lock_c& operator=(const lock_c&) = delete;

  void enter();
  void leave();
};

// Created once, on first use; null when the section could not be created (the string
// operations then run unguarded).
CRITICAL_SECTION* narrowstringlock();
CRITICAL_SECTION* widestringlock();
