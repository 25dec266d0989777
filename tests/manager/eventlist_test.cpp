// The Manager's event list on real mailbox files: the real list control in a hidden parent
// window of the test's own, driven by the messages a user's actions produce, and read back from
// the control (LVM_GETITEMCOUNT, LVM_GETITEMTEXT, item data and images).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "manager/eventlist.h"
#include "manager/res/resource.h"
#include "manager/ui/managermessagebox.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"

namespace {

const unsigned LISTID = 100;
const UINT_PTR POLLTIMER = 7;

// ---- the parent window ----------------------------------------------------------------------

// What the parent saw, and what a test lets it do on the way.
struct parentlog {
  std::vector<unsigned> commands;   // WM_COMMAND ids without a control: menus and the list's
  std::vector<UINT> notifies;       // list notifications that reached the parent itself
  int measures = 0;                 // WM_MEASUREITEM of the list
  UINT measuredheight = 0;
  HMENU popup = nullptr;            // the last popup menu opened
  UINT defaultitem = 0;             // its default item's id
  std::vector<UINT> popupitems;     // its item ids (0 for separators)
  std::function<void(UINT)> onnotify;
  std::function<void()> ontimer;
  std::function<void(HWND)> onmenuidle;
};

LRESULT CALLBACK parentproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* log = reinterpret_cast<parentlog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  LRESULT reflected = 0;
  if (uireflect(hwnd, msg, wparam, lparam, reflected)) return reflected;
  if (!log) return DefWindowProcA(hwnd, msg, wparam, lparam);
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (CManListCtrl::MeasureItem(measure, GetDlgItem(hwnd, static_cast<int>(wparam)))) {
        ++log->measures;
        log->measuredheight = measure->itemHeight;
        return TRUE;
      }
      break;
    }
    case WM_COMMAND:
      if (lparam == 0) log->commands.push_back(LOWORD(wparam));
      return 0;
    case WM_NOTIFY: {
      UINT code = reinterpret_cast<const NMHDR*>(lparam)->code;
      log->notifies.push_back(code);
      if (log->onnotify) log->onnotify(code);
      return 0;
    }
    case WM_TIMER:
      if (wparam == POLLTIMER && log->ontimer) log->ontimer();
      return 0;
    case WM_INITMENUPOPUP: {
      HMENU menu = reinterpret_cast<HMENU>(wparam);
      log->popup = menu;
      log->defaultitem = GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED);
      log->popupitems.clear();
      for (int i = 0; i < GetMenuItemCount(menu); ++i) log->popupitems.push_back(GetMenuItemID(menu, i) + 0u);
      return 0;
    }
    case WM_ENTERIDLE:
      if (wparam == MSGF_MENU && log->onmenuidle) {
        auto idle = std::move(log->onmenuidle);
        log->onmenuidle = nullptr;
        idle(reinterpret_cast<HWND>(lparam));
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

const char* parentclass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentproc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "EventListTestParent";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    registered = RegisterClassA(&wc) != 0;
  }
  return "EventListTestParent";
}

// ---- mailbox files --------------------------------------------------------------------------

struct when {
  int year, month, day, hour, minute;
};

eventrecord makeevent(uint8_t state, bool incoming, const char* party, const char* subject,
                      when at = {2024, 3, 9, 19, 25}) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.state = state;
  r.flags = incoming ? static_cast<uint32_t>(EV_INCOMING) : 0u;
  r.year = static_cast<uint16_t>(at.year);
  r.month = static_cast<uint8_t>(at.month);
  r.day = static_cast<uint8_t>(at.day);
  r.hour = static_cast<uint8_t>(at.hour);
  r.minute = static_cast<uint8_t>(at.minute);
  setfield(r.subject, subject, EV_SUBJECTMAX);
  if (incoming) {
    setfield(r.sendername, party, EV_TEXTMAX);
    setfield(r.senderaddress, "+49 30 5550100", EV_TEXTMAX);
    setfield(r.recipientname, "should not show", EV_TEXTMAX);
  } else {
    setfield(r.sendername, "should not show", EV_TEXTMAX);
    setfield(r.recipientname, party, EV_TEXTMAX);
    setfield(r.recipientaddress, "+49 40 5550199", EV_TEXTMAX);
  }
  return r;
}

// Another party on the same file: every call opens and closes it, as another program would.
int addevent(const std::string& path, const eventrecord& r) {
  mailboxfile_c file;
  if (!file.open(path.c_str())) return 0;
  return file.addevent(&r);
}

eventrecord readevent(const std::string& path, int slot) {
  eventrecord r;
  memset(&r, 0xEE, sizeof r);
  mailboxfile_c file;
  if (!file.open(path.c_str()) || !file.readevent(&r, slot)) ADD_FAILURE() << "slot " << slot << " unreadable";
  return r;
}

void setstate(const std::string& path, int slot, uint8_t state) {
  eventrecord r = readevent(path, slot);
  r.state = state;
  mailboxfile_c file;
  ASSERT_TRUE(file.open(path.c_str()) && file.updateevent(&r, slot)) << slot;
}

void freeevent(const std::string& path, int slot) {
  mailboxfile_c file;
  ASSERT_TRUE(file.open(path.c_str()) && file.freeevent(slot)) << slot;
}

std::string upper(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

// ---- reading the control back ---------------------------------------------------------------

struct shownrow {
  int slot;
  int image;
  std::string cells[CManListCtrl::COLUMNS];
};

std::string celltext(HWND list, int row, int column) {
  std::vector<char> buffer(1024, '\0');
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer.data();
}

std::vector<shownrow> readrows(HWND list) {
  std::vector<shownrow> rows;
  int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM | LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    shownrow shown;
    shown.slot = static_cast<int>(item.lParam);
    shown.image = item.iImage;
    for (int column = 0; column < CManListCtrl::COLUMNS; ++column) shown.cells[column] = celltext(list, row, column);
    rows.push_back(shown);
  }
  return rows;
}

std::vector<std::string> column(const std::vector<shownrow>& rows, int c) {
  std::vector<std::string> out;
  for (const shownrow& r : rows) out.push_back(r.cells[c]);
  return out;
}

