#include "outside/faxsim/simlog.h"

#include <cstdarg>
#include <cstring>

simlog_c::~simlog_c() {
  if (file) fclose(file);
}

int simlog_c::open(const char* path) {
  if (file) fclose(file);
  file = fopen(path, "a");
  return file ? 1 : 0;
}

void simlog_c::line(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text - 1, format, args);
  va_end(args);
  text[sizeof text - 2] = 0;
  strcat(text, "\n");
  fputs(text, stdout);
  fflush(stdout);
  if (file) {
    fputs(text, file);
    fflush(file);
  }
}

void printable(const char* text, int textsize, char* out, int outsize) {
  if (!out || outsize <= 0) return;
  int n = 0;
  for (int i = 0; text && i < textsize && text[i] && n < outsize - 1; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    out[n++] = (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  }
  out[n] = 0;
}
