// The control wrappers: list and tree calls the Manager makes, notifications reflected back to
// the control's own object, and subclassing that survives any order of ending.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manager/ui/uilistview.h"
#include "manager/ui/uitreeview.h"
#include "tests/managerui/testframe.h"
#include "tests/managerui/uitesthelp.h"

namespace {

int CALLBACK descending(LPARAM a, LPARAM b, LPARAM) { return a > b ? -1 : a < b ? 1 : 0; }

class ListTest : public ::testing::Test {
protected:
  void SetUp() override {
    host = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 600, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(list.create(host, 1, WS_CHILD | WS_VISIBLE | LVS_REPORT));
    SetWindowPos(list.hwnd(), nullptr, 0, 0, 600, 300, SWP_NOZORDER);
  }
  void TearDown() override { DestroyWindow(host); }
  HWND host = nullptr;
  uilistview_c list;
};

TEST_F(ListTest, ColumnsKeepTheirWidths) {
  const struct {
    const char* heading;
    int width;
  } columns[] = {{"State", 100}, {"To/From", 150}, {"Subject", 250}, {"Date/Time", 136}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.insertcolumn(i, columns[i].heading, columns[i].width), i);
  EXPECT_EQ(list.columncount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.columnwidth(i), columns[i].width) << i;
  EXPECT_TRUE(list.setcolumnwidth(2, 77));
  EXPECT_EQ(list.columnwidth(2), 77);
}

// Rows are found by their item data, whatever sorting and deleting did to their positions.
TEST_F(ListTest, RowsAreFoundByTheirDataAfterSortAndDelete) {
  list.insertcolumn(0, "State", 100);
  list.insertcolumn(1, "Subject", 200);
  const struct {
    LPARAM slot;
    const char* state;
    const char* subject;
  } rows[] = {{17, "Unread", "b"}, {3, "Sent", "a"}, {250, "Failed", "d"}, {42, "Read", "c"}};
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(list.insertitem(i, rows[i].state, i, rows[i].slot), i);
    ASSERT_TRUE(list.setitemtext(i, 1, rows[i].subject));
  }
  // Sort by slot number, descending, through the control's own sort.
  ASSERT_TRUE(list.sortitems(descending, 0));
  const LPARAM order[] = {250, 42, 17, 3};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.itemdata(i), order[i]) << i;
  EXPECT_EQ(list.finditem(17), 2);
  EXPECT_STREQ(list.itemtext(list.finditem(250), 0).text(), "Failed");
  EXPECT_STREQ(list.itemtext(list.finditem(250), 1).text(), "d");
  EXPECT_EQ(list.itemimage(list.finditem(42)), 3);

  ASSERT_TRUE(list.deleteitem(list.finditem(42)));
  EXPECT_EQ(list.itemcount(), 3);
  EXPECT_EQ(list.finditem(42), -1);
  EXPECT_EQ(list.finditem(3), 2);
  ASSERT_TRUE(list.setitemimage(list.finditem(3), 7));
  EXPECT_EQ(list.itemimage(list.finditem(3)), 7);
  ASSERT_TRUE(list.deleteallitems());
  EXPECT_EQ(list.itemcount(), 0);
  EXPECT_EQ(list.finditem(3), -1);
}

TEST_F(ListTest, LongTextsComeBackWhole) {
  list.insertcolumn(0, "Subject", 100);
  std::string longtext(1000, 'q');
  longtext += "end";
  list.insertitem(0, longtext.c_str(), 0, 1);
  EXPECT_EQ(std::string(list.itemtext(0, 0).text()), longtext);
  EXPECT_STREQ(list.itemtext(5, 0).text(), "");   // no such row
}

TEST_F(ListTest, TheSelectionIsCountedAndWalked) {
  list.insertcolumn(0, "State", 100);
  for (int i = 0; i < 5; ++i) list.insertitem(i, "row", 0, 100 + i);
  EXPECT_EQ(list.selectedcount(), 0);
  EXPECT_EQ(list.nextitem(-1, LVNI_SELECTED), -1);
  list.setitemstate(1, LVIS_SELECTED, LVIS_SELECTED);
  list.setitemstate(3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.selectedcount(), 2);
  std::vector<LPARAM> selected;
  for (int i = list.nextitem(-1, LVNI_SELECTED); i >= 0; i = list.nextitem(i, LVNI_SELECTED))
    selected.push_back(list.itemdata(i));
  EXPECT_EQ(selected, (std::vector<LPARAM>{101, 103}));
  EXPECT_EQ(list.itemstate(3, LVIS_SELECTED), (UINT)LVIS_SELECTED);
}

