// The "Manager options" dialog on the real RIROVEVI.INI of the prefix (section Options kept aside
// and put back around every test): the dialog from the program's own resources, run modally; a
// script posted into its modal loop reads the controls, types and clicks as a user would and
// presses OK or Cancel. What was written is read back from the file itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "manager/optionsdialog.h"
#include "manager/res/resource.h"
#include "tests/manager/mainframe_kit.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"

namespace {

using frametest::inisections_c;

const UINT WM_SCRIPT = WM_APP + 43;

// The real dialog with a script that runs once it has started. A script that leaves the dialog
// open is ended for it (IDABORT), so no test can hang in the modal loop.
class probe_c : public COptionsDlg {
public:
  std::function<void(probe_c&)> script;
  bool scriptran = false;

  std::string text(int id) const {
    char buffer[1024] = "";
    GetDlgItemTextA(hwnd(), id, buffer, sizeof buffer);
    return buffer;
  }
  bool checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
  void settext(int id, const char* value) { SetDlgItemTextA(hwnd(), id, value); }
  // Typing over the whole field: the characters reach the edit as the keyboard delivers them.
  void type(int id, const char* chars) {
    HWND edit = item(id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* p = chars; *p; ++p) SendMessageA(edit, WM_CHAR, static_cast<BYTE>(*p), 1);
  }
  void key(int id, UINT vk) {
    SendMessageA(item(id), WM_KEYDOWN, vk, 1);
    SendMessageA(item(id), WM_KEYUP, vk, 0xC0000001);
  }
  void click(int id) { SendMessageA(item(id), BM_CLICK, 0, 0); }
  void press(int id) { SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id))); }
  bool open() const { return hwnd() && IsWindow(hwnd()) && !ending(); }

protected:
  bool OnInit() override {
    bool focus = COptionsDlg::OnInit();
    PostMessageA(hwnd(), WM_SCRIPT, 0, 0);
    return focus;
  }
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override {
    if (msg != WM_SCRIPT) return COptionsDlg::OnMessage(msg, wparam, lparam, result);
    scriptran = true;
    if (script) script(*this);
    if (!ending()) enddialog(IDABORT);
    result = TRUE;
    return true;
  }
};

INT_PTR run(probe_c& dialog) {
  INT_PTR result = dialog.domodal(nullptr);
  EXPECT_TRUE(dialog.scriptran);
  return result;
}

// The file as it lies in the Windows directory.
std::string inipath() {
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  return std::string(windows) + "\\RIROVEVI.INI";
}

// The lines of section Options, exactly as the file holds them (the profile calls would strip
// the blanks around a value).
std::vector<std::string> rawsection() {
  std::vector<std::string> lines;
  std::string file = readwhole(inipath());
  bool inside = false;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find('\n', start);
    if (end == std::string::npos) end = file.size();
    std::string line = file.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (!line.empty() && line[0] == '[') {
      inside = lstrcmpiA(line.c_str(), "[Options]") == 0;
      continue;
    }
    if (inside && !line.empty()) lines.push_back(line);
  }
  return lines;
}

class OptionsDialog : public ::testing::Test {
protected:
  void SetUp() override { setmessageboxcaption("Ravelink Manager"); }
  inisections_c saved;   // every test starts with no Options section
};

