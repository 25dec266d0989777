// The main window on a real mailbox root: creation and its failures, the bars and panes, the
// settings read at creation and written at close (RIROVEVI.INI and the real registry), the first
// show with a saved placement, the filter commands with their check marks, the commands that
// stay disabled, the scan timer with its notifications, and hiding in the notification area.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "manager/mainframe.h"
#include "manager/mainframesettings.h"
#include "manager/res/resource.h"
#include "manager/ui/uiids.h"
#include "manager/ui/uiprofile.h"
#include "manager/ui/uiresource.h"
#include "tests/manager/mainframe_kit.h"
#include "tests/managerui/uitesthelp.h"

using frametest::event;
using frametest::inisections_c;

namespace {

const DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

std::string loaded(unsigned id) { return uistring(id).text(); }

// What the notification area shows: the tooltip and the icon of the given id.
std::string traytip(const CTrayIcon& tray) { return tray.record().szTip; }
bool trayshows(const CTrayIcon& tray, unsigned id) {
  // The icon loads as a shared small icon: the same handle every time.
  HICON icon = static_cast<HICON>(LoadImageA(uiresourcemodule(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return icon && tray.record().hIcon == icon;
}

class MainFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root.ok) << "no mailbox for the Windows user";
    previousbeep = CMainFrame::SetBeepForTests([this] { ++beeps; });
  }
  void TearDown() override {
    frame.reset();
    CMainFrame::SetBeepForTests(previousbeep);
  }

  // The frame, created hidden; false when its creation failed.
  bool open(DWORD majorversion = 6) {
    frame = std::make_unique<CMainFrame>(profile, majorversion);
    bool ok = frame->load(IDR_MAINFRAME, frameStyle);
    uitest::pump();
    return ok;
  }
  CManListCtrl& list() { return frame->ListPane(); }
  // Lets a window just shown settle: Wine applies the X server's answers to the first show a
  // little later, and a state changed before they came would be taken back.
  void settle() {
    for (int i = 0; i < 15; ++i) {
      uitest::pump();
      Sleep(20);
    }
  }
  void scan(WPARAM timer = CMainFrame::ScanTimer) {
    SendMessageA(frame->hwnd(), WM_TIMER, timer, 0);
    uitest::pump();
  }
  void command(unsigned id) {
    SendMessageA(frame->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    uitest::pump();
  }
  // Subjects of the rows, in row order.
  std::vector<std::string> rows() {
    std::vector<std::string> out;
    for (int i = 0; i < list().itemcount(); ++i) out.push_back(list().itemtext(i, 2).text());
    return out;
  }
  std::set<std::string> rowset() {
    std::vector<std::string> r = rows();
    return std::set<std::string>(r.begin(), r.end());
  }
  // Menu state of a command after the frame answered WM_INITMENUPOPUP for its popup.
  UINT menustate(HMENU menu, unsigned id) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      HMENU popup = GetSubMenu(menu, i);
      if (!popup || GetMenuState(popup, id, MF_BYCOMMAND) == (UINT)-1) continue;
      SendMessageA(frame->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
      return GetMenuState(popup, id, MF_BYCOMMAND);
    }
    return (UINT)-1;
  }
  std::string windowpos() { return profile.getstring("Settings", "WindowPos").text(); }

  inisections_c ini;
  uitest::testkey_c key;
  uiprofile_c profile{key.name.c_str(), "Ravelink Manager"};
  frametest::mailboxroot_c root;
  uitest::boxanswer_c boxes;
  int beeps = 0;
  std::function<void()> previousbeep;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, CreationFailsWithoutAMailboxToShow) {
  scratchdir_c empty;
  static const struct {
    const char* what;
    int setting;   // 0 no value, 1 a missing directory, 2 a root without the user's mailbox
    unsigned message;
  } cases[] = {
      {"no Mailbox value", 0, 0},
      {"missing directory", 1, IDS_NO_CONNECTION},
      {"user not in the directory", 2, IDS_USER_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string value = c.setting == 1 ? root.root.path() + "\\gone" : c.setting == 2 ? empty.path() : "";
    inisections_c::set("Directories", "Mailbox", c.setting ? value.c_str() : nullptr);
    boxes.boxes.clear();
    EXPECT_FALSE(open());
    EXPECT_FALSE(frame->exists());
    // Nothing is left in the notification area of a window that never came to be.
    EXPECT_EQ(frame->TrayIcon().record().hIcon, nullptr);
    if (c.message) {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, loaded(c.message));
    } else {
      EXPECT_TRUE(boxes.boxes.empty());
    }
  }
}

TEST_F(MainFrameTest, CreationBuildsPanesBarsAndTheFirstView) {
  root.add(event("incoming unread", EVS_UNREAD, true));
  root.add(event("outgoing sent", EVS_SENT, false));
  ASSERT_TRUE(open());

  EXPECT_EQ(frametest::windowtext(frame->hwnd()), loaded(IDR_MAINFRAME) + " - " + root.user);
  EXPECT_EQ(frame->Splitter().pane(0), frame->TreePane().hwnd());
  EXPECT_EQ(frame->Splitter().pane(1), list().hwnd());
  EXPECT_EQ(frame->view(), frame->Splitter().hwnd());

  // The Inbox comes first: only the incoming event.
  EXPECT_EQ(rows(), std::vector<std::string>{"incoming unread"});
  EXPECT_EQ(list().Filter, 29u);   // 28, the default, with the Inbox bit
  uitreeview_c& tree = frame->TreePane();
  HTREEITEM main = tree.rootitem();
  ASSERT_NE(main, nullptr);
  EXPECT_STREQ(tree.itemtext(main).text(), loaded(IDS_FOLDER_MAIN).c_str());
  HTREEITEM inbox = tree.childitem(main);
  ASSERT_NE(inbox, nullptr);
  EXPECT_EQ(tree.selecteditem(), inbox);
  EXPECT_STREQ(tree.itemtext(inbox).text(), loaded(IDS_FOLDER_INBOX).c_str());
  EXPECT_STREQ(tree.itemtext(tree.nextsibling(inbox)).text(), loaded(IDS_FOLDER_OUTBOX).c_str());
  EXPECT_STREQ(tree.itemtext(tree.nextsibling(main)).text(), loaded(IDS_FOLDER_PERSONAL).c_str());

  // The toolbar: resource 127, 16 x 16 images in button order, 23 x 23 buttons, docked on top.
  CMyToolBar& bar = frame->ToolBar();
  static const unsigned buttons[] = {ID_NEW_FAX,    ID_EXPORT_LOG, 0,           ID_EVENT_VIEW,   ID_EVENT_PRINT,
                                     ID_EVENT_DETAILS, ID_EVENT_ROUTE, ID_EVENT_RESUBMIT, ID_EVENT_DELETE, 0,
                                     ID_VIEW_SENT,  ID_VIEW_READ,  ID_VIEW_FAILED, 0,            ID_APP_ABOUT};
  ASSERT_EQ(bar.buttoncount(), 15);
  int image = 0;
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(bar.ButtonCommand(i), buttons[i]) << "button " << i;
    EXPECT_EQ(bar.ButtonImage(i), buttons[i] ? image++ : -1) << "button " << i;
  }
  EXPECT_EQ(bar.ButtonSize().cx, 23);
  EXPECT_EQ(bar.ButtonSize().cy, 23);
  EXPECT_EQ(frametest::windowtext(bar.hwnd()), "Standard");
  EXPECT_EQ(bar.side(), uidock::top);
  EXPECT_EQ(frame->findbar(uiid_toolbar), &bar);
  for (int side = 0; side < 4; ++side) EXPECT_TRUE(bar.candock(static_cast<uidock>(side)));