std::map<int, std::string> subjectsbyslot(HWND list) {
  std::map<int, std::string> out;
  for (const shownrow& r : readrows(list)) out[r.slot] = r.cells[CManListCtrl::COLUMN_SUBJECT];
  return out;
}

const char* const englishstates[EVS_COUNT] = {"Pending", "Sent",   "Unread",  "Read",
                                              "Failed",  "Queued", "Working", "Cancelled"};

// ---- the fixture ----------------------------------------------------------------------------

class EventListTest : public ::testing::Test {
protected:
  void SetUp() override {
    setmessageboxcaption("Ravelink Manager");
    root = scratch.path() + "\\mailboxes";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    char name[256];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    user = name;
    ASSERT_FALSE(user.empty());
    // The account name in another case: the look-up ignores it.
    own = makemailbox(root, "owner", upper(user));
    makemailbox(root, "colleague", "someone.else");
    parent = CreateWindowExA(0, parentclass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    SetWindowLongPtrA(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
    ASSERT_TRUE(makelist(list, LISTID));
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }

  bool makelist(CManListCtrl& l, unsigned id) {
    RECT r = {0, 0, 760, 360};
    return l.Create(parent, id, r);
  }

  // A user's mailbox: a folder below the root with mailbox.rlb, owned by account.
  std::string makemailbox(const std::string& under, const std::string& folder, const std::string& account) {
    std::string dir = under + "\\" + folder;
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "\\mailbox.rlb";
    mailboxfile_c file;
    EXPECT_TRUE(file.create(path.c_str(), (folder + "@ravelink").c_str()));
    file.close();
    mailboxheader header;
    EXPECT_TRUE(peek(path, 0, &header, sizeof header));
    setfield(header.loginname, account.c_str());
    EXPECT_TRUE(poke(path, 0, &header, sizeof header));
    return path;
  }

  static bool peek(const std::string& path, LONG offset, void* bytes, DWORD size) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    bool ok = SetFilePointer(h, offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              ReadFile(h, bytes, size, &got, nullptr) && got == size;
    CloseHandle(h);
    return ok;
  }
  static bool poke(const std::string& path, LONG offset, const void* bytes, DWORD size) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = SetFilePointer(h, offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              WriteFile(h, bytes, size, &put, nullptr) && put == size;
    CloseHandle(h);
    return ok;
  }

  // LVN_COLUMNCLICK as the list sends it to its parent when a heading is clicked.
  void clickcolumn(int c) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list.hwnd();
    click.hdr.idFrom = LISTID;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = c;
    SendMessageA(parent, WM_NOTIFY, LISTID, reinterpret_cast<LPARAM>(&click));
  }

  POINT rowcentre(int row) {
    RECT r = {};
    r.left = LVIR_BOUNDS;
    SendMessageA(list.hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return p;
  }

  void selectrow(int row) {
    ListView_SetItemState(list.hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list.hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }

  int rowcount() { return static_cast<int>(SendMessageA(list.hwnd(), LVM_GETITEMCOUNT, 0, 0)); }

  scratchdir_c scratch;
  std::string root, user, own;
  parentlog log;
  HWND parent = nullptr;
  CManListCtrl list;
};

// ---- opening --------------------------------------------------------------------------------

TEST_F(EventListTest, OpensTheUsersOwnMailboxByAccountName) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "Acme Sales", "Offer")), 1);
  ASSERT_EQ(addevent(root + "\\colleague\\mailbox.rlb", makeevent(EVS_SENT, false, "Nobody", "Not ours")), 1);

  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  EXPECT_STREQ(list.UserMailboxFile(), own.c_str());
  EXPECT_STREQ(list.ServerMailboxDir(), root.c_str());
  EXPECT_STREQ(list.StoreDir(), (root + "\\owner\\").c_str());
  EXPECT_EQ(list.PersonalOpen(), 0);

  // The main window's title names the mailbox's owner as the mailbox has it.
  char title[256] = "";
  GetWindowTextA(parent, title, sizeof title);
  EXPECT_EQ(std::string(title), "Ravelink Manager - " + upper(user));

  // The four columns in their order and widths.
  const struct {
    const char* heading;
    int width;
  } columns[] = {{"State", 100}, {"To/From", 150}, {"Subject", 250}, {"Date/Time", 136}};
  HWND header = ListView_GetHeader(list.hwnd());
  ASSERT_EQ(Header_GetItemCount(header), 4);
  for (int c = 0; c < 4; ++c) {
    char text[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = text;
    col.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(list.hwnd(), LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&col)));
    EXPECT_STREQ(text, columns[c].heading) << c;
    EXPECT_EQ(col.cx, columns[c].width) << c;
  }

  // Eight state icons, one per state, as the normal and the small image list.
  HIMAGELIST images = list.Images();
  ASSERT_TRUE(images);
  EXPECT_EQ(ImageList_GetImageCount(images), 8);
  EXPECT_EQ(ListView_GetImageList(list.hwnd(), LVSIL_SMALL), images);
  EXPECT_EQ(ListView_GetImageList(list.hwnd(), LVSIL_NORMAL), images);
  for (int s = 0; s < EVS_COUNT; ++s) EXPECT_EQ(list.StateImage(s), s);
  EXPECT_EQ(list.StateImage(-1), -1);
  EXPECT_EQ(list.StateImage(EVS_COUNT), -1);
  EXPECT_TRUE(GetWindowLongA(list.hwnd(), GWL_STYLE) & LVS_SHAREIMAGELISTS);

  auto rows = readrows(list.hwnd());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].slot, 1);
  EXPECT_EQ(rows[0].cells[2], "Offer");

  // A second open of the same mailbox (the Inbox chosen again) keeps what it has.
  ASSERT_EQ(list.OpenMailbox(), 1);
  EXPECT_EQ(readrows(list.hwnd()).size(), 1u);
}

