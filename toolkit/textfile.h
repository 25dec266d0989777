#pragma once
// A file of text lines ended by carriage return and line feed. Lines are read through a block
// buffer of 256 bytes, so a line costs one system call per block rather than one per byte.
#include <cstdint>

#include "toolkit/file.h"
#include "toolkit/string.h"

class textfile_c : public file_c {
public:
  enum { blocksize = 256 };

  char block[blocksize];   // the last block read from the file
  int32_t filled;          // valid bytes in block
  int32_t index;           // position in block of the next byte to hand out
  int32_t linestart;       // file offset of the line readline returned last, -1 when unknown

  textfile_c();
  ~textfile_c() override;
  // open and create are file_c's: they start with the virtual close, which clears the block.
  void close() override;

  // Reads the next line into target without its CR LF. A LF not preceded by CR, and a CR not
  // followed by LF, stay in the line; a last line without CR LF is still a line. The result is
  // the line's length, or -1 at the end of the file (and on a closed file).
  int readline(string_c& target);
  // Writes text and CR LF. The result is the number of text bytes written, 0 when the text could
  // not be written, -1 for a null text.
  int writeline(const char* text);

private:
  int nextbyte();   // 0..255, or -1 at the end of the file
  void clearblock();
};
