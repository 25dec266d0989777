// Commands: the owner's answers reach menu items and toolbar buttons, disabled commands never
// run whatever sent them, accelerators, the bar commands, status-bar prompts and tooltips from
// the commands' strings.
#include <gtest/gtest.h>

#include "manager/ui/uiapp.h"
#include "manager/ui/uiids.h"
#include "tests/managerui/testframe.h"
#include "tests/managerui/uitesthelp.h"

namespace {

class CommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(frame.open());
    app.setmainframe(&frame);
    app.pumpmessages();
  }
  void TearDown() override {
    app.setmainframe(nullptr);
    frame.destroy();
    uitest::pump();
  }

  HMENU popup(int index) {
    HMENU menu = GetSubMenu(GetMenu(frame.hwnd()), index);
    // What the system sends just before the popup opens.
    SendMessageA(frame.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(index, FALSE));
    return menu;
  }
  std::string status() { return frame.statusbar.panetext(0).text(); }
  RECT buttonrect(int index) {
    RECT r = {};
    SendMessageA(frame.toolbar.control(), TB_GETITEMRECT, (WPARAM)index, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void click(int index) {
    RECT r = buttonrect(index);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(frame.toolbar.control(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(frame.toolbar.control(), WM_LBUTTONUP, 0, at);
  }
  void key(HWND target, UINT vk) {
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    app.pumpmessages();
  }

  uiapp_c app;
  testframe_c frame;
};

struct expectation {
  unsigned id;
  bool enabled, checked;
};

// Two sets of answers; every command item and button must show what its owner said.
const struct {
  bool deleteallowed, readallowed, sent, toolbar;
  expectation items[8];
} answercases[] = {
    {false, true, false, true,
     {{ID_REFRESH, true, false},
      {ID_DELETE, false, false},
      {ID_SENT, true, false},
      {ID_READ, true, false},
      {ID_FAILED, false, false},   // known to the table but without a handler
      {ID_CONTENTS, false, false}, // nobody answers for it
      {ID_VIEWTOOLBAR, true, true},
      {ID_VIEWSTATUSBAR, true, true}}},
    {true, false, true, false,
     {{ID_REFRESH, true, false},
      {ID_DELETE, true, false},
      {ID_SENT, true, true},
      {ID_READ, false, false},
      {ID_FAILED, false, false},
      {ID_CONTENTS, false, false},
      {ID_VIEWTOOLBAR, true, false},
      {ID_VIEWSTATUSBAR, true, true}}},
};

TEST_F(CommandTest, MenuItemsShowTheOwnersAnswersWhenTheyOpen) {
  for (const auto& c : answercases) {
    SCOPED_TRACE(c.sent ? "second set" : "first set");
    frame.deleteallowed = c.deleteallowed;
    frame.readallowed = c.readallowed;
    frame.sent = c.sent;
    frame.showbar(frame.toolbar, c.toolbar);
    HMENU file = popup(0), view = popup(1);
    for (const expectation& e : c.items) {
      SCOPED_TRACE(e.id);
      UINT state = GetMenuState(file, e.id, MF_BYCOMMAND);
      if (state == (UINT)-1) state = GetMenuState(view, e.id, MF_BYCOMMAND);
      ASSERT_NE(state, (UINT)-1);
      EXPECT_EQ((state & MF_GRAYED) == 0, e.enabled);
      EXPECT_EQ((state & MF_CHECKED) != 0, e.checked);
    }
  }
}

TEST_F(CommandTest, ToolbarButtonsFollowTheAnswersAtIdleTime) {
  HWND tb = frame.toolbar.control();
  for (const auto& c : answercases) {
    SCOPED_TRACE(c.sent ? "second set" : "first set");
    frame.deleteallowed = c.deleteallowed;
    frame.readallowed = c.readallowed;
    frame.sent = c.sent;
    app.pumpmessages();   // the queue runs empty: idle step
    for (const expectation& e : c.items) {
      if (SendMessageA(tb, TB_COMMANDTOINDEX, e.id, 0) < 0) continue;   // not on the toolbar
      SCOPED_TRACE(e.id);
      EXPECT_EQ(SendMessageA(tb, TB_ISBUTTONENABLED, e.id, 0) != 0, e.enabled);
      EXPECT_EQ(SendMessageA(tb, TB_ISBUTTONCHECKED, e.id, 0) != 0, e.checked);
    }
  }
}

// Whatever the state of the menu or the button on screen, a command whose owner says
// "disabled" at the moment it arrives does not run.
TEST_F(CommandTest, DisabledCommandsNeverRunWhateverSentThem) {
  frame.deleteallowed = true;
  app.pumpmessages();   // the Delete button is enabled on screen now
  frame.deleteallowed = false;
  const int deleteindex = 1;

  click(deleteindex);                                                      // toolbar
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_DELETE, 0), 0);    // menu
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_DELETE, 1), 0);    // accelerator
  key(frame.hwnd(), VK_DELETE);
  EXPECT_EQ(frame.deletes, 0);

  frame.deleteallowed = true;
  app.pumpmessages();   // the key above let the idle step grey the button: enable it again
  click(deleteindex);
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_DELETE, 0), 0);
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_DELETE, 1), 0);
  key(frame.hwnd(), VK_DELETE);
  EXPECT_EQ(frame.deletes, 4);

  // Known without a handler, or unknown: nothing runs, nothing breaks.
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_FAILED, 0), 0);
  key(frame.hwnd(), VK_F6);   // ID_CONTENTS
  EXPECT_EQ(frame.refreshes + frame.sents + frame.reads + frame.exits, 0);
}

