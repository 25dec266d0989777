#pragma once
// The simulator's action log: one line per action to stdout and, when a log file is given, the
// same line appended to it. Each line is written and flushed whole, so a reader (or a test) that
// looks at the output while the simulator runs never sees half a line of it.
#include <cstdio>

class simlog_c {
public:
  simlog_c() = default;
  ~simlog_c();
  simlog_c(const simlog_c&) = delete;
  simlog_c& operator=(const simlog_c&) = delete;

  // Opens path for appending; 0 when it cannot be opened.
  int open(const char* path);
  // printf-style; the line end is added.
  void line(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

private:
  FILE* file = nullptr;
};

// Copies a text that came from the store into out for a log line: cut to the size, and every
// control character (a line end could forge a log line) becomes '?'.
void printable(const char* text, int textsize, char* out, int outsize);
