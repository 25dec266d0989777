#include "toolkit/timing.h"

#include <gtest/gtest.h>
#include <windows.h>

// Must stay the first test of this program: it checks the sequence of a fresh process.
TEST(Random, FreshProcessSequence) {
  ASSERT_EQ(randomstate(), 1234);
  static const struct {
    int value;
    uint16_t state;
  } expected[] = {{46, 21496}, {33, 48383}, {42, 35892}, {8, 40408}, {31, 57081}, {38, 22988}};
  for (const auto& e : expected) {
    EXPECT_EQ(nextrandom(50), e.value);
    EXPECT_EQ(randomstate(), e.state);
  }
}

TEST(Random, StateArithmeticWraps) {
  EXPECT_EQ(nextrandomstate(65535), 39323);
  EXPECT_EQ(nextrandomstate(1234), 21496);
  setrandomstate(65535);
  nextrandom(7);
  EXPECT_EQ(randomstate(), 39323);
  // The retry pauses of the mailbox store draw 50 to 99 ms.
  for (int i = 0; i < 1000; ++i) {
    int r = 50 + nextrandom(50);
    ASSERT_GE(r, 50);
    ASSERT_LE(r, 99);
  }
  EXPECT_EQ(nextrandom(0), 0);
}

namespace {
double elapsedms(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

int dispatched = 0;
LRESULT CALLBACK countingproc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_APP) ++dispatched;
  return DefWindowProcA(window, message, wp, lp);
}
}  // namespace

TEST(Delay, PreciseDelayWaitsAtLeastTheTime) {
  for (int ms : {1, 30, 75}) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    precisedelay(ms);
    EXPECT_GE(elapsedms(start), ms) << ms;
  }
}

TEST(Delay, PumpWaitDispatchesMessages) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = countingproc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RavelinkPumpTest";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("RavelinkPumpTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  dispatched = 0;
  PostMessageA(window, WM_APP, 0, 0);
  PostMessageA(window, WM_APP, 0, 0);
  pumpwait(0);
  EXPECT_EQ(dispatched, 1);  // one pass, at most one message

  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  pumpwait(50);
  EXPECT_EQ(dispatched, 2);
  EXPECT_GE(elapsedms(start), 45.0);  // tick count granularity
  DestroyWindow(window);
}