// The two messages of a mailbox root that does not serve this user; the rows stay as they were.
TEST_F(EventListTest, OpenFailuresShowTheirMessagesAndKeepTheRows) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "Acme", "Kept")), 1);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  ASSERT_EQ(rowcount(), 1);

  std::string strangers = scratch.path() + "\\strangers";
  CreateDirectoryA(strangers.c_str(), nullptr);
  makemailbox(strangers, "a", "someone.else");
  makemailbox(strangers, "b", user + "x");   // a longer name is another name

  const struct {
    std::string dir;
    const char* text;
    UINT type;
  } cases[] = {
      {scratch.path() + "\\no such root",
       "Could not connect to Ravelink. Please contact your Network Administrator or reinstall the client.",
       MB_OK | MB_ICONERROR},
      {strangers,
       "Your user name was not found in the Ravelink mailbox directory.\r\nPlease contact your Network "
       "Administrator.",
       MB_OK},
  };
  for (const auto& c : cases) {
    uitest::boxanswer_c boxes;
    EXPECT_EQ(list.OpenMailbox(c.dir.c_str()), 0) << c.dir;
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.dir;
    EXPECT_EQ(boxes.boxes[0].text, c.text);
    EXPECT_EQ(boxes.boxes[0].type, c.type);
    EXPECT_EQ(boxes.boxes[0].caption, "Ravelink Manager");
    EXPECT_EQ(boxes.boxes[0].owner, parent);
    EXPECT_EQ(rowcount(), 1) << c.dir;
    EXPECT_STREQ(list.UserMailboxFile(), own.c_str());
  }
  // The mailbox open before is still the list's.
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "Acme", "Arrived")), 2);
  EXPECT_EQ(list.Reload(), 1);
  EXPECT_EQ(rowcount(), 2);
}

TEST_F(EventListTest, NoMailboxKnownYetFailsWithoutAMessage) {
  uitest::boxanswer_c boxes;
  EXPECT_EQ(list.OpenMailbox(), 0);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(list.Reload(), 1);   // nothing to read, nothing shown
  EXPECT_EQ(rowcount(), 0);
}

// A personal folder: shown by path, counted never; the user's own mailbox is what counts.
TEST_F(EventListTest, PersonalFolderOpensByPathAndCountsStayTheOwnMailboxs) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "Acme", "Own unread")), 1);
  ASSERT_EQ(addevent(own, makeevent(EVS_FAILED, false, "Beta", "Own failed")), 2);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  EXPECT_EQ(list.UnreadCount(), 1);
  EXPECT_EQ(list.FailedCount(), 1);

  std::string folders = scratch.path() + "\\personal";
  CreateDirectoryA(folders.c_str(), nullptr);
  std::string folder = makemailbox(folders, "Customers", "");
  for (int i = 0; i < 3; ++i) ASSERT_GT(addevent(folder, makeevent(EVS_UNREAD, true, "Kept", "Folder unread")), 0);
  ASSERT_GT(addevent(folder, makeevent(EVS_SENT, false, "Kept", "Folder sent")), 0);

  // A selection in the own mailbox names its events: it does not pass to the folder's events
  // that happen to lie in the same slots.
  selectrow(0);
  ASSERT_EQ(list.SelectedSlots(), std::vector<int>{1});
  list.Filter = CManListCtrl::FILTER_INCOMING | CManListCtrl::FILTER_OUTGOING | CManListCtrl::FILTER_SENT;
  ASSERT_EQ(list.OpenMailbox(folder.c_str()), 1);
  EXPECT_TRUE(list.SelectedSlots().empty());
  EXPECT_EQ(list.PersonalOpen(), 1);
  EXPECT_STREQ(list.StoreDir(), (folders + "\\Customers\\").c_str());
  EXPECT_STREQ(list.UserMailboxFile(), own.c_str());
  auto subjects = column(readrows(list.hwnd()), CManListCtrl::COLUMN_SUBJECT);
  std::sort(subjects.begin(), subjects.end());
  EXPECT_EQ(subjects, (std::vector<std::string>{"Folder sent", "Folder unread", "Folder unread", "Folder unread"}));
  EXPECT_EQ(list.UnreadCount(), 1);
  EXPECT_EQ(list.FailedCount(), 1);
  EXPECT_EQ(list.NewUnread(), 0);

  // Back to the Inbox: the own mailbox again.
  list.Filter = CManListCtrl::FILTER_INCOMING;
  ASSERT_EQ(list.OpenMailbox(), 1);
  EXPECT_EQ(list.PersonalOpen(), 0);
  EXPECT_STREQ(list.StoreDir(), (root + "\\owner\\").c_str());
  EXPECT_EQ(column(readrows(list.hwnd()), CManListCtrl::COLUMN_SUBJECT), std::vector<std::string>{"Own unread"});

  // A folder whose mailbox file is gone: no message, nothing shown for it, no direction passes.
  uitest::boxanswer_c boxes;
  list.Filter = 31;
  EXPECT_EQ(list.OpenMailbox((folders + "\\Gone\\mailbox.rlb").c_str()), 0);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(rowcount(), 0);
  EXPECT_EQ(list.Filter, 28u);
  // ... and no later reload brings rows of another file back under its name.
  EXPECT_EQ(list.Reload(), 1);
  EXPECT_EQ(rowcount(), 0);
}

// ---- filter ---------------------------------------------------------------------------------

