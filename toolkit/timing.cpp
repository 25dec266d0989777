#include "toolkit/timing.h"

#include <windows.h>

namespace {
uint16_t state = 1234;

struct delaystate {
  LONGLONG countspermillisecond = 0;
  bool usable = false;
  bool initialised = false;
} delay;
}  // namespace

uint16_t nextrandomstate(uint16_t s) {
  // Signed 32-bit arithmetic that wraps; the division truncates toward zero.
  int32_t product = static_cast<int32_t>(static_cast<uint32_t>(s) * 34049u + 34050u);
  int32_t next = product / 5 + 1;
  return static_cast<uint16_t>(static_cast<uint32_t>(next) & 0xFFFF);
}

int nextrandom(int n) {
  state = nextrandomstate(state);
  if (n <= 0) return 0;
  return state % n;
}

uint16_t randomstate() { return state; }
void setrandomstate(uint16_t s) { state = s; }

void precisedelay(int milliseconds) {
  if (!delay.initialised) {
    LARGE_INTEGER frequency;
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart >= 1000) {
      delay.countspermillisecond = frequency.QuadPart / 1000;
      delay.usable = true;
    }
    delay.initialised = true;
  }
  if (milliseconds <= 0) return;
  if (!delay.usable) {
    Sleep(static_cast<DWORD>(milliseconds));
    return;
  }
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  do {
    QueryPerformanceCounter(&now);
  } while ((now.QuadPart - start.QuadPart) / delay.countspermillisecond < milliseconds);
}

void pumpwait(int milliseconds) {
  DWORD deadline = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  } while (static_cast<int32_t>(GetTickCount() - deadline) < 0);
}
