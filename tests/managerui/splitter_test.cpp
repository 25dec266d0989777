// The static splitter: pane widths as set, as the window allows, and as the user drags the bar.
#include <gtest/gtest.h>

#include "manager/ui/uisplitter.h"
#include "tests/managerui/uitesthelp.h"

namespace {

class SplitterTest : public ::testing::Test {
protected:
  void SetUp() override {
    host = CreateWindowExA(0, "Static", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 800, 300, nullptr, nullptr, nullptr,
                           nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(splitter.create(host));
    for (int c = 0; c < 2; ++c) {
      panes[c] = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, splitter.hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(uisplitter_c::paneid(c))), nullptr,
                                 nullptr);
      ASSERT_NE(panes[c], nullptr);
    }
    ASSERT_TRUE(splitter.setpane(0, panes[0], 196));
    ASSERT_TRUE(splitter.setpane(1, panes[1]));
  }
  void TearDown() override { DestroyWindow(host); }

  void resize(int cx) { SetWindowPos(splitter.hwnd(), nullptr, 0, 0, cx, 200, SWP_NOZORDER); }
  void expectpanes(int left, int right) {
    RECT a = uitest::rectin(panes[0], splitter.hwnd()), b = uitest::rectin(panes[1], splitter.hwnd());
    EXPECT_EQ(splitter.columnwidth(0), left);
    EXPECT_EQ(splitter.columnwidth(1), right);
    EXPECT_EQ(a.left, 0);
    EXPECT_EQ(a.right - a.left, left);
    EXPECT_EQ(b.left, left + uisplitter_c::barwidth);
    EXPECT_EQ(b.right - b.left, right);
    EXPECT_EQ(a.bottom - a.top, 200);
    EXPECT_EQ(b.bottom - b.top, 200);
  }

  HWND host = nullptr;
  HWND panes[2] = {};
  uisplitter_c splitter;
};

TEST_F(SplitterTest, PaneIdsFollowTheFirstPaneId) {
  EXPECT_EQ(GetDlgCtrlID(splitter.hwnd()), 59648);
  EXPECT_EQ(uisplitter_c::paneid(0), 59648u);
  EXPECT_EQ(uisplitter_c::paneid(1), 59649u);
  EXPECT_EQ(splitter.pane(1), panes[1]);
  EXPECT_EQ(splitter.pane(2), nullptr);
  // A pane that is not the splitter's child is refused.
  EXPECT_FALSE(splitter.setpane(0, host));
  EXPECT_FALSE(splitter.setpane(2, panes[0]));
}

// The left column keeps its width as far as the window allows; the right takes the rest.
TEST_F(SplitterTest, TheLeftColumnKeepsItsWidthTheRightTakesTheRest) {
  const int bar = uisplitter_c::barwidth;
  const struct {
    int total, wanted, left;
  } cases[] = {
      {600, 196, 196},          // the Manager's tree width
      {100, 196, 100 - bar},    // narrower than wanted: the right pane has nothing
      {600, -5, 0},             // negative counts as none
      {600, 2000, 600 - bar},
      {3, 50, 0},               // not even room for the bar
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.total * 10000 + c.wanted);
    splitter.setcolumnwidth(c.wanted);
    resize(c.total);
    expectpanes(c.left, c.total - bar - c.left > 0 ? c.total - bar - c.left : 0);
  }
  // Grown again, the wanted width comes back.
  splitter.setcolumnwidth(196);
  resize(100);
  resize(700);
  expectpanes(196, 700 - bar - 196);
}

TEST_F(SplitterTest, DraggingTheBarMovesTheBoundary) {
  resize(600);
  const int bar = uisplitter_c::barwidth;
  HWND s = splitter.hwnd();
  // Take hold 2 pixels into the bar; the bar keeps that offset under the mouse.
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(196 + 2, 50));
  EXPECT_EQ(GetCapture(), s);
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(252, 50));
  expectpanes(250, 600 - bar - 250);
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(302, 60));
  EXPECT_EQ(GetCapture(), nullptr);
  expectpanes(300, 600 - bar - 300);
  // Moves without a held bar do nothing; a drag past either edge stops there.
  SendMessageA(s, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
  expectpanes(300, 600 - bar - 300);
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(301, 50));
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(-400, 50));
  expectpanes(0, 600 - bar);
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 50));
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(5000, 50));
  expectpanes(600 - bar, 0);
  // A press inside a pane's area is not on the bar.
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 50));
  EXPECT_NE(GetCapture(), s);
}

}  // namespace