// One event of each state in each direction. States masks: bit s stands for state s.
TEST_F(EventListTest, FilterLetsThroughByDirectionAndState) {
  const struct {
    DWORD filter;
    unsigned incoming, outgoing;
  } cases[] = {
      {1, 0x65, 0},          // Pending, Unread, Queued, Working pass every state test
      {2, 0, 0x65},
      {1 | 4, 0x6D, 0},      // + Read
      {2 | 8, 0, 0x67},      // + Sent
      {3 | 16, 0xF5, 0xF5},  // + Failed and Cancelled together
      {31, 0xFF, 0xFF},
      {3, 0x65, 0x65},
      {28, 0, 0},            // no direction: nothing
      {0, 0, 0},
  };
  typedef std::map<int, std::pair<int, bool>> slotmap;   // slot -> state, incoming
  slotmap inown, infolder;
  std::string folder = makemailbox(scratch.path(), "allstates", "");
  for (int incoming = 0; incoming < 2; ++incoming) {
    for (int s = 0; s < EVS_COUNT; ++s) {
      eventrecord r = makeevent(static_cast<uint8_t>(s), incoming != 0, "P", englishstates[s]);
      int slot = addevent(own, r);
      ASSERT_GT(slot, 0);
      inown[slot] = {s, incoming != 0};
      // The folder has no incoming Pending or Queued: those turn Failed on a refresh.
      if (incoming && (s == EVS_PENDING || s == EVS_QUEUED)) continue;
      slot = addevent(folder, r);
      ASSERT_GT(slot, 0);
      infolder[slot] = {s, incoming != 0};
    }
  }
  auto masks = [&](HWND l, const slotmap& made) {
    unsigned in = 0, out = 0;
    for (const shownrow& r : readrows(l)) {
      auto m = made.at(r.slot);
      (m.second ? in : out) |= 1u << m.first;
      EXPECT_EQ(r.cells[0], englishstates[m.first]);
      EXPECT_EQ(r.image, m.first);
    }
    return std::make_pair(in, out);
  };

  // Rows added by an open with the filter set (a fresh list each time).
  unsigned id = LISTID + 1;
  for (const auto& c : cases) {
    CManListCtrl fresh;
    ASSERT_TRUE(makelist(fresh, id++));
    fresh.Filter = c.filter;
    ASSERT_EQ(fresh.OpenMailbox(root.c_str()), 1);
    auto got = masks(fresh.hwnd(), inown);
    EXPECT_EQ(got.first, c.incoming) << "filter " << c.filter;
    EXPECT_EQ(got.second, c.outgoing) << "filter " << c.filter;
    DestroyWindow(fresh.hwnd());
  }

  // Rows kept or removed by reloads of one list as the filter changes from case to case.
  list.Filter = 31;
  ASSERT_EQ(list.OpenMailbox(folder.c_str()), 1);
  for (const auto& c : cases) {
    list.Filter = c.filter;
    ASSERT_EQ(list.Reload(), 1);
    auto got = masks(list.hwnd(), infolder);
    EXPECT_EQ(got.first, c.incoming & ~0x21u) << "filter " << c.filter;
    EXPECT_EQ(got.second, c.outgoing) << "filter " << c.filter;
  }
}

// ---- row texts --------------------------------------------------------------------------------

TEST_F(EventListTest, RowTextsFollowTheDirection) {
  struct {
    bool incoming;
    const char *name, *address, *shown;
  } cases[] = {
      {true, "Acme Sales", "+1 555 0100", "Acme Sales"},
      {true, "", "+1 555 0100", "+1 555 0100"},
      {true, "", "", "<Unknown>"},
      {false, "Jane Roe", "+49 30 1234", "Jane Roe"},
      {false, "", "+49 30 1234", "+49 30 1234"},
      {false, "", "", "<Unknown>"},
  };
  std::map<int, const char*> expected;
  for (const auto& c : cases) {
    eventrecord r = makeevent(EVS_SENT, c.incoming, "", "s");
    if (c.incoming) {
      setfield(r.sendername, c.name);
      setfield(r.senderaddress, c.address);
    } else {
      setfield(r.recipientname, c.name);
      setfield(r.recipientaddress, c.address);
    }
    r.state = c.incoming ? EVS_READ : EVS_SENT;
    expected[addevent(own, r)] = c.shown;
  }
  list.Filter = 31;
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  auto rows = readrows(list.hwnd());
  ASSERT_EQ(rows.size(), expected.size());
  for (const shownrow& r : rows) EXPECT_EQ(r.cells[1], expected.at(r.slot)) << r.slot;

  // The date in the user's short date form with the time, no seconds kept.
  SYSTEMTIME t = {};
  t.wYear = 2024;
  t.wMonth = 3;
  t.wDay = 9;
  t.wHour = 19;
  t.wMinute = 25;
  char date[64], clock[64];
  ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof date), 0);
  ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, clock, sizeof clock), 0);
  EXPECT_EQ(rows[0].cells[3], std::string(date) + " " + clock);
}

// ---- sorting --------------------------------------------------------------------------------

TEST_F(EventListTest, ColumnClickSortsAscendingByTextAndNewestFirstByDate) {
  const struct {
    uint8_t state;
    const char* party;
    const char* subject;
    when at;
  } events[] = {
      {EVS_UNREAD, "apple", "dec 1999", {1999, 12, 31, 23, 59}},
      {EVS_READ, "Zebra", "jan 2000 a", {2000, 1, 1, 0, 0}},
      {EVS_FAILED, "banana", "mar 2024", {2024, 3, 9, 19, 25}},
      {EVS_SENT, "Apple", "jan 2000 b", {2000, 1, 1, 0, 0}},
      {EVS_CANCELLED, "zebra", "jan 1999", {1999, 1, 5, 8, 0}},
      {EVS_WORKING, "_under", "nov 2023", {2023, 11, 30, 12, 1}},
  };
  for (const auto& e : events) ASSERT_GT(addevent(own, makeevent(e.state, true, e.party, e.subject, e.at)), 0);
  list.Filter = 31;
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);

  // Byte order, case-sensitive: capitals before small letters, '_' between them.
  const std::vector<std::string> byparty = {"Apple", "Zebra", "_under", "apple", "banana", "zebra"};
  clickcolumn(1);
  EXPECT_EQ(list.SortBy, 1);
  EXPECT_EQ(column(readrows(list.hwnd()), 1), byparty);
  // A second click sorts the same way again: no descending order.
  clickcolumn(1);
  EXPECT_EQ(column(readrows(list.hwnd()), 1), byparty);

  // The state column sorts by the text shown, not by the state's number.
  clickcolumn(0);
  EXPECT_EQ(column(readrows(list.hwnd()), 0),
            (std::vector<std::string>{"Cancelled", "Failed", "Read", "Sent", "Unread", "Working"}));

  clickcolumn(2);
  EXPECT_EQ(column(readrows(list.hwnd()), 2),
            (std::vector<std::string>{"dec 1999", "jan 1999", "jan 2000 a", "jan 2000 b", "mar 2024", "nov 2023"}));

  // Newest first; the year decides before the month; the same minute compares equal.
  clickcolumn(3);
  auto bydate = column(readrows(list.hwnd()), 2);
  ASSERT_EQ(bydate.size(), 6u);
  EXPECT_EQ(bydate[0], "mar 2024");
  EXPECT_EQ(bydate[1], "nov 2023");
  EXPECT_EQ(std::vector<std::string>(bydate.begin() + 2, bydate.begin() + 4) ==
                    (std::vector<std::string>{"jan 2000 a", "jan 2000 b"}) ||
                std::vector<std::string>(bydate.begin() + 2, bydate.begin() + 4) ==
                    (std::vector<std::string>{"jan 2000 b", "jan 2000 a"}),
            true);
  EXPECT_EQ(bydate[4], "dec 1999");
  EXPECT_EQ(bydate[5], "jan 1999");
  EXPECT_EQ(list.CompareRows(list.SlotOfRow(2), list.SlotOfRow(3)), 0);
  EXPECT_EQ(list.CompareRows(list.SlotOfRow(4), list.SlotOfRow(5)), -1);
  EXPECT_EQ(list.CompareRows(list.SlotOfRow(5), list.SlotOfRow(4)), 1);

  // An event that arrives later takes its place in the order at the next reload.
  ASSERT_GT(addevent(own, makeevent(EVS_UNREAD, true, "new", "jun 2000", {2000, 6, 1, 9, 0})), 0);
  ASSERT_EQ(list.Reload(), 1);
  bydate = column(readrows(list.hwnd()), 2);
  ASSERT_EQ(bydate.size(), 7u);
  EXPECT_EQ(bydate[2], "jun 2000");
}

