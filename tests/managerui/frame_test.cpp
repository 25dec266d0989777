// The frame: creation from resources, layout of the client area around bars docked on each
// side, docking by dragging the gripper, and the bar layout saved to and read back from the
// real registry.
#include <gtest/gtest.h>

#include "manager/ui/uiids.h"
#include "manager/ui/uiprofile.h"
#include "tests/managerui/testframe.h"
#include "tests/managerui/uitesthelp.h"

using uitest::rectin;

namespace {

std::string windowtext(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

::testing::AssertionResult samerect(const RECT& got, const RECT& want) {
  if (EqualRect(&got, &want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got.left << "," << got.top << ")-(" << got.right << ","
                                       << got.bottom << "), want (" << want.left << "," << want.top << ")-("
                                       << want.right << "," << want.bottom << ")";
}

class FrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(frame.open(visible()));
    uitest::pump();
  }
  virtual bool visible() const { return false; }
  RECT client() const {
    RECT r;
    GetClientRect(frame.hwnd(), &r);
    return r;
  }
  testframe_c frame;
};

TEST_F(FrameTest, TitleMenuAndAcceleratorsComeFromTheResourceId) {
  EXPECT_EQ(windowtext(frame.hwnd()), "Ravelink UI Test");   // first line of string 100 only
  HMENU menu = GetMenu(frame.hwnd());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_NE(frame.accelerators(), nullptr);
  EXPECT_EQ(frame.toolbar.buttoncount(), 6);
  EXPECT_EQ(windowtext(frame.toolbar.hwnd()), "Standard");
  // A button is its 16 x 16 image plus 7 each way.
  EXPECT_EQ(SendMessageA(frame.toolbar.control(), TB_GETBUTTONSIZE, 0, 0), MAKELONG(23, 23));
  EXPECT_EQ(GetDlgCtrlID(frame.toolbar.hwnd()), (int)uiid_toolbar);
  EXPECT_EQ(GetDlgCtrlID(frame.statusbar.hwnd()), (int)uiid_statusbar);
  EXPECT_EQ(GetDlgCtrlID(frame.splitter.hwnd()), (int)uiid_panefirst);
  // The idle prompt is there from the start.
  EXPECT_STREQ(frame.statusbar.panetext(0).text(), "Ready");
  EXPECT_EQ(frame.statusbar.panecount(), 1);
}

// Each side: where the toolbar goes, and what is left for the view. The status bar always runs
// along the whole bottom edge. This one runs on screen.
class FrameOnScreenTest : public FrameTest {
protected:
  bool visible() const override { return true; }
};

TEST_F(FrameOnScreenTest, BarsDockedOnEachSideLayOutTheClientArea) {
  const struct {
    uidock side;
    const char* name;
  } cases[] = {{uidock::top, "top"}, {uidock::bottom, "bottom"}, {uidock::left, "left"}, {uidock::right, "right"},
               {uidock::top, "top again"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(frame.dockbar(frame.toolbar, c.side));
    // A real resize, so the layout runs from WM_SIZE.
    SetWindowPos(frame.hwnd(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(frame.hwnd(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    RECT all = client();
    RECT status = rectin(frame.statusbar.hwnd(), frame.hwnd());
    RECT tool = rectin(frame.toolbar.hwnd(), frame.hwnd());
    RECT view = rectin(frame.splitter.hwnd(), frame.hwnd());
    int sh = status.bottom - status.top;
    ASSERT_GT(sh, 10);
    EXPECT_TRUE(samerect(status, {0, all.bottom - sh, all.right, all.bottom}));
    const int across = 23 + 4;
    int above = all.bottom - sh;   // the bottom of what the status bar leaves
    switch (c.side) {
      case uidock::top:
        EXPECT_TRUE(samerect(tool, {0, 0, all.right, across}));
        EXPECT_TRUE(samerect(view, {0, across, all.right, above}));
        break;
      case uidock::bottom:
        EXPECT_TRUE(samerect(tool, {0, above - across, all.right, above}));
        EXPECT_TRUE(samerect(view, {0, 0, all.right, above - across}));
        break;
      case uidock::left:
        EXPECT_TRUE(samerect(tool, {0, 0, across, above}));
        EXPECT_TRUE(samerect(view, {across, 0, all.right, above}));
        break;
      case uidock::right:
        EXPECT_TRUE(samerect(tool, {all.right - across, 0, all.right, above}));
        EXPECT_TRUE(samerect(view, {0, 0, all.right - across, above}));
        break;
    }
    // The buttons run along the bar: side by side on top and bottom, stacked on the sides.
    RECT first, second;
    ASSERT_TRUE(SendMessageA(frame.toolbar.control(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)));
    ASSERT_TRUE(SendMessageA(frame.toolbar.control(), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    if (uivertical(c.side)) {
      EXPECT_EQ(second.left, first.left);
      EXPECT_GE(second.top, first.bottom);
    } else {
      EXPECT_EQ(second.top, first.top);
      EXPECT_GE(second.left, first.right);
    }
    EXPECT_TRUE(uitest::styledvisible(frame.toolbar.hwnd()));
  }
}

TEST_F(FrameTest, HiddenBarsLeaveTheirRoomToTheView) {
  frame.dockbar(frame.toolbar, uidock::left);
  frame.showbar(frame.toolbar, false);
  RECT all = client();
  RECT status = rectin(frame.statusbar.hwnd(), frame.hwnd());
  EXPECT_FALSE(uitest::styledvisible(frame.toolbar.hwnd()));
  EXPECT_TRUE(samerect(rectin(frame.splitter.hwnd(), frame.hwnd()), {0, 0, all.right, status.top}));

  frame.showbar(frame.statusbar, false);
  EXPECT_FALSE(uitest::styledvisible(frame.statusbar.hwnd()));
  EXPECT_TRUE(samerect(rectin(frame.splitter.hwnd(), frame.hwnd()), all));

  frame.showbar(frame.toolbar, true);
  EXPECT_TRUE(uitest::styledvisible(frame.toolbar.hwnd()));
  EXPECT_TRUE(samerect(rectin(frame.splitter.hwnd(), frame.hwnd()), {27, 0, all.right, all.bottom}));
}

TEST_F(FrameTest, TheStatusBarDocksOnlyAtTheBottom) {
  for (uidock side : {uidock::top, uidock::left, uidock::right}) EXPECT_FALSE(frame.dockbar(frame.statusbar, side));
  EXPECT_EQ(frame.statusbar.side(), uidock::bottom);
  EXPECT_TRUE(frame.dockbar(frame.statusbar, uidock::bottom));
}

// Dragging the gripper with the mouse: the bar docks at the frame edge nearest to where the
// button was let go; a click without a move changes nothing.
TEST_F(FrameTest, DraggingTheGripperDocksTheToolbarAtTheNearestEdge) {
  RECT all = client();
  const struct {
    POINT release;   // in the frame's client coordinates
    uidock expect;
  } cases[] = {
      {{all.right - 5, all.bottom / 2}, uidock::right},  {{all.right / 2, all.bottom - 40}, uidock::bottom},
      {{3, all.bottom / 2}, uidock::left},               {{all.right / 2, -30}, uidock::top},
      {{all.right + 50, all.bottom / 3}, uidock::right},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.release.x * 10000 + c.release.y);
    RECT grip = frame.toolbar.gripperrect();
    POINT down = {(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2};
    POINT up = c.release;
    MapWindowPoints(frame.hwnd(), frame.toolbar.hwnd(), &up, 1);
    SendMessageA(frame.toolbar.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    EXPECT_EQ(GetCapture(), frame.toolbar.hwnd());
    SendMessageA(frame.toolbar.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    SendMessageA(frame.toolbar.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(frame.toolbar.side(), c.expect);
  }
  // A click on the gripper that does not move.
  uidock before = frame.toolbar.side();
  RECT grip = frame.toolbar.gripperrect();
  SendMessageA(frame.toolbar.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.left + 2, grip.top + 2));
  SendMessageA(frame.toolbar.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(grip.left + 3, grip.top + 2));
  EXPECT_EQ(frame.toolbar.side(), before);
}

TEST(FrameCreation, AFailingStepMakesTheCreationFailWithoutAWindowLeft) {
  const testframe_c::failure cases[] = {testframe_c::clientfails, testframe_c::createfails,
                                        testframe_c::createthrows};
  for (auto how : cases) {
    SCOPED_TRACE(how);
    testframe_c frame(how);
    EXPECT_FALSE(frame.open());
    EXPECT_EQ(frame.hwnd(), nullptr);
    EXPECT_EQ(FindWindowA("RavelinkFrame", "Ravelink UI Test"), nullptr);
  }
}

TEST(FrameCreation, AToolbarLayoutThatIsDamagedOrWithoutBitmapIsRefused) {
  testframe_c frame;
  ASSERT_TRUE(frame.open());
  // IDR_BADVERSION, IDR_NOBITMAP, IDR_TRUNCATED, and one that does not exist.
  for (unsigned id : {101u, 102u, 103u, 4711u}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(frame.toolbar.load(id));
    EXPECT_EQ(frame.toolbar.buttoncount(), 0);
  }
  EXPECT_TRUE(frame.toolbar.load(IDR_TESTFRAME));
  EXPECT_EQ(frame.toolbar.buttoncount(), 6);
}

TEST(FrameCreation, AWindowDestroyedBeforeItsObjectAndTheOtherWayRoundIsSafe) {
  {
    testframe_c frame;
    ASSERT_TRUE(frame.open());
    HWND window = frame.hwnd();
    DestroyWindow(window);
    EXPECT_EQ(frame.hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(window));
  }
  HWND left = nullptr;
  {
    testframe_c frame;
    ASSERT_TRUE(frame.open());
    left = frame.hwnd();
  }
  EXPECT_FALSE(IsWindow(left));
}

// ---- bar layout in the profile store ----

class BarStateTest : public ::testing::Test {
protected:
  BarStateTest() : profile(key.name.c_str(), "Ravelink UI Test") {}
  std::string section(const char* name) const { return std::string(profile.rootpath()) + "\\" + name; }
  uitest::testkey_c key;
  uiprofile_c profile;
};

TEST_F(BarStateTest, VisibilityAndSideSurviveARestart) {
  {
    testframe_c frame;
    ASSERT_TRUE(frame.open());
    frame.dockbar(frame.toolbar, uidock::left);
    frame.showbar(frame.statusbar, false);
    ASSERT_TRUE(frame.savebarstate(profile));
  }
  DWORD value = 0;
  ASSERT_TRUE(key.getdword(section("BarState-Summary"), "Bars", value));
  EXPECT_EQ(value, 2u);
  const struct {
    const char* section;
    DWORD id, visible, side;
  } saved[] = {{"BarState-Bar0", uiid_toolbar, 1, 2}, {"BarState-Bar1", uiid_statusbar, 0, 1}};
  for (const auto& s : saved) {
    SCOPED_TRACE(s.section);
    ASSERT_TRUE(key.getdword(section(s.section), "BarID", value));
    EXPECT_EQ(value, s.id);
    ASSERT_TRUE(key.getdword(section(s.section), "Visible", value));
    EXPECT_EQ(value, s.visible);
    ASSERT_TRUE(key.getdword(section(s.section), "Side", value));
    EXPECT_EQ(value, s.side);
  }

  testframe_c again;
  ASSERT_TRUE(again.open());
  EXPECT_EQ(again.toolbar.side(), uidock::top);
  ASSERT_TRUE(again.loadbarstate(profile));
  EXPECT_EQ(again.toolbar.side(), uidock::left);
  EXPECT_TRUE(again.toolbar.shown());
  EXPECT_FALSE(again.statusbar.shown());
  EXPECT_FALSE(uitest::styledvisible(again.statusbar.hwnd()));
  RECT all;
  GetClientRect(again.hwnd(), &all);
  EXPECT_TRUE(samerect(rectin(again.splitter.hwnd(), again.hwnd()), {27, 0, all.right, all.bottom}));
}

TEST_F(BarStateTest, NoSavedLayoutChangesNothing) {
  testframe_c frame;
  ASSERT_TRUE(frame.open());
  EXPECT_FALSE(frame.loadbarstate(profile));
  EXPECT_EQ(frame.toolbar.side(), uidock::top);
  EXPECT_TRUE(frame.statusbar.shown());
  EXPECT_FALSE(key.exists(key.software()));
}

// Values in the registry are anybody's: each damaged one is skipped on its own, the sound ones
// beside it still apply.
TEST_F(BarStateTest, DamagedValuesAreSkippedOneByOne) {
  auto dword = [&](const char* sec, const char* name, DWORD v) {
    ASSERT_TRUE(key.setraw(section(sec), name, REG_DWORD, &v, sizeof v));
  };
  dword("BarState-Summary", "Bars", 0x7FFFFFFF);   // far more than there are
  // Bar0: the toolbar, with a side nobody has and a visibility that is no flag.
  dword("BarState-Bar0", "BarID", uiid_toolbar);
  dword("BarState-Bar0", "Side", 7);
  dword("BarState-Bar0", "Visible", 5);
  // Bar1: the status bar, asked onto the right (it only docks at the bottom), hidden.
  dword("BarState-Bar1", "BarID", uiid_statusbar);
  dword("BarState-Bar1", "Side", 3);
  dword("BarState-Bar1", "Visible", 0);
  // Bar2: a bar that does not exist.
  dword("BarState-Bar2", "BarID", 12345);
  dword("BarState-Bar2", "Side", 2);
  // Bar3: the toolbar again, its id stored as text: not believed, so its side stays.
  ASSERT_TRUE(key.setraw(section("BarState-Bar3"), "BarID", REG_SZ, "59392", 6));
  dword("BarState-Bar3", "Side", 1);
  // Bar4: the toolbar with a side of the wrong size.
  dword("BarState-Bar4", "BarID", uiid_toolbar);
  WORD shortside = 2;
  ASSERT_TRUE(key.setraw(section("BarState-Bar4"), "Side", REG_BINARY, &shortside, sizeof shortside));

  testframe_c frame;
  ASSERT_TRUE(frame.open());
  EXPECT_TRUE(frame.loadbarstate(profile));
  EXPECT_EQ(frame.toolbar.side(), uidock::top);
  EXPECT_TRUE(frame.toolbar.shown());
  EXPECT_EQ(frame.statusbar.side(), uidock::bottom);
  EXPECT_FALSE(frame.statusbar.shown());
}

TEST_F(BarStateTest, SavingRemovesSectionsOfBarsThatAreGone) {
  DWORD six = 6;
  ASSERT_TRUE(key.setraw(section("BarState-Summary"), "Bars", REG_DWORD, &six, sizeof six));
  for (int i = 0; i < 6; ++i) {
    DWORD id = 59400 + i;
    ASSERT_TRUE(key.setraw(section(("BarState-Bar" + std::to_string(i)).c_str()), "BarID", REG_DWORD, &id, 4));
  }
  testframe_c frame;
  ASSERT_TRUE(frame.open());
  ASSERT_TRUE(frame.savebarstate(profile));
  EXPECT_TRUE(key.exists(section("BarState-Bar1")));
  for (int i = 2; i < 6; ++i) EXPECT_FALSE(key.exists(section(("BarState-Bar" + std::to_string(i)).c_str()))) << i;
}

TEST_F(BarStateTest, AnotherPrefixKeepsItsOwnSections) {
  testframe_c frame;
  ASSERT_TRUE(frame.open());
  frame.dockbar(frame.toolbar, uidock::bottom);
  ASSERT_TRUE(frame.savebarstate(profile, "BarState-Test"));
  EXPECT_TRUE(key.exists(section("BarState-Test-Summary")));
  EXPECT_FALSE(key.exists(section("BarState-Summary")));
  frame.dockbar(frame.toolbar, uidock::top);
  EXPECT_FALSE(frame.loadbarstate(profile));
  EXPECT_EQ(frame.toolbar.side(), uidock::top);
  EXPECT_TRUE(frame.loadbarstate(profile, "BarState-Test"));
  EXPECT_EQ(frame.toolbar.side(), uidock::bottom);
}

}  // namespace
