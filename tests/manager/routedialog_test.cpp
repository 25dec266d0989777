// The "Route events..." dialog on a real mailbox root: the Windows user's own mailbox and those of
// colleagues, each a folder with its mailbox.rlb. The real event list opens the user's mailbox;
// the dialog comes from the program's own resources and runs modally, driven by a script posted
// into its modal loop with the messages a user's clicks produce. What the lists draw is captured
// into a bitmap through WM_PRINTCLIENT; what routing did is read back from the mailbox file.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "manager/eventlist.h"
#include "manager/res/resource.h"
#include "manager/routedialog.h"
#include "manager/ui/uicontrol.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"
#include "tests/support/usermailbox.h"

namespace {

const UINT WM_SCRIPT = WM_APP + 44;
const unsigned LISTID = 100;

// The real dialog with a script that runs once it has started. A script that leaves the dialog
// open is ended for it (IDABORT), so no test can hang in the modal loop.
class probe_c : public CRouteDlg {
public:
  using CRouteDlg::CRouteDlg;
  std::function<void(probe_c&)> script;
  bool scriptran = false;

  std::vector<std::string> items(int id) const {
    std::vector<std::string> out;
    HWND list = item(id);
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[300] = "";
      if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    return out;
  }
  std::vector<std::string> selected(int id) const {
    std::vector<std::string> out, all = items(id);
    for (size_t i = 0; i < all.size(); ++i)
      if (SendDlgItemMessageA(hwnd(), id, LB_GETSEL, i, 0) > 0) out.push_back(all[i]);
    return out;
  }
  // Selects exactly these items, as ctrl-clicks would.
  void choose(int id, const std::vector<std::string>& names) {
    SendDlgItemMessageA(hwnd(), id, LB_SETSEL, FALSE, -1);
    for (const std::string& name : names) {
      LRESULT at = SendDlgItemMessageA(hwnd(), id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
      ASSERT_NE(at, LB_ERR) << name;
      SendDlgItemMessageA(hwnd(), id, LB_SETSEL, TRUE, at);
    }
  }
  void press(int id) { SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id))); }
  bool open() const { return hwnd() && IsWindow(hwnd()) && !ending(); }

protected:
  bool OnInit() override {
    bool focus = CRouteDlg::OnInit();
    PostMessageA(hwnd(), WM_SCRIPT, 0, 0);
    return focus;
  }
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override {
    if (msg != WM_SCRIPT) return CRouteDlg::OnMessage(msg, wparam, lparam, result);
    scriptran = true;
    if (script) script(*this);
    if (!ending()) enddialog(IDABORT);
    result = TRUE;
    return true;
  }
};

LRESULT CALLBACK parentproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  LRESULT reflected = 0;
  if (uireflect(hwnd, msg, wparam, lparam, reflected)) return reflected;
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

const char* parentclass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentproc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RouteDialogTestParent";
    registered = RegisterClassA(&wc) != 0;
  }
  return "RouteDialogTestParent";
}

eventrecord incoming(const char* subject) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.state = EVS_READ;
  r.flags = EV_INCOMING;
  r.year = 2024;
  r.month = 5;
  r.day = 14;
  r.hour = 9;
  r.minute = 41;
  setfield(r.subject, subject, EV_SUBJECTMAX);
  setfield(r.sendername, "Acme Sales", EV_TEXTMAX);
  setfield(r.senderaddress, "+49 30 5550100", EV_TEXTMAX);
  return r;
}

// The slots in use of a mailbox file, with their records.
std::vector<std::pair<int, eventrecord>> events(const std::string& path) {
  std::vector<std::pair<int, eventrecord>> out;
  mailboxfile_c file;
  if (!file.open(path.c_str())) return out;
  eventrecord r;
  for (int slot = file.firstevent(&r); slot; slot = file.nextevent(&r)) out.push_back({slot, r});
  return out;
}

int addevent(const std::string& path, const eventrecord& r) {
  mailboxfile_c file;
  if (!file.open(path.c_str())) return 0;
  return file.addevent(&r);
}

std::string text(const char* field, int size) {
  char out[300] = "";
  fieldtext(field, size, out, sizeof out);
  return out;
}

// A bitmap the list paints itself into, as it would onto the screen.
class capture_c {
public:
  capture_c(HWND list, COLORREF ground) {
    GetClientRect(list, &client);
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    before = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(ground);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
  }
  ~capture_c() {
    SelectObject(dc, before);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  capture_c(const capture_c&) = delete;
  capture_c& operator=(const capture_c&) = delete;
  COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
  // The first and last x of a row that have the colour; -1, -1 when none has.
  std::pair<int, int> span(int y, COLORREF colour) const {
    int first = -1, last = -1;
    for (int x = 0; x < client.right; ++x)
      if (at(x, y) == colour) {
        if (first < 0) first = x;
        last = x;
      }
    return {first, last};
  }
  RECT client = {};
  HDC dc = nullptr;

private:
  HBITMAP bitmap = nullptr;
  HGDIOBJ before = nullptr;
};

// The width of a text in a window's font.
int textwidth(HWND window, const std::string& text) {
  HDC dc = GetDC(window);
  HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, before);
  ReleaseDC(window, dc);
  return size.cx;
}

