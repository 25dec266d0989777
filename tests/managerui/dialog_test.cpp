// Modal dialogs from templates: data exchange with clamping, numbers that are not numbers,
// check boxes and texts, the up-down control beside its edit, notifications reflected to
// control objects, and dialogs that cannot start.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>

#include "manager/ui/uidialog.h"
#include "manager/ui/uilistview.h"
#include "manager/ui/uiupdown.h"
#include "tests/managerui/testui.h"
#include "tests/managerui/uitesthelp.h"

namespace {

const UINT WM_SCRIPT = WM_APP + 1;

// A list that takes its item-change notifications when told to.
class changelist_c : public uilistview_c {
public:
  bool takeit = true;
  int changes = 0;

protected:
  bool OnReflect(UINT msg, WPARAM, LPARAM lparam, LRESULT& result) override {
    if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lparam)->code != LVN_ITEMCHANGED) return false;
    ++changes;
    result = 0;
    return takeit;
  }
};

// The options-style dialog of the tests. Once it has started, the script runs inside its modal
// loop (as a user would act on it) and must end it; a script that does not is ended for it.
class datadialog_c : public uidialog_c {
public:
  datadialog_c() : uidialog_c(IDD_TESTDATA) {}

  int interval = 5;
  bool beep = false;
  int popup = 1;
  string_c message;
  int messagelimit = 255;
  bool initthrows = false;
  int growby = 0;   // pixels the dialog widens itself by while it starts
  bool scriptleftitopen = false;
  int parentsawchanges = 0;
  std::function<void(datadialog_c&)> script;
  uiupdown_c spin;
  changelist_c list;

  void settext(int id, const char* text) { SetDlgItemTextA(hwnd(), id, text); }
  std::string gettext(int id) {
    char text[512] = "";
    GetDlgItemTextA(hwnd(), id, text, sizeof text);
    return text;
  }
  void press(int id) {
    SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
  }
  bool open() const { return hwnd() && IsWindow(hwnd()) && !ending(); }

protected:
  bool OnInit() override {
    if (initthrows) throw std::runtime_error("cannot start");
    if (growby) {
      RECT r;
      GetWindowRect(hwnd(), &r);
      SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left + growby, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    spin.attach(item(IDC_INTERVALSPIN));
    spin.setrange(1, 60);
    list.attach(item(IDC_LIST));
    list.subclass();
    list.insertcolumn(0, "Name", 100);
    list.insertitem(0, "first", 0, 1);
    list.insertitem(1, "second", 0, 2);
    uidialog_c::OnInit();
    PostMessageA(hwnd(), WM_SCRIPT, 0, 0);
    return true;
  }
  void DoDataExchange(uidatax_c& dx) override {
    dx.number(IDC_INTERVAL, interval, 1, 60);
    dx.check(IDC_BEEP, beep);
    dx.check(IDC_POPUP, popup);
    dx.text(IDC_MESSAGE, message, messagelimit);
  }
  bool OnNotify(NMHDR& header, LRESULT&) override {
    if (header.code == LVN_ITEMCHANGED) ++parentsawchanges;
    return false;
  }
  bool OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR& result) override {
    if (msg != WM_SCRIPT) return false;
    if (script) script(*this);
    if (open()) {
      scriptleftitopen = true;
      enddialog(99);
    }
    result = TRUE;
    return true;
  }
};