// A real click on a heading: the header tells the list, the list tells its parent, the parent
// hands it back to the list.
TEST_F(EventListTest, HeadingClickReachesTheList) {
  ASSERT_GT(addevent(own, makeevent(EVS_UNREAD, true, "b", "1")), 0);
  ASSERT_GT(addevent(own, makeevent(EVS_UNREAD, true, "a", "2")), 0);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  HWND header = ListView_GetHeader(list.hwnd());
  RECT r;
  ASSERT_TRUE(Header_GetItemRect(header, 1, &r));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
  uitest::pump();
  EXPECT_EQ(list.SortBy, 1);
  EXPECT_EQ(column(readrows(list.hwnd()), 1), (std::vector<std::string>{"a", "b"}));
  // The list took the notification: the parent never saw it.
  EXPECT_EQ(std::count(log.notifies.begin(), log.notifies.end(), static_cast<UINT>(LVN_COLUMNCLICK)), 0);
}

// ---- reloads --------------------------------------------------------------------------------

// Another party adds, frees, rewrites and reuses slots between two reloads; rows follow by slot.
TEST_F(EventListTest, ReloadFollowsTheFileBySlot) {
  for (int i = 1; i <= 4; ++i) {
    ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "P", ("first " + std::to_string(i)).c_str())), i);
  }
  list.Filter = 31;
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  EXPECT_EQ(subjectsbyslot(list.hwnd()),
            (std::map<int, std::string>{{1, "first 1"}, {2, "first 2"}, {3, "first 3"}, {4, "first 4"}}));

  freeevent(own, 1);
  freeevent(own, 4);
  eventrecord changed = readevent(own, 3);
  setfield(changed.subject, "rewritten 3");
  {
    mailboxfile_c other;
    ASSERT_TRUE(other.open(own.c_str()));
    ASSERT_TRUE(other.updateevent(&changed, 3));
  }
  // Freed slots are taken again from the lowest; then the file grows.
  ASSERT_EQ(addevent(own, makeevent(EVS_READ, true, "P", "reused 1")), 1);
  ASSERT_EQ(addevent(own, makeevent(EVS_READ, true, "P", "reused 4")), 4);
  ASSERT_EQ(addevent(own, makeevent(EVS_READ, true, "P", "appended 5")), 5);
  freeevent(own, 2);

  ASSERT_EQ(list.Reload(), 1);
  EXPECT_EQ(subjectsbyslot(list.hwnd()),
            (std::map<int, std::string>{{1, "reused 1"}, {3, "rewritten 3"}, {4, "reused 4"}, {5, "appended 5"}}));
  // The reused slot's row shows the new event throughout, not the old one's state.
  for (const shownrow& r : readrows(list.hwnd())) {
    if (r.slot == 1) {
      EXPECT_EQ(r.cells[0], "Read");
      EXPECT_EQ(r.image, list.StateImage(EVS_READ));
    }
  }
  // One opening for the reload's batch: the reads share it.
  uint32_t before = list.Mailbox().openings;
  ASSERT_EQ(list.Reload(), 1);
  EXPECT_EQ(list.Mailbox().openings - before, 1u);
  EXPECT_FALSE(list.Mailbox().isopen());   // closed between operations
}

// The poll timer fires inside a message loop that something run from a reload entered: the
// reload asked for there returns at once and leaves the running one alone.
TEST_F(EventListTest, ReloadDuringAReloadReturnsAtOnce) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "P", "one")), 1);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  for (int i = 0; i < 3; ++i) ASSERT_GT(addevent(own, makeevent(EVS_UNREAD, true, "P", "more")), 0);

  bool armed = true, fired = false;
  int nested = -1, rowsbefore = -1, rowsafter = -1;
  uint32_t openingsbefore = 0, openingsafter = 0;
  bool heldbefore = false, heldafter = false;
  log.onnotify = [&](UINT code) {
    if (code != LVN_INSERTITEM || !armed) return;
    armed = false;
    SetTimer(parent, POLLTIMER, 1, nullptr);
    // A modal loop, as a message box would run, until the timer has come.
    MSG msg;
    while (!fired && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  };
  log.ontimer = [&] {
    KillTimer(parent, POLLTIMER);
    rowsbefore = rowcount();
    openingsbefore = list.Mailbox().openings;
    heldbefore = list.Mailbox().isopen() != 0;
    nested = list.Reload();
    rowsafter = rowcount();
    openingsafter = list.Mailbox().openings;
    heldafter = list.Mailbox().isopen() != 0;
    fired = true;
  };
  ASSERT_EQ(list.Reload(), 1);
  ASSERT_TRUE(fired);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(rowsafter, rowsbefore);
  EXPECT_EQ(openingsafter, openingsbefore);
  EXPECT_TRUE(heldbefore);
  EXPECT_TRUE(heldafter);   // the running reload's batch was not ended by the nested one
  EXPECT_EQ(rowcount(), 4);
  EXPECT_EQ(list.UnreadCount(), 4);
  log.onnotify = nullptr;
  log.ontimer = nullptr;
}

