// The Manager's pictures and toolbar layout as the platform loads them: every icon at both
// sizes and not blank, the state and notification icons all different, the toolbar layout word
// for word and its bitmap a 16-colour strip of twelve images whose background the toolbar
// control can make transparent.
#include <windows.h>

#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "manager/res/resource.h"
#include "tests/managerres/restest.h"

using namespace restest;

namespace {

const UINT icons[] = {127, 130, 132, 133, 134, 135, 136, 137, 138, 139, 144, 145, 150, 151, 152, 153, 154,
                      155, 156, 157, 158};
// Shown side by side, so each must be told apart from the others of its group.
const UINT stateicons[] = {137, 130, 134, 133, 135, 144, 139, 136};
const UINT trayicons[] = {150, 151, 152, 153};
const UINT foldericons[] = {155, 156, 157, 158};

// The icon drawn at its size once on black and once on white: pixels that differ are
// transparent.
struct rendered_t {
  std::vector<COLORREF> onblack, onwhite;
  int opaque = 0, transparent = 0;
};

rendered_t render(HICON icon, int size) {
  rendered_t out;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int pass = 0; pass < 2; ++pass) {
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, (HBRUSH)GetStockObject(pass ? WHITE_BRUSH : BLACK_BRUSH));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    auto& into = pass ? out.onwhite : out.onblack;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) into.push_back(GetPixel(dc, x, y));
  }
  for (size_t i = 0; i < out.onblack.size(); ++i) (out.onblack[i] == out.onwhite[i] ? out.opaque : out.transparent)++;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

HICON loadicon(UINT id, int size) {
  return (HICON)LoadImageA(module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
}

TEST(ManagerPictures, EveryIconLoadsAtBothSizesAndIsDrawn) {
  for (UINT id : icons) {
    for (int size : {16, 32}) {
      SCOPED_TRACE(testing::Message() << "icon " << id << " at " << size);
      HICON icon = loadicon(id, size);
      ASSERT_NE(icon, nullptr);
      ICONINFO info = {};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP bm = {};
      GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
      EXPECT_EQ(bm.bmWidth, size);
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
      rendered_t r = render(icon, size);
      EXPECT_GE(r.opaque, size * size / 4);
      EXPECT_GT(r.transparent, 0);
      DestroyIcon(icon);
    }
  }
}

TEST(ManagerPictures, IconsOfOneGroupAreAllDifferent) {
  for (const auto& group : {std::vector<UINT>(std::begin(stateicons), std::end(stateicons)),
                            std::vector<UINT>(std::begin(trayicons), std::end(trayicons)),
                            std::vector<UINT>(std::begin(foldericons), std::end(foldericons))}) {
    std::map<UINT, rendered_t> drawn;
    for (UINT id : group) {
      HICON icon = loadicon(id, 16);
      ASSERT_NE(icon, nullptr) << id;
      drawn[id] = render(icon, 16);
      DestroyIcon(icon);
    }
    for (UINT a : group)
      for (UINT b : group)
        if (a < b) {
          EXPECT_NE(drawn[a].onwhite, drawn[b].onwhite) << "icons " << a << " and " << b << " look the same";
        }
  }
}

TEST(ManagerPictures, ToolbarLayoutIsTheButtonList) {
  const WORD wanted[] = {1,     16,    16,    15,    32776, 32782, 0,     32777, 32778, 32792,
                         32779, 32780, 32781, 0,     32789, 32790, 32791, 0,     57664};
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    threadlanguage_c choose(l.locale);
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(rttoolbar));
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(module(), found), sizeof wanted);
    auto* words = static_cast<const WORD*>(LockResource(LoadResource(module(), found)));
    for (size_t i = 0; i < sizeof wanted / sizeof wanted[0]; ++i) EXPECT_EQ(words[i], wanted[i]) << i;
  }
}

TEST(ManagerPictures, ToolbarBitmapIsAStripOfTwelveImages) {
  HBITMAP strip = LoadBitmapA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(strip, nullptr);
  BITMAP bm = {};
  GetObjectA(strip, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 192);
  EXPECT_EQ(bm.bmHeight, 16);

  // Stored with a colour table, so the toolbar control can map its greys to the system colours.
  HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(2));
  ASSERT_NE(found, nullptr);
  auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module(), found)));
  EXPECT_LE(header->biBitCount, 8);

  // Each image has background (the light grey the control makes transparent) and a picture.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 192;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<DWORD> pixels(192 * 16);
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDIBits(screen, strip, 0, 16, pixels.data(), &info, DIB_RGB_COLORS), 16);
  ReleaseDC(nullptr, screen);
  for (int image = 0; image < 12; ++image) {
    int background = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if ((pixels[y * 192 + image * 16 + x] & 0xFFFFFF) == 0xC0C0C0) ++background;
    EXPECT_GT(background, 0) << "image " << image;
    EXPECT_GT(256 - background, 256 / 4) << "image " << image;
  }
  DeleteObject(strip);
}

}  // namespace
