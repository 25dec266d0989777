#include "outside/faxsim/faxpage.h"

#include <cstring>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

enum : uint16_t { TIFF_SHORT = 3, TIFF_LONG = 4, TIFF_RATIONAL = 5 };

// One IFD entry whose value fits the entry (SHORT or LONG, count 1) or is an offset.
void putentry(std::vector<uint8_t>& out, uint16_t tag, uint16_t type, uint32_t value) {
  put16(out, tag);
  put16(out, type);
  put32(out, 1);
  if (type == TIFF_SHORT) {
    put16(out, value);
    put16(out, 0);
  } else {
    put32(out, value);
  }
}

// Sets pixels [from, to) of a row black (bit 7 of byte 0 is the leftmost pixel).
void blacken(uint8_t* row, int from, int to) {
  if (from < 0) from = 0;
  if (to > FAXPAGE_WIDTH) to = FAXPAGE_WIDTH;
  for (int x = from; x < to; ++x) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

uint32_t nextseed(uint32_t& state) {
  state = state * 1103515245u + 12345u;
  return (state >> 16) & 0x7FFF;
}

}  // namespace

void packbitsrow(const uint8_t* row, int length, std::vector<uint8_t>& out) {
  int i = 0;
  while (i < length) {
    // A repeat run of at least two equal bytes.
    int run = 1;
    while (i + run < length && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(257 - run));   // -(run - 1) as a signed byte
      out.push_back(row[i]);
      i += run;
      continue;
    }
    // A literal run up to the next pair of equal bytes.
    int literal = 1;
    while (i + literal < length && literal < 128 &&
           !(i + literal + 1 < length && row[i + literal] == row[i + literal + 1]))
      ++literal;
    out.push_back(static_cast<uint8_t>(literal - 1));
    out.insert(out.end(), row + i, row + i + literal);
    i += literal;
  }
}

std::vector<uint8_t> makefaxpage(uint32_t seed) {
  std::vector<uint8_t> strip;
  strip.reserve(FAXPAGE_HEIGHT * 8);
  uint32_t state = seed ^ 0x5A17u;
  // Line lengths of the "text", one per text line.
  int linelength[40];
  for (int& l : linelength) l = 600 + static_cast<int>(nextseed(state) % 900);
  uint8_t row[FAXPAGE_ROWBYTES];
  for (int y = 0; y < FAXPAGE_HEIGHT; ++y) {
    memset(row, 0, sizeof row);
    const int margin = 60;
    bool frame = y >= 40 && y < FAXPAGE_HEIGHT - 40;
    if (y == 40 || y == 41 || y == FAXPAGE_HEIGHT - 42 || y == FAXPAGE_HEIGHT - 41) {
      blacken(row, margin, FAXPAGE_WIDTH - margin);
    } else if (frame) {
      blacken(row, margin, margin + 3);
      blacken(row, FAXPAGE_WIDTH - margin - 3, FAXPAGE_WIDTH - margin);
    }
    if (y >= 70 && y < 110) blacken(row, 120, 120 + 500 + static_cast<int>(seed % 400));  // letterhead
    int textrow = y - 160;
    if (textrow >= 0 && textrow / 22 < 40 && textrow % 22 < 8) {
      int length = linelength[textrow / 22];
      for (int x = 120; x < 120 + length; x += 18) blacken(row, x, x + 12);  // "words"
    }
    packbitsrow(row, FAXPAGE_ROWBYTES, strip);
  }

  // Header, the strip, the IFD (word aligned), then the two resolutions it points at.
  std::vector<uint8_t> out;
  const uint32_t stripoffset = 8;
  uint32_t ifdoffset = stripoffset + static_cast<uint32_t>(strip.size());
  if (ifdoffset & 1) ++ifdoffset;
  const uint16_t entries = 12;
  const uint32_t rationals = ifdoffset + 2 + entries * 12 + 4;
  out.push_back('I');
  out.push_back('I');
  put16(out, 42);
  put32(out, ifdoffset);
  out.insert(out.end(), strip.begin(), strip.end());
  if (out.size() < ifdoffset) out.push_back(0);
  put16(out, entries);
  putentry(out, 256, TIFF_LONG, FAXPAGE_WIDTH);                       // ImageWidth
  putentry(out, 257, TIFF_LONG, FAXPAGE_HEIGHT);                      // ImageLength
  putentry(out, 258, TIFF_SHORT, 1);                                  // BitsPerSample
  putentry(out, 259, TIFF_SHORT, 32773);                              // Compression: PackBits
  putentry(out, 262, TIFF_SHORT, 0);                                  // Photometric: WhiteIsZero
  putentry(out, 273, TIFF_LONG, stripoffset);                         // StripOffsets
  putentry(out, 277, TIFF_SHORT, 1);                                  // SamplesPerPixel
  putentry(out, 278, TIFF_LONG, FAXPAGE_HEIGHT);                      // RowsPerStrip
  putentry(out, 279, TIFF_LONG, static_cast<uint32_t>(strip.size())); // StripByteCounts
  putentry(out, 282, TIFF_RATIONAL, rationals);                       // XResolution
  putentry(out, 283, TIFF_RATIONAL, rationals + 8);                   // YResolution
  putentry(out, 296, TIFF_SHORT, 2);                                  // ResolutionUnit: inch
  put32(out, 0);                                                      // no further page
  put32(out, FAXPAGE_XDPI);
  put32(out, 1);
  put32(out, FAXPAGE_YDPI);
  put32(out, 1);
  return out;
}