// An incoming event found Pending or Queued at a refresh was left behind: it becomes Failed.
TEST_F(EventListTest, StaleIncomingEventsTurnFailedOnRefresh) {
  const struct {
    uint8_t state;
    bool incoming;
    uint8_t after;
  } cases[] = {
      {EVS_PENDING, true, EVS_FAILED}, {EVS_QUEUED, true, EVS_FAILED},   {EVS_WORKING, true, EVS_WORKING},
      {EVS_PENDING, false, EVS_PENDING}, {EVS_QUEUED, false, EVS_QUEUED}, {EVS_UNREAD, true, EVS_UNREAD},
  };
  std::map<int, int> slots;   // slot -> case
  for (int i = 0; i < 6; ++i) {
    int slot = addevent(own, makeevent(cases[i].state, cases[i].incoming, "P", std::to_string(i).c_str()));
    ASSERT_GT(slot, 0);
    slots[slot] = i;
  }
  list.Filter = 31;
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  // Rows the reload added keep their state until a later reload refreshes them.
  for (const shownrow& r : readrows(list.hwnd())) EXPECT_EQ(r.cells[0], englishstates[cases[slots[r.slot]].state]);
  EXPECT_EQ(list.FailedCount(), 0);

  ASSERT_EQ(list.Reload(), 1);
  for (const shownrow& r : readrows(list.hwnd())) {
    const auto& c = cases[slots[r.slot]];
    EXPECT_EQ(r.cells[0], englishstates[c.after]) << r.slot;
    EXPECT_EQ(r.image, list.StateImage(c.after)) << r.slot;
    EXPECT_EQ(readevent(own, r.slot).state, c.after) << r.slot;   // and so in the file
  }
  EXPECT_EQ(list.FailedCount(), 2);
  EXPECT_EQ(list.NewFailed(), 1);

  // With failed items hidden they go.
  list.Filter = 3 | 4 | 8;
  ASSERT_EQ(list.Reload(), 1);
  EXPECT_EQ(rowcount(), 4);
}

// The counts are the own mailbox's; "new" means more than at the previous reload.
TEST_F(EventListTest, CountsAndNewFlagsAcrossReloads) {
  std::vector<int> unread;   // slots of unread events
  std::vector<int> failed;
  auto addunread = [&] { unread.push_back(addevent(own, makeevent(EVS_UNREAD, true, "P", "u"))); };
  auto addfailed = [&] { failed.push_back(addevent(own, makeevent(EVS_FAILED, false, "P", "f"))); };
  const struct step {
    const char* what;
    std::function<void()> change;
    int failedcount, unreadcount, newfailed, hasunread, newunread;
  } steps[] = {
      {"empty mailbox", [] {}, 0, 0, 0, 0, 0},
      {"two unread, one failed", [&] { addunread(); addunread(); addfailed(); }, 1, 2, 1, 1, 1},
      {"nothing new", [] {}, 1, 2, 0, 1, 0},
      {"one read, one arrived: still two", [&] { setstate(own, unread[0], EVS_READ); addunread(); }, 1, 2, 0, 1, 0},
      {"a third unread", [&] { addunread(); }, 1, 3, 0, 1, 1},
      {"a second failed", [&] { addfailed(); }, 2, 3, 1, 1, 0},
      {"nothing new", [] {}, 2, 3, 0, 1, 0},
      {"all read", [&] { for (int s : unread) setstate(own, s, EVS_READ); }, 2, 0, 0, 0, 0},
      {"a failed one deleted", [&] { freeevent(own, failed[0]); }, 1, 0, 0, 0, 0},
      {"another failed", [&] { addfailed(); }, 2, 0, 1, 0, 0},
  };
  bool opened = false;
  for (const step& s : steps) {
    s.change();
    if (!opened) {
      ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
      opened = true;
    } else {
      ASSERT_EQ(list.Reload(), 1);
    }
    EXPECT_EQ(list.FailedCount(), s.failedcount) << s.what;
    EXPECT_EQ(list.UnreadCount(), s.unreadcount) << s.what;
    EXPECT_EQ(list.NewFailed(), s.newfailed) << s.what;
    EXPECT_EQ(list.HasUnread(), s.hasunread) << s.what;
    EXPECT_EQ(list.NewUnread(), s.newunread) << s.what;
  }
}

