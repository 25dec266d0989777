#include "manager/mainframesettings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

bool isblank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One number at text: sign, then at least one digit. Returns where it ends, or null.
const char* readnumber(const char* text, char kind, int64_t& value) {
  while (isblank(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = *text == '-';
    ++text;
  }
  if (*text < '0' || *text > '9') return nullptr;
  // Magnitudes beyond 2^32 are held there: enough to reach every limit below.
  const uint64_t cap = 0x100000000ull;
  uint64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(*text - '0');
    if (magnitude > cap) magnitude = cap;
  }
  if (kind == 'u') {
    if (magnitude > 0xFFFFFFFFull) {
      value = 0xFFFFFFFFll;
    } else {
      uint32_t u = static_cast<uint32_t>(magnitude);
      value = negative ? static_cast<uint32_t>(0u - u) : u;
    }
  } else {
    int64_t v = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    value = std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX);
  }
  return text;
}

}  // namespace

uint32_t scanperiod(long minutes) {
  if (minutes <= 0) return 30000;
  if (minutes > 60) return 3600000;
  return static_cast<uint32_t>(minutes) * 60000u;
}

int scannumbers(const char* text, const char* kinds, int64_t* out) {
  if (!text || !kinds || !out) return 0;
  int count = 0;
  for (const char* kind = kinds; *kind; ++kind) {
    if (kind != kinds) {
      if (*text != ',') break;
      ++text;
    }
    int64_t value = 0;
    const char* end = readnumber(text, *kind, value);
    if (!end) break;
    out[count++] = value;
    text = end;
  }
  return count;
}

int parsewindowpos(const char* text, windowpostext& out) {
  int64_t v[WINDOWPOS_FIELDS] = {};
  int count = scannumbers(text, "uudddddddd", v);
  out.flags = static_cast<uint32_t>(v[0]);
  out.showcmd = static_cast<uint32_t>(v[1]);
  out.minx = static_cast<int32_t>(v[2]);
  out.miny = static_cast<int32_t>(v[3]);
  out.maxx = static_cast<int32_t>(v[4]);
  out.maxy = static_cast<int32_t>(v[5]);
  out.left = static_cast<int32_t>(v[6]);
  out.top = static_cast<int32_t>(v[7]);
  out.right = static_cast<int32_t>(v[8]);
  out.bottom = static_cast<int32_t>(v[9]);
  return count;
}

void formatwindowpos(const windowpostext& p, char* out, size_t size) {
  if (!out || size == 0) return;
  snprintf(out, size, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", static_cast<unsigned>(p.flags),
           static_cast<unsigned>(p.showcmd), static_cast<int>(p.minx), static_cast<int>(p.miny),
           static_cast<int>(p.maxx), static_cast<int>(p.maxy), static_cast<int>(p.left), static_cast<int>(p.top),
           static_cast<int>(p.right), static_cast<int>(p.bottom));
}

int parsecolumns(const char* text, int widths[LIST_COLUMNS]) {
  int64_t v[LIST_COLUMNS] = {};
  int count = scannumbers(text, "dddd", v);
  for (int i = 0; i < LIST_COLUMNS; ++i) widths[i] = static_cast<int>(v[i]);
  return count;
}

int columnwidthsetting(int saved) {
  if (saved <= 0) return 0;
  int low = saved & 0xFFFF;
  return low <= 0x7FFF ? low : 0;
}

bool fitwindowrect(const screenrect& want, const screenrect& area, screenrect& out) {
  int64_t w = static_cast<int64_t>(want.right) - want.left;
  int64_t h = static_cast<int64_t>(want.bottom) - want.top;
  if (w <= 0 || h <= 0) return false;
  int64_t areaw = std::max<int64_t>(0, static_cast<int64_t>(area.right) - area.left);
  int64_t areah = std::max<int64_t>(0, static_cast<int64_t>(area.bottom) - area.top);

  // The start of the caption: what the user needs to see to move the window.
  int64_t stripw = std::min<int64_t>(w, 48), striph = std::min<int64_t>(h, 24);
  int64_t seenleft = std::max<int64_t>(want.left, area.left);
  int64_t seenright = std::min<int64_t>(static_cast<int64_t>(want.right), area.right);
  bool across = seenright - seenleft >= stripw;
  bool down = want.top >= area.top && static_cast<int64_t>(want.top) + striph <= area.bottom;
  if (across && down) {
    out = want;
    return true;
  }
  int64_t nw = std::min(w, areaw), nh = std::min(h, areah);
  int64_t left = std::min<int64_t>(std::max<int64_t>(want.left, area.left), area.right - nw);
  int64_t top = std::min<int64_t>(std::max<int64_t>(want.top, area.top), area.bottom - nh);
  out.left = static_cast<int32_t>(left);
  out.top = static_cast<int32_t>(top);
  out.right = static_cast<int32_t>(left + nw);
  out.bottom = static_cast<int32_t>(top + nh);
  return true;
}