TEST(TreeTest, ItemsCarryTextDataAndImagesAndAreFoundByPoint) {
  HWND host = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  uitreeview_c tree;
  ASSERT_TRUE(tree.create(host, 1, WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT));
  SetWindowPos(tree.hwnd(), nullptr, 0, 0, 300, 300, SWP_NOZORDER);
  HTREEITEM main = tree.insertitem("Main Mailbox Folders", 2, 2, 3);
  HTREEITEM inbox = tree.insertitem("Inbox", 0, 0, 1, main);
  HTREEITEM outbox = tree.insertitem("Outbox", 1, 1, 2, main);
  HTREEITEM personal = tree.insertitem("Personal Folders", 2, 2, 3, TVI_ROOT, main);
  HTREEITEM folder = tree.insertitem("Faxes 2024", 3, 3, 4, personal);
  ASSERT_TRUE(main && inbox && outbox && personal && folder);
  EXPECT_EQ(tree.count(), 5);
  EXPECT_EQ(tree.rootitem(), main);
  EXPECT_EQ(tree.nextsibling(main), personal);
  EXPECT_EQ(tree.childitem(main), inbox);
  EXPECT_EQ(tree.nextsibling(inbox), outbox);
  EXPECT_EQ(tree.parentitem(folder), personal);
  EXPECT_EQ(tree.itemdata(outbox), 2);
  EXPECT_EQ(tree.itemdata(folder), 4);
  EXPECT_STREQ(tree.itemtext(folder).text(), "Faxes 2024");
  int image = -1, selected = -1;
  ASSERT_TRUE(tree.itemimages(folder, image, selected));
  EXPECT_EQ(image, 3);
  EXPECT_EQ(selected, 3);

  EXPECT_FALSE(tree.isexpanded(main));
  ASSERT_TRUE(tree.expand(main));
  EXPECT_TRUE(tree.isexpanded(main));
  ASSERT_TRUE(tree.selectitem(outbox));
  EXPECT_EQ(tree.selecteditem(), outbox);

  RECT r;
  ASSERT_TRUE(TreeView_GetItemRect(tree.hwnd(), outbox, &r, TRUE));
  UINT flags = 0;
  EXPECT_EQ(tree.hittest({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, &flags), outbox);
  EXPECT_TRUE(flags & TVHT_ONITEM);
  EXPECT_EQ(tree.hittest({5, 290}), nullptr);

  // A long name comes back whole.
  std::string longname(700, 'n');
  HTREEITEM big = tree.insertitem(longname.c_str(), 3, 3, 4, personal);
  EXPECT_EQ(std::string(tree.itemtext(big).text()), longname);
  ASSERT_TRUE(tree.deleteallitems());
  EXPECT_EQ(tree.count(), 0);
  DestroyWindow(host);
}

// ---- reflection and subclassing ----

// A tree that takes its own selection changes, as the Manager's folder tree does; in the Move
// dialog it lets the parent see them as well.
class selftree_c : public uitreeview_c {
public:
  bool takeit = true;
  bool throwing = false;
  std::vector<LPARAM> selections;
  int enters = 0;

protected:
  bool OnReflect(UINT msg, WPARAM, LPARAM lparam, LRESULT& result) override {
    if (msg != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (header->code != TVN_SELCHANGEDA && header->code != TVN_SELCHANGEDW) return false;
    if (throwing) throw std::runtime_error("reflect");
    selections.push_back(itemdata(selecteditem()));
    result = 0;
    return takeit;
  }
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM, LRESULT& result) override {
    if (throwing) throw std::runtime_error("message");
    if (msg == WM_CHAR && wparam == VK_RETURN) {
      ++enters;
      result = 0;
      return true;
    }
    return false;
  }
};

class ReflectTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(frame.open());
    // Take the frame's left pane over with the self-handling tree.
    HWND pane = frame.tree.detach();
    tree.attach(pane);
    ASSERT_TRUE(tree.subclass());
    inbox = tree.insertitem("Inbox", 0, 0, 1);
    outbox = tree.insertitem("Outbox", 1, 1, 2);
  }
  testframe_c frame;
  selftree_c tree;
  HTREEITEM inbox = nullptr, outbox = nullptr;
};