// Held by another program beyond the retry time: the rows and counts stay as they were, and
// the reload waits for the file once, not once per row and again for the count.
TEST_F(EventListTest, MailboxLockedBeyondTheRetryTimeLeavesTheRows) {
  for (int i = 0; i < 5; ++i) ASSERT_GT(addevent(own, makeevent(EVS_UNREAD, true, "P", "kept")), 0);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  ASSERT_EQ(rowcount(), 5);
  ASSERT_EQ(list.NewUnread(), 1);

  HANDLE lock = CreateFileA(own.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  DWORD start = GetTickCount();
  EXPECT_EQ(list.Reload(), 1);
  DWORD took = GetTickCount() - start;
  CloseHandle(lock);
  EXPECT_GE(took, static_cast<DWORD>(mailboxfile_c::RETRYMS) - 100);
  EXPECT_LT(took, static_cast<DWORD>(mailboxfile_c::RETRYMS) * 3 / 2);
  EXPECT_EQ(rowcount(), 5);
  EXPECT_EQ(list.UnreadCount(), 5);
  EXPECT_EQ(list.NewUnread(), 0);   // cleared at the start of every reload
  EXPECT_EQ(list.HasUnread(), 0);

  // Free again: the next reload catches up.
  freeevent(own, 2);
  EXPECT_EQ(list.Reload(), 1);
  EXPECT_EQ(rowcount(), 4);
  EXPECT_EQ(list.HasUnread(), 1);
  EXPECT_EQ(list.UnreadCount(), 4);
}

// ---- damaged records ------------------------------------------------------------------------

// Whatever is in a slot is shown within its fields: texts without terminators end at their
// field, unknown states get no text and icon of another state, counts out of range are ignored.
TEST_F(EventListTest, DamagedRecordsAreShownWithinTheirFields) {
  eventrecord in;
  memset(&in, 0, sizeof in);
  in.slotstate = SLOT_INUSE;
  in.flags = EV_INCOMING | 0xFFFFFF00u;
  in.state = 200;
  in.attachcount = 100;
  in.year = 2024;
  in.month = 200;   // no date the system can show
  in.day = 255;
  memset(in.subject, 'S', sizeof in.subject);
  memset(in.coverpage, 'C', sizeof in.coverpage);
  memset(in.recipientfile, 'F', sizeof in.recipientfile);
  memset(in.sendername, 'N', sizeof in.sendername);
  memset(in.senderaddress, 'A', sizeof in.senderaddress);
  memset(in.recipientname, 'R', sizeof in.recipientname);
  memset(in.recipientaddress, 'D', sizeof in.recipientaddress);
  memset(in.bodyfile, 'B', sizeof in.bodyfile);
  memset(in.attachments, 'T', sizeof in.attachments);

  eventrecord out = in;
  out.flags = 0;
  out.state = EVS_COUNT;   // just past the table
  out.attachcount = -128;
  memset(out.recipientname, 0, sizeof out.recipientname);   // the address is shown instead

  eventrecord past = in;
  past.state = 255;
  memset(past.sendername, 0, sizeof past.sendername);

  ASSERT_EQ(addevent(own, in), 1);
  ASSERT_EQ(addevent(own, out), 2);
  ASSERT_EQ(addevent(own, past), 3);
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "Fine", "fine")), 4);

  // Only the direction bits: unknown states pass every state test.
  list.Filter = 3;
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  auto rows = readrows(list.hwnd());
  ASSERT_EQ(rows.size(), 4u);
  std::map<int, shownrow> byslot;
  for (const shownrow& r : rows) byslot[r.slot] = r;
  for (int slot : {1, 2, 3}) {
    const shownrow& r = byslot[slot];
    EXPECT_EQ(r.cells[0], "<Unknown>") << slot;
    EXPECT_EQ(r.image, I_IMAGENONE) << slot;
    EXPECT_EQ(r.cells[2], std::string(256, 'S')) << slot;
    EXPECT_EQ(r.cells[3], "") << slot;
  }
  EXPECT_EQ(byslot[1].cells[1], std::string(64, 'N'));
  EXPECT_EQ(byslot[2].cells[1], std::string(64, 'D'));
  EXPECT_EQ(byslot[3].cells[1], std::string(64, 'A'));
  EXPECT_EQ(byslot[4].cells[0], "Unread");
  EXPECT_EQ(list.UnreadCount(), 1);
  EXPECT_EQ(list.FailedCount(), 0);

  // A refresh, every sort and the drawing of every row go through them as well.
  ASSERT_EQ(list.Reload(), 1);
  EXPECT_EQ(rowcount(), 4);
  for (int c = 0; c < 4; ++c) {
    clickcolumn(c);
    EXPECT_EQ(rowcount(), 4);
  }
  EXPECT_EQ(readrows(list.hwnd())[0].cells[1], "Fine");   // the newest (the others have no date)
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 20);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int row = 0; row < 4; ++row) {
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_LISTVIEW;
    draw.CtlID = LISTID;
    draw.itemID = static_cast<UINT>(row);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = ODS_SELECTED | ODS_FOCUS;
    draw.hwndItem = list.hwnd();
    draw.hDC = dc;
    draw.rcItem = {0, 0, 800, 20};
    EXPECT_EQ(SendMessageA(parent, WM_DRAWITEM, LISTID, reinterpret_cast<LPARAM>(&draw)), TRUE);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// ---- drawing --------------------------------------------------------------------------------

struct canvas_c {
  canvas_c(int w, int h) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~canvas_c() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void fill(COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

TEST_F(EventListTest, RowsAreDrawnWithTheirColoursIconAndFont) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "Party", "Subject")), 1);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  ASSERT_EQ(rowcount(), 1);

  // Rows are as high as the answer to WM_MEASUREITEM made them.
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageA(list.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds)));
  MEASUREITEMSTRUCT measure = {};
  measure.CtlType = ODT_LISTVIEW;
  measure.CtlID = LISTID;
  ASSERT_TRUE(CManListCtrl::MeasureItem(&measure, list.hwnd()));
  EXPECT_GE(measure.itemHeight, 18u);
  EXPECT_GT(log.measures, 0);
  EXPECT_EQ(bounds.bottom - bounds.top, static_cast<LONG>(measure.itemHeight));
  measure.CtlType = ODT_MENU;
  EXPECT_FALSE(CManListCtrl::MeasureItem(&measure, list.hwnd()));

  const COLORREF sentinel = RGB(255, 0, 255);
  const int height = static_cast<int>(measure.itemHeight);
  for (bool selected : {true, false}) {
    canvas_c canvas(700, height);
    canvas.fill(sentinel);
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_LISTVIEW;
    draw.CtlID = LISTID;
    draw.itemID = 0;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = selected ? ODS_SELECTED : 0;
    draw.hwndItem = list.hwnd();
    draw.hDC = canvas.dc;
    draw.rcItem = {0, 0, 700, height};
    ASSERT_EQ(SendMessageA(parent, WM_DRAWITEM, LISTID, reinterpret_cast<LPARAM>(&draw)), TRUE);
    GdiFlush();
    COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    // The first 19 pixels (beside the icon) and the top pixel line are never filled.
    EXPECT_EQ(GetPixel(canvas.dc, 18, height / 2), sentinel) << selected;
    EXPECT_EQ(GetPixel(canvas.dc, 300, 0), sentinel) << selected;
    // The rest of the row is.
    EXPECT_EQ(GetPixel(canvas.dc, 19, 1), back) << selected;
    EXPECT_EQ(GetPixel(canvas.dc, 690, height - 1), back) << selected;
    // The icon is drawn at 1,1 and the texts in the text colour.
    int iconpixels = 0, textpixels = 0;
    for (int y = 1; y < 17 && y < height; ++y) {
      for (int x = 1; x < 17; ++x) iconpixels += GetPixel(canvas.dc, x, y) != sentinel;
    }
    for (int y = 1; y < height; ++y) {
      for (int x = 20; x < 100; ++x) textpixels += GetPixel(canvas.dc, x, y) == fore;
    }
    EXPECT_GT(iconpixels, 20) << selected;
    EXPECT_GT(textpixels, 10) << selected;
  }

  // The font of each state's rows.
  const struct {
    uint8_t state;
    LONG weight;
    bool italic;
  } fonts[] = {
      {EVS_PENDING, 300, true}, {EVS_SENT, 300, false},   {EVS_UNREAD, 700, false}, {EVS_READ, 300, false},
      {EVS_FAILED, 300, false}, {EVS_QUEUED, 300, true},  {EVS_WORKING, 300, true}, {EVS_CANCELLED, 300, false},
  };
  for (const auto& f : fonts) {
    LOGFONTA logfont = {};
    HFONT font = list.RowFont(list.StateImage(f.state));
    ASSERT_TRUE(font);
    ASSERT_TRUE(GetObjectA(font, sizeof logfont, &logfont));
    EXPECT_EQ(logfont.lfWeight, f.weight) << int(f.state);
    EXPECT_EQ(logfont.lfItalic != 0, f.italic) << int(f.state);
  }
  LOGFONTA unknown = {};
  ASSERT_TRUE(GetObjectA(list.RowFont(I_IMAGENONE), sizeof unknown, &unknown));
  EXPECT_EQ(unknown.lfWeight, 300);
  EXPECT_FALSE(unknown.lfItalic);
}

