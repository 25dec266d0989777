#include "toolkit/lock.h"

#include <mutex>

lock_c::lock_c(CRITICAL_SECTION* s, int enternow) : section(s), locked(0) {
  if (enternow) enter();
}

lock_c::~lock_c() {
  if (locked) leave();
}

void lock_c::enter() {
  if (!section) return;
  EnterCriticalSection(section);
  locked = 1;
}

void lock_c::leave() {
  if (!section) return;
  LeaveCriticalSection(section);
  locked = 0;
}

namespace {
// Created once behind a once-guard; never deleted (strings may be released during process exit).
CRITICAL_SECTION* makesection() {
  auto* s = new (std::nothrow) CRITICAL_SECTION;
  if (s && !InitializeCriticalSectionAndSpinCount(s, 0)) {
    delete s;
    s = nullptr;
  }
  return s;
}
}  // namespace

CRITICAL_SECTION* narrowstringlock() {
  static CRITICAL_SECTION* section = makesection();
  return section;
}

CRITICAL_SECTION* widestringlock() {
  static CRITICAL_SECTION* section = makesection();
  return section;
}