class RouteDialog : public ::testing::Test {
protected:
  void SetUp() override {
    setmessageboxcaption("Ravelink Manager");
    root = scratch.path() + "\\mailboxes";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    char name[256];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    own = root + "\\owner\\mailbox.rlb";
    ASSERT_TRUE(makeusermailbox(root + "\\owner", name, "Owner@RaveLink"));
    ASSERT_TRUE(makeusermailbox(root + "\\bob", "bob", "bob@ravelink"));
    ASSERT_TRUE(makeusermailbox(root + "\\carol", "carol", "Carol"));
    ASSERT_TRUE(makeusermailbox(root + "\\alice", "alice", "alice@RAVELINK"));
    // Neither a hidden folder nor a folder without a mailbox offers a candidate.
    ASSERT_TRUE(makeusermailbox(root + "\\.old", "old", "old@ravelink"));
    ASSERT_TRUE(CreateDirectoryA((root + "\\empty").c_str(), nullptr));

    parent = CreateWindowExA(0, parentclass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    RECT r = {0, 0, 760, 360};
    ASSERT_TRUE(list.Create(parent, LISTID, r));
    list.Filter = CManListCtrl::FILTER_INCOMING | CManListCtrl::FILTER_OUTGOING | CManListCtrl::FILTER_READ |
                  CManListCtrl::FILTER_SENT | CManListCtrl::FILTER_FAILED;
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }

  void selectrows(const std::vector<int>& rows) {
    ListView_SetItemState(list.hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows) ListView_SetItemState(list.hwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
  }

  INT_PTR run(probe_c& dialog) {
    INT_PTR result = dialog.domodal(parent);
    EXPECT_TRUE(dialog.scriptran);
    return result;
  }

  scratchdir_c scratch;
  std::string root, own;
  HWND parent = nullptr;
  CManListCtrl list;
};

const std::vector<std::string> candidates = {"alice@RAVELINK", "bob@ravelink", "Carol", "Owner@RaveLink"};

// Every user mailbox beside the open one is a candidate, the user's own too, sorted; moving two
// there and back leaves both lists as they were, each sorted, and the moved items selected.
TEST_F(RouteDialog, CandidatesMoveToTargetsAndBack) {
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  probe_c dialog(list);
  std::vector<std::string> users, targets, chosen, usersafter, back, backselected, targetsafter;
  dialog.script = [&](probe_c& d) {
    users = d.items(IDC_ROUTE_USERS);
    targets = d.items(IDC_ROUTE_TARGETS);
    d.choose(IDC_ROUTE_USERS, {"Owner@RaveLink", "bob@ravelink"});
    d.press(IDC_ROUTE_ADD);
    usersafter = d.items(IDC_ROUTE_USERS);
    targets = d.items(IDC_ROUTE_TARGETS);
    chosen = d.selected(IDC_ROUTE_TARGETS);
    // Without a selection the button does nothing.
    d.choose(IDC_ROUTE_USERS, {});
    d.press(IDC_ROUTE_ADD);
    d.choose(IDC_ROUTE_TARGETS, {"bob@ravelink", "Owner@RaveLink"});
    d.press(IDC_ROUTE_REMOVE);
    back = d.items(IDC_ROUTE_USERS);
    backselected = d.selected(IDC_ROUTE_USERS);
    targetsafter = d.items(IDC_ROUTE_TARGETS);
    d.press(IDCANCEL);
  };
  EXPECT_EQ(run(dialog), IDCANCEL);
  EXPECT_EQ(users, candidates);
  EXPECT_EQ(usersafter, (std::vector<std::string>{"alice@RAVELINK", "Carol"}));
  EXPECT_EQ(targets, (std::vector<std::string>{"bob@ravelink", "Owner@RaveLink"}));
  EXPECT_EQ(chosen, targets);
  EXPECT_EQ(back, candidates);
  EXPECT_EQ(backselected, (std::vector<std::string>{"bob@ravelink", "Owner@RaveLink"}));
  EXPECT_TRUE(targetsafter.empty());
}

// A name ending in "@ravelink" in any case is drawn without that ending: the highlighted box
// runs from 2 pixels into the row to the shown text's width plus 8, and the text inside it is in
// the highlight text colour. The full name stays the item's text.
TEST_F(RouteDialog, DrawsNamesWithoutTheHiddenEnding) {
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  probe_c dialog(list);
  struct drawn {
    std::string name, shown;
    RECT row;
    std::pair<int, int> box;
    int boxheight;            // highlighted pixels down the box's first column
    bool highlighttext;       // a pixel of the highlight text colour inside the box
    bool highlightbeyond;     // any highlight right of the box
    int width, fullwidth;
  };
  std::vector<drawn> seen;
  std::string caretname;
  RECT caretbox = {-1, -1, -1, -1};
  int focusedge = 0, focuselsewhere = 0;
  const COLORREF ground = RGB(1, 2, 3);
  dialog.script = [&](probe_c& d) {
    HWND users = d.item(IDC_ROUTE_USERS);
    d.choose(IDC_ROUTE_USERS, candidates);
    // Without the focus the list draws no focus rectangle over the boxes.
    SetFocus(d.item(IDCANCEL));
    capture_c picture(users, ground);
    const COLORREF highlight = GetNearestColor(picture.dc, GetSysColor(COLOR_HIGHLIGHT));
    const COLORREF highlighttext = GetNearestColor(picture.dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    for (const std::string& name : {std::string("alice@RAVELINK"), std::string("Owner@RaveLink"),
                                    std::string("bob@ravelink"), std::string("Carol")}) {
      drawn one;
      one.name = name;
      one.shown = name.substr(0, CRouteDlg::ShownLength(name.c_str()));
      LRESULT index = SendMessageA(users, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(name.c_str()));
      SendMessageA(users, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&one.row));
      one.box = picture.span(one.row.top + 1, highlight);
      one.boxheight = 0;
      for (int y = one.row.top; y < one.row.bottom; ++y) one.boxheight += picture.at(one.row.left + 2, y) == highlight;
      one.highlighttext = false;
      for (int y = one.row.top + 1; y < one.row.bottom; ++y)
        for (int x = one.box.first; x >= 0 && x <= one.box.second; ++x)
          one.highlighttext = one.highlighttext || picture.at(x, y) == highlighttext;
      one.highlightbeyond = false;
      for (int y = one.row.top; y < one.row.bottom; ++y)
        for (int x = one.box.second + 1; x < picture.client.right; ++x)
          one.highlightbeyond = one.highlightbeyond || picture.at(x, y) == highlight;
      one.width = textwidth(users, one.shown);
      one.fullwidth = textwidth(users, name);
      seen.push_back(one);
    }
    // With the focus, the item with the caret gets a focus rectangle on its box's edge and
    // nowhere else.
    LRESULT caret = SendMessageA(users, LB_GETCARETINDEX, 0, 0);
    caretname = caret >= 0 ? d.items(IDC_ROUTE_USERS)[static_cast<size_t>(caret)] : "";
    SetFocus(users);
    capture_c focused(users, ground);
    for (const drawn& one : seen) {
      if (one.name != caretname) continue;
      caretbox = {one.box.first, one.row.top + 1, one.box.second + 1, one.row.bottom};
    }
    for (int y = 0; y < picture.client.bottom; ++y)
      for (int x = 0; x < picture.client.right; ++x) {
        if (picture.at(x, y) == focused.at(x, y)) continue;
        bool edge = (x == caretbox.left || x == caretbox.right - 1) && y >= caretbox.top && y < caretbox.bottom;
        edge = edge || ((y == caretbox.top || y == caretbox.bottom - 1) && x >= caretbox.left && x < caretbox.right);
        ++(edge ? focusedge : focuselsewhere);
      }
    d.press(IDCANCEL);
  };
  EXPECT_EQ(run(dialog), IDCANCEL);
  EXPECT_FALSE(caretname.empty());
  EXPECT_GT(focusedge, 0);
  EXPECT_EQ(focuselsewhere, 0);
  ASSERT_EQ(seen.size(), 4u);
  const char* shown[] = {"alice", "Owner", "bob", "Carol"};
  for (size_t i = 0; i < seen.size(); ++i) {
    const drawn& d = seen[i];
    SCOPED_TRACE(d.name);
    EXPECT_EQ(d.shown, shown[i]);
    EXPECT_EQ(d.box.first, d.row.left + 2);
    EXPECT_EQ(d.box.second, d.row.left + 2 + d.width + 8 - 1);
    EXPECT_EQ(d.boxheight, d.row.bottom - d.row.top - 1);
    EXPECT_TRUE(d.highlighttext);
    EXPECT_FALSE(d.highlightbeyond);
  }
  // The full name would have made a wider box.
  EXPECT_GT(seen[0].fullwidth, seen[0].width);
}

// OK with nothing in "Route to:" does nothing and the dialog stays open, the mailbox untouched.
// A list with no mailbox open has no folder to look in: no candidates at all, and OK still waits.
TEST_F(RouteDialog, OkWithoutTargetsStaysOpen) {
  ASSERT_EQ(addevent(own, incoming("Offer")), 1);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  selectrows({0});
  std::string before = readwhole(own);
  probe_c dialog(list);
  bool stayedopen = false;
  dialog.script = [&](probe_c& d) {
    d.press(IDOK);
    stayedopen = d.open();
    d.press(IDCANCEL);
  };
  EXPECT_EQ(run(dialog), IDCANCEL);
  EXPECT_TRUE(stayedopen);
  EXPECT_EQ(readwhole(own), before);

  CManListCtrl unopened;
  probe_c nothing(unopened);
  std::vector<std::string> users = {"?"};
  stayedopen = false;
  nothing.script = [&](probe_c& d) {
    users = d.items(IDC_ROUTE_USERS);
    d.press(IDOK);
    stayedopen = d.open();
    d.press(IDCANCEL);
  };
  EXPECT_EQ(run(nothing), IDCANCEL);
  EXPECT_TRUE(users.empty());
  EXPECT_TRUE(stayedopen);
}

// The folder of user mailboxes is the parent of the open mailbox's folder; a folder without a
// parent gives none (never the current drive's root).
TEST(RouteDialogRoot, ParentOfTheOpenMailboxFolder) {
  const struct {
    const char* storedir;
    const char* root;
  } cases[] = {{"C:\\mail\\owner\\", "C:\\mail\\"},
               {"C:\\mail\\owner", "C:\\mail\\"},
               {"\\\\server\\share\\owner\\", "\\\\server\\share\\"},
               {"C:\\owner\\", "C:\\"},
               {"C:\\", ""},
               {"owner", ""},
               {"", ""}};
  for (const auto& c : cases) EXPECT_STREQ(CRouteDlg::CandidateRoot(c.storedir).text(), c.root) << c.storedir;
  EXPECT_STREQ(CRouteDlg::CandidateRoot(nullptr).text(), "");
}

// OK routes every selected event to each target, from the last target to the first and with the
// target's full name, then deletes the routed events and reloads: the route requests are new
// outgoing Pending events in the user's own mailbox; the event that was not selected stays.
TEST_F(RouteDialog, OkRoutesToEachTargetLastToFirstThenDeletesTheSources) {
  ASSERT_EQ(addevent(own, incoming("First offer")), 1);
  ASSERT_EQ(addevent(own, incoming("Second offer")), 2);
  ASSERT_EQ(addevent(own, incoming("Keep me")), 3);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  selectrows({list.FindRow(1), list.FindRow(2)});
  ASSERT_EQ(list.SelectedSlots().size(), 2u);
  probe_c dialog(list);
  dialog.script = [&](probe_c& d) {
    d.choose(IDC_ROUTE_USERS, {"bob@ravelink", "Carol"});
    d.press(IDC_ROUTE_ADD);
    d.press(IDOK);
  };
  EXPECT_EQ(run(dialog), IDOK);

  std::vector<std::pair<int, eventrecord>> left = events(own);
  std::vector<int> slots;
  for (const auto& e : left) slots.push_back(e.first);
  EXPECT_EQ(slots, (std::vector<int>{3, 4, 5, 6, 7}));
  if (left.size() != 5u) return;
  EXPECT_EQ(text(left[0].second.subject, sizeof left[0].second.subject), "Keep me");
  const struct {
    const char* address;
    const char* name;
  } expected[] = {{"Carol", "Carol"}, {"Carol", "Carol"}, {"bob@ravelink", "bob"}, {"bob@ravelink", "bob"}};
  std::vector<std::string> subjects[2];
  for (int i = 0; i < 4; ++i) {
    const eventrecord& r = left[static_cast<size_t>(i) + 1].second;
    SCOPED_TRACE(i + 4);
    EXPECT_TRUE(r.flags & EV_ROUTE);
    EXPECT_FALSE(r.flags & EV_INCOMING);
    EXPECT_EQ(r.state, EVS_PENDING);
    EXPECT_EQ(text(r.recipientaddress, sizeof r.recipientaddress), expected[i].address);
    EXPECT_EQ(text(r.recipientname, sizeof r.recipientname), expected[i].name);
    subjects[i / 2].push_back(text(r.subject, sizeof r.subject));
  }
  for (auto& s : subjects) {
    std::sort(s.begin(), s.end());
    EXPECT_EQ(s, (std::vector<std::string>{"First offer", "Second offer"}));
  }
  // The list was reloaded: the routed events' rows are gone.
  EXPECT_EQ(list.FindRow(1), -1);
  EXPECT_EQ(list.FindRow(2), -1);
}

}  // namespace