TEST(DialogTest, NumbersAreClampedWhenShown) {
  const struct {
    int value;
    const char* shown;
  } cases[] = {{0, "1"}, {90, "60"}, {5, "5"}, {-3, "1"}, {INT_MIN, "1"}, {60, "60"}, {1, "1"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    datadialog_c dialog;
    dialog.interval = c.value;
    std::string shown;
    dialog.script = [&](datadialog_c& d) {
      shown = d.gettext(IDC_INTERVAL);
      d.press(IDCANCEL);
    };
    EXPECT_EQ(dialog.domodal(nullptr), IDCANCEL);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(dialog.interval, c.value);   // Cancel takes nothing back
  }
}

TEST(DialogTest, NumbersAreClampedWhenTakenBack) {
  const struct {
    const char* typed;
    int value;
  } cases[] = {{"75", 60},   {" 7 ", 7},           {"-2", 1},           {"99999999999", 60},
               {"+12", 12},  {"60", 60},           {"1", 1},            {"0", 1},
               {"0007", 7},  {"-99999999999", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    datadialog_c dialog;
    dialog.script = [&](datadialog_c& d) {
      d.settext(IDC_INTERVAL, c.typed);
      d.press(IDOK);
    };
    EXPECT_EQ(dialog.domodal(nullptr), IDOK);
    EXPECT_EQ(dialog.interval, c.value);
    EXPECT_FALSE(dialog.scriptleftitopen);
  }
}

// Not a whole number: the message, the focus back on the edit, the dialog stays open and the
// value as it was; a whole number then closes it.
TEST(DialogTest, AnythingButAWholeNumberKeepsTheDialogOpen) {
  setmessageboxcaption("Ravelink UI Test");
  for (const char* typed : {"abc", "", "1.5", "12abc", "- 3", "0x10", "   ", "5 5"}) {
    SCOPED_TRACE(typed);
    uitest::boxanswer_c answer(IDOK);
    datadialog_c dialog;
    dialog.interval = 33;
    bool stayedopen = false, focused = false;
    int during = 0;
    dialog.script = [&](datadialog_c& d) {
      d.settext(IDC_INTERVAL, typed);
      d.press(IDOK);
      stayedopen = d.open();
      focused = GetFocus() == d.item(IDC_INTERVAL);
      during = d.interval;
      d.settext(IDC_INTERVAL, "8");
      d.press(IDOK);
    };
    EXPECT_EQ(dialog.domodal(nullptr), IDOK);
    EXPECT_TRUE(stayedopen);
    EXPECT_TRUE(focused);
    EXPECT_EQ(during, 33);
    EXPECT_EQ(dialog.interval, 8);
    ASSERT_EQ(answer.boxes.size(), 1u);
    EXPECT_EQ(answer.boxes[0].text, "Please enter an integer.");
    EXPECT_EQ(answer.boxes[0].caption, "Ravelink UI Test");
    EXPECT_EQ(answer.boxes[0].type, (UINT)(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(answer.boxes[0].owner, nullptr);
  }
  setmessageboxcaption("");
}

TEST(DialogTest, CheckBoxesAndTextsGoBothWays) {
  datadialog_c dialog;
  dialog.beep = true;
  dialog.popup = 0;
  dialog.message.assign("Hello");
  dialog.messagelimit = 20;
  bool beepshown = false, popupshown = true;
  std::string messageshown;
  LRESULT limit = 0;
  dialog.script = [&](datadialog_c& d) {
    beepshown = IsDlgButtonChecked(d.hwnd(), IDC_BEEP) == BST_CHECKED;
    popupshown = IsDlgButtonChecked(d.hwnd(), IDC_POPUP) == BST_CHECKED;
    messageshown = d.gettext(IDC_MESSAGE);
    limit = SendMessageA(d.item(IDC_MESSAGE), EM_GETLIMITTEXT, 0, 0);
    SendMessageA(d.item(IDC_BEEP), BM_CLICK, 0, 0);
    SendMessageA(d.item(IDC_POPUP), BM_CLICK, 0, 0);
    // Text put in from outside the limit (a paste, WM_SETTEXT) is cut when taken back.
    d.settext(IDC_MESSAGE, "  0123456789abcdefghijKLMNOP");
    d.press(IDOK);
  };
  EXPECT_EQ(dialog.domodal(nullptr), IDOK);
  EXPECT_TRUE(beepshown);
  EXPECT_FALSE(popupshown);
  EXPECT_EQ(messageshown, "Hello");
  EXPECT_EQ(limit, 20);
  EXPECT_FALSE(dialog.beep);
  EXPECT_EQ(dialog.popup, 1);
  EXPECT_STREQ(dialog.message.text(), "  0123456789abcdefgh");
}

TEST(DialogTest, TheUpDownStepsTheEditWithinItsRange) {
  const struct {
    int start;
    UINT key;
    const char* after;
  } cases[] = {{5, VK_UP, "6"}, {5, VK_DOWN, "4"}, {60, VK_UP, "60"}, {1, VK_DOWN, "1"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start * 100 + c.key);
    datadialog_c dialog;
    dialog.interval = c.start;
    std::string after;
    int low = 0, high = 0, pos = 0;
    bool posok = false;
    HWND buddy = nullptr;
    dialog.script = [&](datadialog_c& d) {
      d.spin.range(low, high);
      buddy = d.spin.buddy();
      SendMessageA(d.item(IDC_INTERVAL), WM_KEYDOWN, c.key, 0);
      SendMessageA(d.item(IDC_INTERVAL), WM_KEYUP, c.key, 0xC0000001);
      after = d.gettext(IDC_INTERVAL);
      pos = d.spin.pos(&posok);
      d.press(IDOK);
    };
    EXPECT_EQ(dialog.domodal(nullptr), IDOK);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 60);
    EXPECT_NE(buddy, nullptr);
    EXPECT_EQ(after, c.after);
    EXPECT_TRUE(posok);
    EXPECT_EQ(pos, atoi(c.after));
    EXPECT_EQ(dialog.interval, atoi(c.after));
  }
}

TEST(DialogTest, ControlNotificationsReachTheirObjectBeforeTheDialog) {
  for (bool takeit : {true, false}) {
    SCOPED_TRACE(takeit);
    datadialog_c dialog;
    dialog.list.takeit = takeit;
    int before = 0;
    dialog.script = [&](datadialog_c& d) {
      before = d.list.changes;
      d.list.setitemstate(1, LVIS_SELECTED, LVIS_SELECTED);
      d.press(IDCANCEL);
    };
    EXPECT_EQ(dialog.domodal(nullptr), IDCANCEL);
    EXPECT_GT(dialog.list.changes, before);
    if (takeit) {
      EXPECT_EQ(dialog.parentsawchanges, 0);
    } else {
      EXPECT_EQ(dialog.parentsawchanges, dialog.list.changes);
    }
  }
}

TEST(DialogTest, ADialogThatCannotStartSaysSo) {
  class missing_c : public uidialog_c {
  public:
    missing_c() : uidialog_c(IDD_MISSING) {}
    bool started = false;

  protected:
    bool OnInit() override {
      started = true;
      return true;
    }
  } missing;
  EXPECT_EQ(missing.domodal(nullptr), -1);
  EXPECT_FALSE(missing.started);

  // A start that throws ends the dialog as cancelled; nothing escapes the dialog procedure.
  datadialog_c throwing;
  throwing.initthrows = true;
  EXPECT_EQ(throwing.domodal(nullptr), IDCANCEL);
  EXPECT_EQ(throwing.hwnd(), nullptr);
}

// A dialog that does not place itself opens over the middle of its owner, and inside the work
// area when the owner hangs off its edge.
TEST(DialogTest, ADialogOpensOverTheMiddleOfItsOwner) {
  RECT area = {0, 0, 0, 0};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const struct {
    const char* what;
    int left, top;
    int growby;
  } cases[] = {{"inside", area.left + 200, area.top + 150, 0},
               {"hanging off the left", area.left - 500, area.top + 100, 0},
               {"widening itself while it starts", area.left + 200, area.top + 150, 120}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, c.left, c.top, 600, 400, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    RECT placed = {0, 0, 0, 0};
    datadialog_c dialog;
    dialog.growby = c.growby;
    dialog.script = [&](datadialog_c& d) {
      GetWindowRect(d.hwnd(), &placed);
      d.press(IDCANCEL);
    };
    EXPECT_EQ(dialog.domodal(owner), IDCANCEL);
    DestroyWindow(owner);
    const int width = placed.right - placed.left;
    EXPECT_GT(width, 0);
    EXPECT_GE(placed.left, area.left);
    if (c.left >= area.left) {
      EXPECT_NEAR((placed.left + placed.right) / 2, c.left + 300, 1);
      EXPECT_NEAR((placed.top + placed.bottom) / 2, c.top + 200, 1);
    }
  }
}

TEST(DialogTest, WholeNumbersParse) {
  const struct {
    const char* text;
    bool ok;
    int value;
  } cases[] = {{"0", true, 0},           {"-0", true, 0},           {"2147483647", true, INT_MAX},
               {"2147483648", true, INT_MAX}, {"-2147483648", true, INT_MIN}, {"-2147483649", true, INT_MIN},
               {"\t42\t", true, 42},      {"4 2", false, 0},         {"++4", false, 0},
               {"", false, 0},            {nullptr, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    int value = -777;
    EXPECT_EQ(uidatax_c::parsenumber(c.text, value), c.ok);
    EXPECT_EQ(value, c.ok ? c.value : -777);
  }
}

}  // namespace