TEST_F(CommandTest, AcceleratorsWorkInTheFrameAndItsChildrenOnly) {
  key(frame.hwnd(), VK_F5);
  key(frame.list.hwnd(), VK_F5);
  key(frame.tree.hwnd(), VK_F5);
  EXPECT_EQ(frame.refreshes, 3);

  // Another top-level window of the program (a dialog, say) keeps its keys.
  HWND other = CreateWindowExA(0, "Edit", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  key(other, VK_F5);
  DestroyWindow(other);
  EXPECT_EQ(frame.refreshes, 3);
}

TEST_F(CommandTest, TheBarCommandsShowAndHideTheBars) {
  const struct {
    unsigned id;
    uicontrolbar_c* bar;
  } cases[] = {{ID_VIEWTOOLBAR, &frame.toolbar}, {ID_VIEWSTATUSBAR, &frame.statusbar}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    for (bool expect : {false, true}) {
      SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
      EXPECT_EQ(c.bar->shown(), expect);
      EXPECT_EQ(uitest::styledvisible(c.bar->barwindow()), expect);
      HMENU view = popup(1);
      EXPECT_EQ((GetMenuState(view, c.id, MF_BYCOMMAND) & MF_CHECKED) != 0, expect);
    }
  }
}

TEST_F(CommandTest, AHandlerThatThrowsLeavesTheFrameWorking) {
  frame.refreshthrows = true;
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_REFRESH, 0), 0);
  EXPECT_EQ(frame.refreshes, 0);
  frame.refreshthrows = false;
  SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_REFRESH, 0), 0);
  EXPECT_EQ(frame.refreshes, 1);
}

// ---- prompts and tooltips ----

TEST_F(CommandTest, MenuSelectionShowsThePromptAndClosingTheMenuGivesReady) {
  HMENU view = GetSubMenu(GetMenu(frame.hwnd()), 1);
  LPARAM menu = reinterpret_cast<LPARAM>(view);
  const struct {
    WPARAM wparam;
    LPARAM lparam;
    const char* expect;
  } cases[] = {
      {MAKEWPARAM(ID_SENT, MF_HILITE), menu, "Toggles display of sent events"},
      {MAKEWPARAM(ID_PROMPTONLY, MF_HILITE), menu, "A prompt without a tooltip"},
      {MAKEWPARAM(ID_CONTENTS, MF_HILITE), menu, ""},   // no string at all
      {MAKEWPARAM(6, MF_HILITE | MF_POPUP), menu, ""},   // the "More" submenu
      {MAKEWPARAM(ID_VIEWTOOLBAR, MF_HILITE), menu, "Shows or hides the toolbar"},
      {MAKEWPARAM(0, MF_SEPARATOR), menu, ""},
      {MAKEWPARAM(0, 0xFFFF), 0, "Ready"},   // the menu closed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expect);
    SendMessageA(frame.hwnd(), WM_MENUSELECT, c.wparam, c.lparam);
    EXPECT_EQ(status(), c.expect);
  }
}

TEST_F(CommandTest, PointingAtAToolbarButtonShowsItsPrompt) {
  HWND tb = frame.toolbar.control();
  const struct {
    int index;   // -1: leave the toolbar
    const char* expect;
  } cases[] = {
      {0, "Reloads the event list"}, {3, "Toggles display of sent events"}, {2, "Ready"},   // the separator
      {1, "Deletes the selected events"}, {-1, "Ready"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expect);
    if (c.index < 0) {
      SendMessageA(tb, WM_MOUSELEAVE, 0, 0);
    } else {
      RECT r = buttonrect(c.index);
      SendMessageA(tb, WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    EXPECT_EQ(status(), c.expect);
  }
}

const struct {
  unsigned id;
  const char* tip;
} tipcases[] = {
    {ID_REFRESH, "Refresh (F5)"},
    {ID_SENT, "Toggle Sent events (Ctrl+S)"},
    {ID_READ, "Toggle Read events (Ctrl+R)"},
    {ID_PROMPTONLY, ""},
    {ID_CONTENTS, ""},
};

// The tooltip control of the toolbar asks the frame for each button's text.
TEST_F(CommandTest, ToolbarTooltipsAreTheSecondHalfOfTheCommandsString) {
  HWND tips = reinterpret_cast<HWND>(SendMessageA(frame.toolbar.control(), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tips, nullptr);
  for (unsigned id : {ID_REFRESH, ID_SENT, ID_READ}) {
    SCOPED_TRACE(id);
    char text[256];
    memset(text, 0x55, sizeof text);
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = frame.toolbar.control();
    info.uId = id;
    info.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    for (const auto& c : tipcases) {
      if (c.id == id) {
        EXPECT_STREQ(text, c.tip);
      }
    }
  }
}

// The notification itself, in both character sets, as the tooltip sends it.
TEST_F(CommandTest, TooltipNotificationsAnswerInBothCharacterSets) {
  for (const auto& c : tipcases) {
    SCOPED_TRACE(c.id);
    NMTTDISPINFOA a = {};
    a.hdr.hwndFrom = frame.toolbar.control();
    a.hdr.idFrom = c.id;
    a.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(frame.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&a));
    ASSERT_NE(a.lpszText, nullptr);
    EXPECT_STREQ(a.lpszText, c.tip);

    NMTTDISPINFOW w = {};
    w.hdr.hwndFrom = frame.toolbar.control();
    w.hdr.idFrom = c.id;
    w.hdr.code = TTN_GETDISPINFOW;
    SendMessageA(frame.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&w));
    ASSERT_NE(w.lpszText, nullptr);
    char narrow[256] = "";
    WideCharToMultiByte(CP_ACP, 0, w.lpszText, -1, narrow, sizeof narrow, nullptr, nullptr);
    EXPECT_STREQ(narrow, c.tip);
  }
}

}  // namespace
