#include "toolkit/textfile.h"

#include <cstring>

textfile_c::textfile_c() { clearblock(); }

textfile_c::~textfile_c() { textfile_c::close(); }

void textfile_c::close() {
  file_c::close();
  clearblock();
}

void textfile_c::clearblock() {
  memset(block, 0, sizeof block);
  filled = 0;
  index = 0;
  linestart = 0;
}

int textfile_c::nextbyte() {
  if (index >= filled) {
    DWORD got = 0;
    if (!read(block, sizeof block, &got) || got == 0) return -1;
    filled = (int32_t)got;
    index = 0;
  }
  return (unsigned char)block[index++];
}

int textfile_c::readline(string_c& target) {
  LONG position = tell();
  linestart = position < 0 ? -1 : position - filled + index;
  target.zero();

  // The text is stored straight into the target's buffer (zeroed above, so it stays terminated);
  // appending one character at a time would measure the text again for every byte.
  int length = 0;
  bool aftercr = false;
  for (;;) {
    int c = nextbyte();
    if (c < 0) {
      if (length == 0) return -1;
      break;
    }
    if (c == '\n' && aftercr) {
      target.buffer[--length] = 0;
      break;
    }
    aftercr = false;
    if (c == 0) continue;   // as string_c: the character 0 adds nothing
    // Room for the character and the terminator; grow by doubling so long lines stay linear.
    if (length + 1 >= target.capacity && !target.grow(2 * length + 1)) continue;
    target.buffer[length++] = (char)c;
    aftercr = (c == '\r');
  }
  return length;
}

int textfile_c::writeline(const char* text) {
  if (!text) return -1;
  DWORD written = 0;
  if (!write(text, (DWORD)strlen(text), &written)) return 0;
  write("\r\n", 2, nullptr);
  return (int)written;
}