// What the dialog shows for what the file holds; Cancel leaves the file exactly as it was.
TEST_F(OptionsDialog, ShowsTheFileClampedAndCancelWritesNothing) {
  const struct {
    const char* scantime;   // null: no value
    const char* shown;
  } cases[] = {{nullptr, "5"}, {"0", "1"}, {"90", "60"}, {"-3", "1"}, {"60", "60"}, {"17", "17"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scantime ? c.scantime : "(none)");
    WritePrivateProfileStringA("Options", nullptr, nullptr, "RIROVEVI.INI");
    if (c.scantime) inisections_c::set("Options", "ScanTime", c.scantime);
    std::vector<std::string> before = rawsection();
    probe_c dialog;
    std::string shown;
    int low = 0, high = 0;
    HWND buddy = nullptr, edit = nullptr;
    bool beep = true, popupnew = false, popupfailed = false;
    std::string messagenew = "?", messagefailed = "?";
    dialog.script = [&](probe_c& d) {
      shown = d.text(IDC_OPTIONS_INTERVAL);
      SendDlgItemMessageA(d.hwnd(), IDC_OPTIONS_INTERVALSPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                          reinterpret_cast<LPARAM>(&high));
      buddy = reinterpret_cast<HWND>(SendDlgItemMessageA(d.hwnd(), IDC_OPTIONS_INTERVALSPIN, UDM_GETBUDDY, 0, 0));
      edit = d.item(IDC_OPTIONS_INTERVAL);
      beep = d.checked(IDC_OPTIONS_BEEP);
      popupnew = d.checked(IDC_OPTIONS_POPUPNEW);
      popupfailed = d.checked(IDC_OPTIONS_POPUPFAILED);
      messagenew = d.text(IDC_OPTIONS_MESSAGENEW);
      messagefailed = d.text(IDC_OPTIONS_MESSAGEFAILED);
      // Changes made and then cancelled never reach the file.
      d.type(IDC_OPTIONS_INTERVAL, "33");
      d.click(IDC_OPTIONS_BEEP);
      d.settext(IDC_OPTIONS_MESSAGENEW, "changed");
      d.press(IDCANCEL);
    };
    EXPECT_EQ(run(dialog), IDCANCEL);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 60);
    EXPECT_EQ(buddy, edit);
    EXPECT_NE(buddy, nullptr);
    EXPECT_FALSE(beep);
    EXPECT_TRUE(popupnew);
    EXPECT_TRUE(popupfailed);
    EXPECT_EQ(messagenew, "");
    EXPECT_EQ(messagefailed, "");
    EXPECT_EQ(rawsection(), before);
  }
}

// Flags are true when not 0; messages come in at most 255 characters; the arrows stay in 1..60.
TEST_F(OptionsDialog, ShowsFlagsAndMessagesAndTheArrowsKeepTheRange) {
  inisections_c::set("Options", "ScanTime", "60");
  inisections_c::set("Options", "BeepNew", "2");
  inisections_c::set("Options", "PopupNew", "0");
  inisections_c::set("Options", "PopupFailed", "0");
  inisections_c::set("Options", "MessageNew", "A new fax is waiting");
  std::string longmessage(300, 'm');
  inisections_c::set("Options", "MessageFailed", longmessage.c_str());
  probe_c dialog;
  bool beep = false, popupnew = true, popupfailed = true;
  std::string messagenew, messagefailed, afterup, afterdown;
  LRESULT limit = 0;
  dialog.script = [&](probe_c& d) {
    beep = d.checked(IDC_OPTIONS_BEEP);
    popupnew = d.checked(IDC_OPTIONS_POPUPNEW);
    popupfailed = d.checked(IDC_OPTIONS_POPUPFAILED);
    messagenew = d.text(IDC_OPTIONS_MESSAGENEW);
    messagefailed = d.text(IDC_OPTIONS_MESSAGEFAILED);
    limit = SendDlgItemMessageA(d.hwnd(), IDC_OPTIONS_MESSAGENEW, EM_GETLIMITTEXT, 0, 0);
    SetFocus(d.item(IDC_OPTIONS_INTERVAL));
    d.key(IDC_OPTIONS_INTERVAL, VK_UP);
    afterup = d.text(IDC_OPTIONS_INTERVAL);
    d.key(IDC_OPTIONS_INTERVAL, VK_DOWN);
    afterdown = d.text(IDC_OPTIONS_INTERVAL);
    d.press(IDCANCEL);
  };
  EXPECT_EQ(run(dialog), IDCANCEL);
  EXPECT_TRUE(beep);
  EXPECT_FALSE(popupnew);
  EXPECT_FALSE(popupfailed);
  EXPECT_EQ(messagenew, "A new fax is waiting");
  EXPECT_EQ(messagefailed, std::string(255, 'm'));
  EXPECT_EQ(limit, 255);
  EXPECT_EQ(afterup, "60");
  EXPECT_EQ(afterdown, "59");
}

