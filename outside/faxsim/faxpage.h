#pragma once
// A one-page bilevel fax page as a TIFF file, made in memory: what the fax server's stand-in puts
// into the mailbox as the document of a received fax.
//
// The page has the size of a standard-resolution fax (1728 x 1100 pixels at 204 x 98 dpi), one
// bit per pixel, white is zero, PackBits compressed one row at a time, in one strip, little-endian
// ("II"). It shows a frame, a letterhead bar and lines of "text" whose lengths follow the seed, so
// two pages with different seeds differ. Pure code: no windows.h.
#include <cstdint>
#include <vector>

enum : int {
  FAXPAGE_WIDTH = 1728,
  FAXPAGE_HEIGHT = 1100,
  FAXPAGE_XDPI = 204,
  FAXPAGE_YDPI = 98,
  FAXPAGE_ROWBYTES = FAXPAGE_WIDTH / 8,
};

// The file's bytes.
std::vector<uint8_t> makefaxpage(uint32_t seed);

// PackBits of one row, appended to out (literal runs and repeat runs of at most 128 bytes).
void packbitsrow(const uint8_t* row, int length, std::vector<uint8_t>& out);