TEST_F(ReflectTest, ATakenNotificationStopsAtTheControlsObject) {
  tree.selectitem(outbox);
  tree.selectitem(inbox);
  EXPECT_EQ(tree.selections, (std::vector<LPARAM>{2, 1}));
  // Through the splitter to the frame: nothing of the selection arrived.
  EXPECT_FALSE(frame.sawnotify(TVN_SELCHANGEDA));
  EXPECT_FALSE(frame.sawnotify(TVN_SELCHANGEDW));
}

TEST_F(ReflectTest, ANotificationLeftAloneGoesOnToTheFrame) {
  tree.takeit = false;
  tree.selectitem(outbox);
  EXPECT_EQ(tree.selections, (std::vector<LPARAM>{2}));   // offered once, not again on the way up
  EXPECT_TRUE(frame.sawnotify(TVN_SELCHANGEDA) || frame.sawnotify(TVN_SELCHANGEDW));
}

TEST_F(ReflectTest, TheControlsOwnMessagesReachItsObjectFirst) {
  SendMessageA(tree.hwnd(), WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(tree.enters, 1);
  // What the object does not take still works in the control.
  tree.selectitem(inbox);
  SendMessageA(tree.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(tree.selecteditem(), outbox);
}

TEST_F(ReflectTest, HandlersThatThrowDoNotTakeTheWindowsDown) {
  tree.throwing = true;
  SendMessageA(tree.hwnd(), WM_CHAR, VK_RETURN, 0);
  tree.selectitem(outbox);
  tree.throwing = false;
  tree.selectitem(inbox);
  EXPECT_EQ(tree.selections, (std::vector<LPARAM>{1}));
  EXPECT_TRUE(IsWindow(tree.hwnd()));
}

TEST_F(ReflectTest, AControlOutlivesItsObjectAndTheOtherWayRound) {
  HWND pane = tree.hwnd();
  {
    selftree_c shortlived;
    HWND taken = tree.detach();   // the subclass goes with the old object
    shortlived.attach(taken);
    ASSERT_TRUE(shortlived.subclass());
  }
  // The object is gone; the control still works and its notifications reach the frame.
  EXPECT_EQ(TreeView_GetCount(pane), 2u);
  TreeView_SelectItem(pane, outbox);
  EXPECT_TRUE(frame.sawnotify(TVN_SELCHANGEDA) || frame.sawnotify(TVN_SELCHANGEDW));

  // The control ends first: the object lets go of it.
  selftree_c survivor;
  survivor.attach(pane);
  ASSERT_TRUE(survivor.subclass());
  DestroyWindow(pane);
  EXPECT_EQ(survivor.hwnd(), nullptr);
  EXPECT_FALSE(survivor.subclassed());
}

// Somebody subclasses the control after us: letting go must not cut them off.
LRESULT CALLBACK countingproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
WNDPROC countingnext = nullptr;
int countingcalls = 0;
LRESULT CALLBACK countingproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CHAR) ++countingcalls;
  return CallWindowProcA(countingnext, hwnd, msg, wparam, lparam);
}

TEST_F(ReflectTest, LettingGoKeepsALaterSubclassWorking) {
  countingcalls = 0;
  countingnext = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(tree.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countingproc)));
  HWND pane = tree.hwnd();
  tree.unsubclass();
  SendMessageA(pane, WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(countingcalls, 1);
  EXPECT_EQ(tree.enters, 0);   // our object no longer sees anything
  TreeView_SelectItem(pane, inbox);
  SendMessageA(pane, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(TreeView_GetSelection(pane), outbox);
  // A new object can take the control again, behind the later subclass.
  ASSERT_TRUE(tree.subclass());
  SendMessageA(pane, WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(countingcalls, 2);
  EXPECT_EQ(tree.enters, 1);
}

}  // namespace