// OK writes every value in the usual order: the interval clamped and in decimal, flags as 1 or
// 0, messages without the blanks around them, an empty message empty.
TEST_F(OptionsDialog, OkWritesEveryValueInOrder) {
  probe_c dialog;
  dialog.script = [](probe_c& d) {
    d.type(IDC_OPTIONS_INTERVAL, "75");
    d.click(IDC_OPTIONS_BEEP);          // off -> on
    d.click(IDC_OPTIONS_POPUPFAILED);   // on -> off
    d.settext(IDC_OPTIONS_MESSAGENEW, "  \tNew faxes have arrived.  ");
    d.settext(IDC_OPTIONS_MESSAGEFAILED, "   ");
    d.press(IDOK);
  };
  EXPECT_EQ(run(dialog), IDOK);
  EXPECT_EQ(rawsection(), (std::vector<std::string>{"ScanTime=60", "BeepNew=1", "PopupNew=1", "PopupFailed=0",
                                                    "MessageFailed=", "MessageNew=New faxes have arrived."}));

  // A second showing starts from what was written, and takes the lowest interval as it is.
  probe_c again;
  std::string shown;
  again.script = [&](probe_c& d) {
    shown = d.text(IDC_OPTIONS_INTERVAL);
    d.type(IDC_OPTIONS_INTERVAL, "1");
    d.press(IDOK);
  };
  EXPECT_EQ(run(again), IDOK);
  EXPECT_EQ(shown, "60");
  EXPECT_EQ(inisections_c::get("Options", "ScanTime"), "1");
  EXPECT_EQ(inisections_c::get("Options", "BeepNew"), "1");
  EXPECT_EQ(inisections_c::get("Options", "MessageNew"), "New faxes have arrived.");
}

// An interval that is no whole number: the platform's message, the dialog stays open and nothing
// is written; a whole number then closes it.
TEST_F(OptionsDialog, NoWholeNumberKeepsTheDialogOpenAndWritesNothing) {
  uitest::boxanswer_c answer(IDOK);
  probe_c dialog;
  bool stayedopen = false;
  std::vector<std::string> during = {"?"};
  dialog.script = [&](probe_c& d) {
    d.settext(IDC_OPTIONS_INTERVAL, "ten");
    d.press(IDOK);
    stayedopen = d.open();
    during = rawsection();
    d.settext(IDC_OPTIONS_INTERVAL, "12");
    d.press(IDOK);
  };
  EXPECT_EQ(run(dialog), IDOK);
  EXPECT_TRUE(stayedopen);
  EXPECT_TRUE(during.empty());
  ASSERT_EQ(answer.boxes.size(), 1u);
  EXPECT_EQ(answer.boxes[0].text, "Please enter an integer.");
  EXPECT_EQ(inisections_c::get("Options", "ScanTime"), "12");
}

// A line break inside a message must not break the file open: the rest of the text cannot
// become a key or a section of its own.
TEST_F(OptionsDialog, LineBreaksInAMessageStayInsideItsValue) {
  probe_c dialog;
  std::string held;
  dialog.script = [&](probe_c& d) {
    d.settext(IDC_OPTIONS_MESSAGENEW, "Fax\r\n[Directories]\r\nMailbox=C:\\elsewhere");
    d.settext(IDC_OPTIONS_MESSAGEFAILED, "Failed\r\nScanTime=0\r\n");
    held = d.text(IDC_OPTIONS_MESSAGENEW);
    d.press(IDOK);
  };
  EXPECT_EQ(run(dialog), IDOK);
  if (held.find('\n') == std::string::npos) GTEST_SKIP() << "the edit control dropped the line break itself";
  EXPECT_FALSE(inisections_c::has("Directories", "Mailbox"));
  std::vector<std::string> lines = rawsection();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "ScanTime=5");
  EXPECT_EQ(lines[4], "MessageFailed=Failed  ScanTime=0");
  EXPECT_EQ(lines[5], "MessageNew=Fax  [Directories]  Mailbox=C:\\elsewhere");
}

}  // namespace