  // The status bar: one message pane of 3000 pixels, idle prompt.
  uistatusbar_c& status = frame->StatusBar();
  int edges[4] = {};
  ASSERT_EQ(SendMessageA(status.hwnd(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 1);
  EXPECT_EQ(edges[0], 3000);
  EXPECT_EQ(std::string(status.panetext(0).text()), loaded(IDS_IDLE_PROMPT));

  EXPECT_EQ(frame->ScanPeriod(), 300000u);   // ScanTime 5 by default
  // The first notifications came at creation: the window is not shown yet.
  EXPECT_EQ(traytip(frame->TrayIcon()), loaded(IDS_TRAY_UNREAD));
  EXPECT_TRUE(trayshows(frame->TrayIcon(), IDI_TRAY_UNREAD));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, loaded(IDS_NOTIFY_NEW));
}

TEST_F(MainFrameTest, ScanTimeGivesTheTimerPeriod) {
  static const struct {
    const char* scantime;
    unsigned ms;
  } cases[] = {{"-3", 30000}, {"0", 30000}, {"1", 60000}, {"60", 3600000}, {"61", 3600000}, {nullptr, 300000}};
  for (const auto& c : cases) {
    inisections_c::set("Options", "ScanTime", c.scantime);
    ASSERT_TRUE(open());
    EXPECT_EQ(frame->ScanPeriod(), c.ms) << (c.scantime ? c.scantime : "no value");
    frame.reset();
  }
}

TEST_F(MainFrameTest, FilterAndSortColumnAreTakenAtCreation) {
  static const struct {
    const char* filter;
    const char* sortby;
    DWORD wantfilter;
    int wantsort;
  } cases[] = {
      {"30", "2", 29, 2},                  // the Outbox bit of the last close is not taken
      {"0", "3", 1, 3},
      {"4294967295", "7", 0xFFFFFFFD, 0},  // a column the list does not have sorts by the first
      {"x", "-1", 1, 0},
  };
  for (const auto& c : cases) {
    inisections_c::set("Options", "Filter", c.filter);
    inisections_c::set("Options", "SortBy", c.sortby);
    ASSERT_TRUE(open());
    EXPECT_EQ(list().Filter, c.wantfilter) << c.filter;
    EXPECT_EQ(list().SortBy, c.wantsort) << c.sortby;
    frame.reset();
  }
}

TEST_F(MainFrameTest, ColumnsChangeOnlyTheWidthsAboveZero) {
  ASSERT_TRUE(open());
  int defaults[4];
  for (int c = 0; c < 4; ++c) defaults[c] = list().columnwidth(c);
  frame.reset();

  static const struct {
    const char* columns;
    int widths[4];   // -1: the default
  } cases[] = {
      {"120,0,-5,300", {120, -1, -1, 300}},
      {"1,2,3", {-1, -1, -1, -1}},
      {"", {-1, -1, -1, -1}},
      {"70000,65535,65536,40", {4464, -1, -1, 40}},
      {"80,x,90,100", {-1, -1, -1, -1}},
  };
  for (const auto& c : cases) {
    inisections_c::set("Options", "Columns", c.columns);
    ASSERT_TRUE(open());
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(list().columnwidth(column), c.widths[column] < 0 ? defaults[column] : c.widths[column])
          << "\"" << c.columns << "\" column " << column;
    frame.reset();
  }
}

TEST_F(MainFrameTest, ExitSavesSettingsThatTheNextStartRestores) {
  ASSERT_TRUE(open());
  command(ID_VIEW_SENT);   // 29 without 8
  NMLISTVIEW click = {};
  click.hdr.hwndFrom = list().hwnd();
  click.hdr.idFrom = uisplitter_c::paneid(1);
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = 2;
  SendMessageA(frame->Splitter().hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  ASSERT_TRUE(list().setcolumnwidth(1, 177));
  SetWindowPos(frame->hwnd(), nullptr, 40, 50, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
  command(uiid_toolbar);   // the toolbar hidden
  HWND window = frame->hwnd();
  char columns[64];
  snprintf(columns, sizeof columns, "%d,177,%d,%d", list().columnwidth(0), list().columnwidth(2),
           list().columnwidth(3));

  command(ID_APP_EXIT);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(inisections_c::get("Options", "Filter"), "21");
  EXPECT_EQ(inisections_c::get("Options", "SortBy"), "2");
  EXPECT_EQ(inisections_c::get("Options", "Columns"), columns);
  windowpostext pos;
  ASSERT_EQ(parsewindowpos(windowpos().c_str(), pos), 10) << windowpos();
  EXPECT_EQ(pos.flags, 0u);
  EXPECT_EQ(pos.left, 40);
  EXPECT_EQ(pos.top, 50);
  EXPECT_EQ(pos.right, 740);
  EXPECT_EQ(pos.bottom, 550);
  EXPECT_EQ(profile.getint("BarState-Summary", "Bars", -1), 2);
  frame.reset();

  ASSERT_TRUE(open());
  EXPECT_EQ(list().Filter, 21u);
  EXPECT_EQ(list().SortBy, 2);
  EXPECT_EQ(list().columnwidth(1), 177);
  frame->FirstShow(SW_HIDE);
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  ASSERT_TRUE(GetWindowPlacement(frame->hwnd(), &wp));
  EXPECT_EQ(wp.rcNormalPosition.left, 40);
  EXPECT_EQ(wp.rcNormalPosition.top, 50);
  EXPECT_EQ(wp.rcNormalPosition.right, 740);
  EXPECT_EQ(wp.rcNormalPosition.bottom, 550);
  EXPECT_FALSE(IsWindowVisible(frame->hwnd()));
  // The bar layout came back with the placement.
  EXPECT_FALSE(frame->ToolBar().shown());
  EXPECT_TRUE(frame->StatusBar().shown());
}

TEST_F(MainFrameTest, AValueThatIsNoPlacementGivesTheCenteredWindowAndDefaultBars) {
  // A layout with the toolbar hidden is saved first.
  ASSERT_TRUE(open());
  command(uiid_toolbar);
  frame->CloseManager();
  frame.reset();

  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  static const struct {
    const char* windowpos;
    bool placed;
  } cases[] = {
      {"0,1,-1,-1,-1,-1,10,20,650,500", true},
      {"0,1,-1,-1,-1,-1,10,20,650", false},         // nine numbers
      {"0,1,-1,-1,-1,-1,650,500,10,20", false},     // no size
      {"0,1,-1,-1,-1,-1,10,20,10,500", false},      // no width
      {"rubbish", false},
      {nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.windowpos ? c.windowpos : "no value");
    profile.writestring("Settings", "WindowPos", c.windowpos);
    ASSERT_TRUE(open());
    frame->FirstShow(SW_HIDE);
    RECT r;
    GetWindowRect(frame->hwnd(), &r);
    if (c.placed) {
      EXPECT_EQ(r.left, 10 + work.left);
      EXPECT_EQ(r.bottom, 500 + work.top);
      EXPECT_FALSE(frame->ToolBar().shown());
    } else {
      EXPECT_LE(abs((r.left + r.right) / 2 - (work.left + work.right) / 2), 1);
      EXPECT_LE(abs((r.top + r.bottom) / 2 - (work.top + work.bottom) / 2), 1);
      EXPECT_TRUE(frame->ToolBar().shown());
    }
    EXPECT_FALSE(IsWindowVisible(frame->hwnd()));
    frame.reset();
  }
}

TEST_F(MainFrameTest, APlacementOffEveryScreenComesBackOntoIt) {
  profile.writestring("Settings", "WindowPos", "0,1,-1,-1,30000,30000,30000,30000,30640,30480");
  ASSERT_TRUE(open());
  frame->FirstShow(SW_HIDE);
  RECT work, r;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(frame->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_GE(r.left, work.left);
  EXPECT_GE(r.top, work.top);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);
}

// On screen: closing takes a moment under Wine without a window manager.
TEST_F(MainFrameTest, MaximizedAtCloseStartsMaximizedAgain) {
  profile.writestring("Settings", "WindowPos", "0,1,-1,-1,-1,-1,60,70,700,550");
  ASSERT_TRUE(open());
  frame->FirstShow(SW_SHOWNORMAL);
  settle();
  ShowWindow(frame->hwnd(), SW_MAXIMIZE);
  settle();
  ASSERT_TRUE(IsZoomed(frame->hwnd()));
  SendMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
  windowpostext pos;
  ASSERT_EQ(parsewindowpos(windowpos().c_str(), pos), 10) << windowpos();
  EXPECT_EQ(pos.flags, 2u);
  EXPECT_EQ(pos.showcmd, (unsigned)SW_SHOWMAXIMIZED);
  EXPECT_EQ(pos.left, 60);
  EXPECT_EQ(pos.bottom, 550);
  frame.reset();

  ASSERT_TRUE(open());
  frame->FirstShow(SW_SHOWNORMAL);
  settle();
  EXPECT_TRUE(IsWindowVisible(frame->hwnd()));
  EXPECT_TRUE(IsZoomed(frame->hwnd()));
  // Restoring goes back to the saved normal position.
  ShowWindow(frame->hwnd(), SW_RESTORE);
  RECT r;
  GetWindowRect(frame->hwnd(), &r);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.left, 60 + work.left);
  EXPECT_EQ(r.bottom, 550 + work.top);
}

TEST_F(MainFrameTest, FilterCommandsToggleRowsCheckMarksAndButtons) {
  root.add(event("read", EVS_READ, true));
  root.add(event("failed", EVS_FAILED, true));
  root.add(event("cancelled", EVS_CANCELLED, true));
  root.add(event("unread", EVS_UNREAD, true));
  root.add(event("sent", EVS_SENT, false));
  ASSERT_TRUE(open());
  HMENU menu = GetMenu(frame->hwnd());
  ASSERT_NE(menu, nullptr);
  const std::set<std::string> all = {"read", "failed", "cancelled", "unread"};
  EXPECT_EQ(rowset(), all);

  static const struct {
    unsigned id;
    DWORD bit;
    std::set<std::string> hidden;   // in the Inbox while the bit is off
  } cases[] = {
      {ID_VIEW_READ, 4, {"read"}},
      {ID_VIEW_FAILED, 16, {"failed", "cancelled"}},
      {ID_VIEW_SENT, 8, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    for (int pass = 0; pass < 2; ++pass) {
      bool on = pass == 1;   // the first toggle turns the bit off
      command(c.id);
      frame->idleupdate();
      EXPECT_EQ((list().Filter & c.bit) != 0, on);
      std::set<std::string> want;
      for (const std::string& s : all)
        if (on || !c.hidden.count(s)) want.insert(s);
      EXPECT_EQ(rowset(), want);
      UINT state = menustate(menu, c.id);
      EXPECT_EQ((state & MF_CHECKED) != 0, on);
      EXPECT_EQ(state & MF_GRAYED, 0u);
      EXPECT_EQ((frame->ToolBar().ButtonState(c.id) & TBSTATE_CHECKED) != 0, on);
      EXPECT_NE(frame->ToolBar().ButtonState(c.id) & TBSTATE_ENABLED, 0u);
    }
  }

  // The Outbox shows the outgoing event, which the Sent bit hides.
  uitreeview_c& tree = frame->TreePane();
  tree.selectitem(tree.nextsibling(tree.childitem(tree.rootitem())));
  uitest::pump();
  EXPECT_EQ(list().Filter & 3, 2u);
  EXPECT_EQ(rows(), std::vector<std::string>{"sent"});
  command(ID_VIEW_SENT);
  EXPECT_TRUE(rows().empty());
  // A group node shows nothing; the Inbox comes back with its rows.
  tree.selectitem(tree.rootitem());
  uitest::pump();
  EXPECT_TRUE(rows().empty());
  tree.selectitem(tree.childitem(tree.rootitem()));
  uitest::pump();
  EXPECT_EQ(rowset(), all);
}

TEST_F(MainFrameTest, APersonalFolderShowsBothDirectionsAndAFolderThatCannotBeOpenedNothing) {
  root.add(event("inbox only", EVS_READ, true));
  ASSERT_TRUE(open());
  scratchdir_c folder;
  ASSERT_TRUE(makeusermailbox(folder.path(), root.user.c_str(), "Personal Mailbox"));
  {
    mailboxfile_c personal;
    ASSERT_TRUE(personal.open(folder.file("mailbox.rlb").c_str()));
    eventrecord in = event("kept in", EVS_READ, true), out = event("kept out", EVS_SENT, false);
    ASSERT_TRUE(personal.addevent(&in));
    ASSERT_TRUE(personal.addevent(&out));
  }
  const std::set<std::string> kept = {"kept in", "kept out"};
  for (const std::string& dir : {folder.path(), folder.path() + "\\"}) {
    SCOPED_TRACE(dir);
    frame->ShowFolder(dir.c_str());
    EXPECT_EQ(list().Filter & 3, 3u);
    EXPECT_EQ(list().PersonalOpen(), 1);
    EXPECT_EQ(rowset(), kept);
  }
  frame->ShowFolder((folder.path() + "\\gone").c_str());
  EXPECT_EQ(list().Filter & 3, 0u);
  EXPECT_EQ(list().itemcount(), 0);
  EXPECT_TRUE(boxes.boxes.empty());

  frame->ShowInbox();
  EXPECT_EQ(list().PersonalOpen(), 0);
  EXPECT_EQ(list().Filter & 3, 1u);
  EXPECT_EQ(rows(), std::vector<std::string>{"inbox only"});
}

// Which commands are enabled follows the selection and the open mailbox, in the menu, on the
// toolbar and in the notification-area menu alike; a disabled command that arrives all the same
// (an accelerator, a posted message) is not run.
TEST_F(MainFrameTest, CommandsAreEnabledByTheSelectionAndTheOpenMailbox) {
  root.add(event("one", EVS_READ, true));
  root.add(event("two", EVS_READ, true));
  ASSERT_TRUE(open());
  scratchdir_c folder;
  ASSERT_TRUE(makeusermailbox(folder.path(), root.user.c_str(), "Personal Mailbox"));
  {
    mailboxfile_c personal;
    ASSERT_TRUE(personal.open(folder.file("mailbox.rlb").c_str()));
    eventrecord in = event("filed", EVS_READ, true);
    ASSERT_TRUE(personal.addevent(&in));
  }
  const unsigned always[] = {ID_OPEN_MANAGER, ID_NEW_FAX,   ID_EXPORT_LOG, ID_HELP_CONTENTS, ID_VIEW_REFRESH,
                             ID_VIEW_SENT,    ID_VIEW_READ, ID_VIEW_FAILED, ID_OPTIONS,      ID_FOLDER_NEW,
                             ID_APP_ABOUT,    ID_APP_EXIT,  uiid_toolbar,  uiid_statusbar};
  const unsigned one[] = {ID_EVENT_VIEW, ID_EVENT_PRINT, ID_EVENT_DETAILS, ID_EVENT_FORWARD};
  const unsigned own[] = {ID_EVENT_ROUTE, ID_EVENT_RESUBMIT};
  const unsigned any[] = {ID_EVENT_DELETE, ID_EVENT_MOVE};
  struct situation {
    const char* what;
    bool personal;
    int selected;
    bool oneon, ownon, anyon;
  };
  const situation situations[] = {
      {"inbox, nothing selected", false, 0, false, false, false},
      {"inbox, one selected", false, 1, true, true, true},
      {"inbox, two selected", false, 2, false, true, true},
      {"personal folder, one selected", true, 1, true, false, true},
  };
  HMENU menu = GetMenu(frame->hwnd());
  auto expectstate = [&](unsigned id, bool on) {
    EXPECT_EQ(frame->querycommand(id).enabled, on) << id;
    UINT state = menustate(menu, id);
    if (state != (UINT)-1) {
      EXPECT_EQ((state & MF_GRAYED) == 0, on) << id;
    }
    if (SendMessageA(frame->ToolBar().control(), TB_COMMANDTOINDEX, id, 0) >= 0) {
      EXPECT_EQ((frame->ToolBar().ButtonState(id) & TBSTATE_ENABLED) != 0, on) << id;
    }
  };
  for (const situation& s : situations) {
    SCOPED_TRACE(s.what);
    if (s.personal) {
      frame->ShowFolder(folder.path().c_str());
    } else {
      frame->ShowInbox();
    }
    for (int row = 0; row < list().itemcount(); ++row)
      list().setitemstate(row, row < s.selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    ASSERT_EQ(list().selectedcount(), s.selected);
    frame->idleupdate();
    for (unsigned id : always) expectstate(id, true);
    for (unsigned id : one) expectstate(id, s.oneon);
    for (unsigned id : own) expectstate(id, s.ownon);
    for (unsigned id : any) expectstate(id, s.anyon);
    // Inbox is selected in the tree: there is no folder to delete.
    expectstate(ID_FOLDER_DELETE, false);
  }
  // The notification-area menu is answered the same way.
  HMENU traymenu = LoadMenuA(uiresourcemodule(), MAKEINTRESOURCEA(IDR_TRAYMENU));
  ASSERT_NE(traymenu, nullptr);
  for (unsigned id : {ID_OPEN_MANAGER, ID_APP_EXIT, ID_NEW_FAX, ID_OPTIONS}) {
    EXPECT_NE(menustate(traymenu, id), (UINT)-1) << id;
    EXPECT_TRUE(frame->querycommand(id).enabled) << id;
  }
  DestroyMenu(traymenu);

  // Delete with nothing selected, from the keyboard: no question, nothing deleted.
  frame->ShowInbox();
  for (int row = 0; row < list().itemcount(); ++row) list().setitemstate(row, 0, LVIS_SELECTED);
  command(ID_EVENT_DELETE);
  EXPECT_EQ(rowset(), (std::set<std::string>{"one", "two"}));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainFrameTest, ScansNotifyWithBoxesAndBeepWhileHiddenAndAlwaysWithTheIcon) {
  inisections_c::set("Options", "BeepNew", "1");
  int unread = root.add(event("first unread", EVS_UNREAD, true));
  ASSERT_TRUE(open());
  ASSERT_FALSE(IsWindowVisible(frame->hwnd()));
  // The start reports the unread event that is there.
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, loaded(IDS_NOTIFY_NEW));
  EXPECT_EQ(boxes.boxes[0].caption, "Ravelink");
  EXPECT_EQ(boxes.boxes[0].type, (UINT)(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(boxes.boxes[0].owner, frame->hwnd());
  EXPECT_EQ(beeps, 1);

  const std::string newtext = loaded(IDS_NOTIFY_NEW), failedtext = loaded(IDS_NOTIFY_FAILED);
  struct step {
    const char* what;
    std::function<void()> change;
    std::vector<std::string> boxes;
    int beeps;
    unsigned tray;
  };
  const step steps[] = {
      {"nothing new", [] {}, {}, 0, IDI_TRAY_UNREAD},
      {"a failed event", [&] { root.add(event("failed", EVS_FAILED, false)); }, {failedtext}, 0, IDI_TRAY_BOTH},
      {"no further failure: the failed icon goes", [] {}, {}, 0, IDI_TRAY_UNREAD},
      {"one read, one new: still one unread",
       [&] {
         root.setstate(unread, EVS_READ);
         unread = root.add(event("second unread", EVS_UNREAD, true));
       },
       {}, 0, IDI_TRAY_UNREAD},
      {"own texts, failed boxes off",
       [&] {
         inisections_c::set("Options", "MessageNew", "A fax for you");
         inisections_c::set("Options", "PopupFailed", "0");
         root.add(event("third unread", EVS_UNREAD, true));
         root.add(event("failed again", EVS_FAILED, false));
       },
       {"A fax for you"}, 1, IDI_TRAY_BOTH},
      {"boxes and beep off",
       [&] {
         inisections_c::set("Options", "PopupNew", "0");
         inisections_c::set("Options", "BeepNew", "0");
         inisections_c::set("Options", "PopupFailed", "1");
         inisections_c::set("Options", "MessageFailed", "Failed, sorry");
         root.add(event("fourth unread", EVS_UNREAD, true));
         root.add(event("failed once more", EVS_FAILED, false));
       },
       {"Failed, sorry"}, 0, IDI_TRAY_BOTH},
      {"all read", [&] {
         mailboxfile_c f;
         eventrecord r;
         ASSERT_TRUE(f.open(root.file.c_str()));
         for (int slot = f.firstevent(&r); slot; slot = f.nextevent(&r))
           if (r.state == EVS_UNREAD) root.setstate(slot, EVS_READ);
       }, {}, 0, IDI_TRAY},
  };
  for (const step& s : steps) {
    SCOPED_TRACE(s.what);
    boxes.boxes.clear();
    beeps = 0;
    s.change();
    scan();
    std::vector<std::string> texts;
    for (const auto& b : boxes.boxes) texts.push_back(b.text);
    EXPECT_EQ(texts, s.boxes);
    EXPECT_EQ(beeps, s.beeps);
    EXPECT_EQ(traytip(frame->TrayIcon()), loaded(s.tray));
    EXPECT_TRUE(trayshows(frame->TrayIcon(), s.tray));
  }

  // Only timer 1 scans.
  boxes.boxes.clear();
  inisections_c::set("Options", "PopupNew", "1");
  root.add(event("late unread", EVS_UNREAD, true));
  scan(7);
  EXPECT_TRUE(boxes.boxes.empty());
  command(ID_VIEW_REFRESH);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(rowset().count("late unread"), 1u);
}

TEST_F(MainFrameTest, OnScreenOnlyTheIconChangesUntilTheWindowIsMinimized) {
  inisections_c::set("Options", "BeepNew", "1");
  ASSERT_TRUE(open());
  frame->FirstShow(SW_SHOWNORMAL);
  settle();
  ASSERT_TRUE(IsWindowVisible(frame->hwnd()));
  EXPECT_EQ(traytip(frame->TrayIcon()), loaded(IDS_TRAY));
  boxes.boxes.clear();
  beeps = 0;

  root.add(event("unread", EVS_UNREAD, true));
  root.add(event("failed", EVS_FAILED, false));
  scan();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(beeps, 0);
  EXPECT_EQ(traytip(frame->TrayIcon()), loaded(IDS_TRAY_BOTH));

  ShowWindow(frame->hwnd(), SW_SHOWMINNOACTIVE);
  uitest::pump();
  ASSERT_TRUE(IsIconic(frame->hwnd()));
  root.add(event("unread too", EVS_UNREAD, true));
  scan();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, loaded(IDS_NOTIFY_NEW));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(traytip(frame->TrayIcon()), loaded(IDS_TRAY_UNREAD));
}

TEST_F(MainFrameTest, MinimizedTheWindowHidesAndTheIconBringsItBack) {
  static const struct {
    DWORD major;
    bool hides;
  } cases[] = {{6, true}, {3, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.major);
    ASSERT_TRUE(open(c.major));
    EXPECT_EQ(frame->HideOnMinimize, c.hides ? 1 : 0);
    frame->FirstShow(SW_SHOWNORMAL);
    SetForegroundWindow(frame->hwnd());
    settle();
    ShowWindow(frame->hwnd(), SW_MINIMIZE);
    settle();
    EXPECT_TRUE(IsIconic(frame->hwnd()));
    EXPECT_EQ(IsWindowVisible(frame->hwnd()) != 0, !c.hides);

    // A double click on the notification-area icon opens the Manager in its normal state.
    SendMessageA(frame->hwnd(), CMainFrame::TrayMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    settle();
    EXPECT_TRUE(IsWindowVisible(frame->hwnd()));
    EXPECT_FALSE(IsIconic(frame->hwnd()));
    frame.reset();
  }
}

TEST_F(MainFrameTest, ClosingTheWindowStopsTheScanAndRemovesTheIcon) {
  ASSERT_TRUE(open());
  EXPECT_NE(frame->TrayIcon().record().hIcon, nullptr);
  SendMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(frame->exists());
  EXPECT_EQ(frame->ScanPeriod(), 0u);
  EXPECT_EQ(frame->TrayIcon().record().hIcon, nullptr);
  EXPECT_NE(windowpos(), "");
}

}  // namespace