// ---- mouse, keys and the context menu -------------------------------------------------------

TEST_F(EventListTest, MouseAndKeysSendTheCommandsToTheMainWindow) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "P", "one")), 1);
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "P", "two")), 2);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  selectrow(0);
  POINT at = rowcentre(0);
  uitest::pump();
  log.commands.clear();

  const struct {
    const char* what;
    std::function<void()> act;
    std::vector<unsigned> commands;
  } cases[] = {
      {"double click",
       [&] { SendMessageA(list.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y)); },
       {ID_EVENT_VIEW}},
      {"Enter", [&] { PostMessageA(list.hwnd(), WM_KEYDOWN, VK_RETURN, 0x001C0001); }, {ID_EVENT_VIEW}},
      {"Enter as a character", [&] { SendMessageA(list.hwnd(), WM_CHAR, 13, 0x001C0001); }, {ID_EVENT_VIEW}},
      {"another character", [&] { SendMessageA(list.hwnd(), WM_CHAR, 'x', 0x002D0001); }, {}},
      {"right double click",
       [&] { SendMessageA(list.hwnd(), WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(at.x, at.y)); },
       {ID_EVENT_DETAILS}},
      {"drag start", [&] {
         NMLISTVIEW drag = {};
         drag.hdr.hwndFrom = list.hwnd();
         drag.hdr.idFrom = LISTID;
         drag.hdr.code = LVN_BEGINDRAG;
         drag.iItem = 0;
         SendMessageA(parent, WM_NOTIFY, LISTID, reinterpret_cast<LPARAM>(&drag));
       }, {}},
  };
  for (const auto& c : cases) {
    log.commands.clear();
    log.notifies.clear();
    c.act();
    uitest::pump();
    EXPECT_EQ(log.commands, c.commands) << c.what;
  }
  EXPECT_EQ(std::count(log.notifies.begin(), log.notifies.end(), static_cast<UINT>(LVN_BEGINDRAG)), 0);
  EXPECT_EQ(rowcount(), 2);
}

// A right click opens menu 129 beside the cursor with View as its default; the chosen command
// goes to the main window.
TEST_F(EventListTest, ContextMenuOffersTheEventCommands) {
  ASSERT_EQ(addevent(own, makeevent(EVS_UNREAD, true, "P", "one")), 1);
  ASSERT_EQ(list.OpenMailbox(root.c_str()), 1);
  selectrow(0);
  POINT at = rowcentre(0);
  ClientToScreen(list.hwnd(), &at);
  SetCursorPos(at.x, at.y);
  uitest::pump();
  log.commands.clear();

  RECT menurect = {};
  log.onmenuidle = [&](HWND menuwindow) {
    GetWindowRect(menuwindow, &menurect);
    // Down three times: View, Print, Details; then Enter.
    for (int i = 0; i < 3; ++i) PostMessageA(menuwindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuwindow, WM_KEYDOWN, VK_RETURN, 0);
  };
  // The button goes up before the list looks for a drag: a click, not a drag.
  POINT client = rowcentre(0);
  PostMessageA(list.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  SendMessageA(list.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
  uitest::pump();

  EXPECT_EQ(log.popupitems, (std::vector<UINT>{ID_EVENT_VIEW, ID_EVENT_PRINT, ID_EVENT_DETAILS, 0, ID_EVENT_ROUTE,
                                               ID_EVENT_RESUBMIT, ID_EVENT_FORWARD, 0, ID_EVENT_MOVE, 0,
                                               ID_EVENT_DELETE}));
  EXPECT_EQ(log.defaultitem, static_cast<UINT>(ID_EVENT_VIEW));
  EXPECT_EQ(log.commands, std::vector<unsigned>{ID_EVENT_DETAILS});
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(menurect.left, cursor.x + 2);
  EXPECT_EQ(menurect.top, cursor.y + 2);

  // The menu key: the same menu, below the focused row; Escape chooses nothing.
  log.commands.clear();
  log.popupitems.clear();
  log.onmenuidle = [&](HWND menuwindow) {
    GetWindowRect(menuwindow, &menurect);
    PostMessageA(menuwindow, WM_KEYDOWN, VK_ESCAPE, 0);
  };
  SendMessageA(list.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.hwnd()), static_cast<LPARAM>(-1));
  uitest::pump();
  EXPECT_EQ(log.popupitems.size(), 11u);
  EXPECT_TRUE(log.commands.empty());
  RECT row = {};
  row.left = LVIR_BOUNDS;
  SendMessageA(list.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  POINT below = {row.left, row.bottom};
  ClientToScreen(list.hwnd(), &below);
  EXPECT_EQ(menurect.top, below.y + 2);

  // The header's own right click is not the list's.
  log.popupitems.clear();
  SendMessageA(list.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ListView_GetHeader(list.hwnd())),
               MAKELPARAM(at.x, at.y));
  uitest::pump();
  EXPECT_TRUE(log.popupitems.empty());
}

}  // namespace
