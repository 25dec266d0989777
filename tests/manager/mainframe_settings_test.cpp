// The main window's settings as texts: the scan period table, the saved placement and column
// widths read the way the program always read them (and nothing worse when the values are
// damaged), and where a saved window may go on a screen.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "manager/mainframesettings.h"

namespace {

TEST(ScanPeriod, MinutesGiveTheTimerPeriodHeldToHalfAMinuteAndAnHour) {
  static const struct {
    long minutes;
    uint32_t ms;
  } cases[] = {
      {LONG_MIN, 30000}, {-3, 30000}, {0, 30000}, {1, 60000}, {5, 300000}, {60, 3600000}, {61, 3600000},
      {LONG_MAX, 3600000},
  };
  for (const auto& c : cases) EXPECT_EQ(scanperiod(c.minutes), c.ms) << "ScanTime " << c.minutes;
}

TEST(WindowPosText, ReadsTheNumbersTheWayTheProgramAlwaysDid) {
  static const struct {
    const char* text;
    int count;
    uint32_t flags, showcmd;
    int32_t left, bottom;
  } cases[] = {
      {"2,3,-1,-1,-8,-8,10,20,650,500", 10, 2, 3, 10, 500},
      {"0,1,-1,-1,-1,-1,10,20,650,500,77", 10, 0, 1, 10, 500},   // more than ten: the ten count
      {"0,1,-1,-1,-1,-1,10,20,650", 9, 0, 1, 10, 0},              // nine: not a placement
      {" 0, 1,-1,-1,-1,-1,\t10,20,650,500", 10, 0, 1, 10, 500},   // blanks before a number
      {"0 ,1,-1,-1,-1,-1,10,20,650,500", 1, 0, 0, 0, 0},          // but never before a comma
      {"0,1,-1,-1,-1,-1,10,20,650,500xyz", 10, 0, 1, 10, 500},
      {"-1,+1,-1,-1,-1,-1,10,20,650,500", 10, 4294967295u, 1, 10, 500},   // %u wraps a minus
      {"99999999999,1,-1,-1,-1,-1,-99999999999,20,650,99999999999", 10, 4294967295u, 1, INT32_MIN, INT32_MAX},
      {"0,,1", 1, 0, 0, 0, 0},
      {"x", 0, 0, 0, 0, 0},
      {"", 0, 0, 0, 0, 0},
      {"-", 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    windowpostext pos;
    memset(&pos, 0x5A, sizeof pos);
    EXPECT_EQ(parsewindowpos(c.text, pos), c.count) << c.text;
    EXPECT_EQ(pos.flags, c.flags) << c.text;
    EXPECT_EQ(pos.showcmd, c.showcmd) << c.text;
    EXPECT_EQ(pos.left, c.left) << c.text;
    EXPECT_EQ(pos.bottom, c.bottom) << c.text;
  }
  windowpostext none;
  EXPECT_EQ(parsewindowpos(nullptr, none), 0);
}

TEST(WindowPosText, WrittenTextReadsBackTheSame) {
  windowpostext pos = {2, 3, -32000, -32000, -8, -8, INT32_MIN, -20, INT32_MAX, 1024};
  char text[128];
  memset(text, '#', sizeof text);
  formatwindowpos(pos, text, sizeof text);
  EXPECT_STREQ(text, "2,3,-32000,-32000,-8,-8,-2147483648,-20,2147483647,1024");
  windowpostext back;
  ASSERT_EQ(parsewindowpos(text, back), WINDOWPOS_FIELDS);
  EXPECT_EQ(memcmp(&pos, &back, sizeof pos), 0);

  // A short buffer is cut, never overrun.
  char small[8];
  memset(small, '#', sizeof small);
  formatwindowpos(pos, small, 6);
  EXPECT_STREQ(small, "2,3,-");
  EXPECT_EQ(small[6], '#');
}

TEST(ColumnsText, FourNumbersAndOnlyWidthsTheListCanTake) {
  int widths[LIST_COLUMNS];
  EXPECT_EQ(parsecolumns("120,0,-5,300", widths), 4);
  EXPECT_EQ(widths[0], 120);
  EXPECT_EQ(widths[2], -5);
  EXPECT_EQ(parsecolumns("1,2,3", widths), 3);
  EXPECT_EQ(parsecolumns("", widths), 0);
  EXPECT_EQ(parsecolumns("0,0,0,0", widths), 4);

  static const struct {
    int saved, width;
  } cases[] = {
      {100, 100}, {1, 1}, {32767, 32767}, {0, 0}, {-5, 0}, {INT_MIN, 0},
      {70000, 4464},     // the low 16 bits, as the list always took them
      {65536, 0},        // low bits 0: would hide the column
      {65535, 0},        // low bits -1 to the list: "size to fit", not a width
      {0x18000, 0},      // low bits -32768
      {INT_MAX, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(columnwidthsetting(c.saved), c.width) << c.saved;
}

TEST(WindowRect, ASavedWindowStaysWhereItWasOrComesBackOntoTheScreen) {
  const screenrect area = {0, 0, 1280, 1000};
  static const struct {
    const char* what;
    screenrect want;
    bool placed;
    screenrect got;
  } cases[] = {
      {"on the screen", {50, 60, 690, 540}, true, {50, 60, 690, 540}},
      {"partly off to the right, caption reachable", {1200, 60, 1840, 540}, true, {1200, 60, 1840, 540}},
      {"larger than the screen but its caption on it", {-100, 0, 2000, 1500}, true, {-100, 0, 2000, 1500}},
      {"far off to the right", {30000, 30000, 30640, 30480}, true, {640, 520, 1280, 1000}},
      {"only 20 pixels of the caption left on screen", {1260, 60, 1900, 540}, true, {640, 60, 1280, 540}},
      {"caption above the screen", {50, -300, 690, 180}, true, {50, 0, 690, 480}},
      {"caption below the screen", {50, 990, 690, 1470}, true, {50, 520, 690, 1000}},
      {"far off and larger than the screen", {-50000, -50000, -45000, -44000}, true, {0, 0, 1280, 1000}},
      {"extreme numbers", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, true, {0, 0, 1280, 1000}},
      {"no width", {100, 100, 100, 400}, false, {}},
      {"negative height", {100, 400, 600, 100}, false, {}},
  };
  for (const auto& c : cases) {
    screenrect got = {-1, -1, -1, -1};
    EXPECT_EQ(fitwindowrect(c.want, area, got), c.placed) << c.what;
    if (!c.placed) continue;
    EXPECT_EQ(got.left, c.got.left) << c.what;
    EXPECT_EQ(got.top, c.got.top) << c.what;
    EXPECT_EQ(got.right, c.got.right) << c.what;
    EXPECT_EQ(got.bottom, c.got.bottom) << c.what;
  }
}

}  // namespace
