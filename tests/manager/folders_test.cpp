// The Manager's folder tree on the real registry (the current user's personal folder list, saved
// and put back around every test) and real folders in a scratch directory: the real tree control
// in a hidden parent window of the test's own, driven by the messages a user's actions produce
// and read back with TVM_ messages. Message boxes are answered through the program's hook; the
// "Create new folder" dialog is the real one, filled in and closed from its owner's idle message.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "mailstore/mailboxfile.h"
#include "manager/folders.h"
#include "manager/newfolderdialog.h"
#include "manager/res/resource.h"
#include "tests/manager/personalfolders_kit.h"
#include "manager/ui/managermessagebox.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"

namespace {

const unsigned TREEID = 100;
const char TITLE[] = "Ravelink Manager";

// ---- the registry key ------------------------------------------------------------------------

using folderstest::savedfolders_c;
using folderstest::setfolder;
using folderstest::setfoldervalue;

// The value's type and text, or false when it is not there.
bool getvalue(const std::string& name, DWORD& type, std::string& text) {
  char data[1024] = "";
  DWORD size = sizeof data - 1;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, CManFolders::KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  bool ok = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS;
  RegCloseKey(key);
  text = data;
  return ok;
}

bool isdir(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isfile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// A personal folder as the program makes it: a directory with an empty mailbox file.
void makefolder(const std::string& dir) {
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << dir;
  mailboxfile_c file;
  ASSERT_TRUE(file.create((dir + "\\mailbox.rlb").c_str(), "Personal Mailbox"));
}

// ---- the parent window -------------------------------------------------------------------------

// One showing of the "Create new folder" dialog as the test plays it: edits typed one after the
// other (OK's state noted after each), then the button pressed.
struct dialogstep {
  std::vector<std::pair<std::string, std::string>> edits;   // name, location
  int button;
  std::string browseto = {};   // when set: Browse is pressed after the edits and this folder chosen
  int thenbutton = 0;          // pressed after button, for a dialog that must stay open
};

struct dialogseen {
  std::string name, location;   // what the dialog showed when it came up
  bool okatstart;
  std::vector<bool> okafter;    // OK enabled after each edit
  std::string browsed;          // the location after Browse
  bool okafterbrowse = false;
};

// The system's folder browser, answered as it comes up: the given folder is chosen and OK
// pressed. Notes the browser's texts.
class browseranswer_c {
public:
  explicit browseranswer_c(const std::string& folder) : choose(folder) {
    current() = this;
    hook = SetWindowsHookExA(WH_CBT, cbt, nullptr, GetCurrentThreadId());
  }
  ~browseranswer_c() {
    if (hook) UnhookWindowsHookEx(hook);
    current() = nullptr;
  }
  browseranswer_c(const browseranswer_c&) = delete;
  browseranswer_c& operator=(const browseranswer_c&) = delete;

  std::string choose;
  std::vector<std::string> texts;   // every static text of the browser
  HWND owner = nullptr;
  int shown = 0;

private:
  static browseranswer_c*& current() {
    static thread_local browseranswer_c* answer = nullptr;
    return answer;
  }
  static BOOL CALLBACK collect(HWND child, LPARAM param) {
    char cls[32] = "", text[512] = "";
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(cls, "Static") == 0 && text[0]) reinterpret_cast<browseranswer_c*>(param)->texts.push_back(text);
    return TRUE;
  }
  static LRESULT CALLBACK cbt(int code, WPARAM wparam, LPARAM lparam) {
    browseranswer_c* self = current();
    HWND window = reinterpret_cast<HWND>(wparam);
    char cls[32] = "";
    if (code == HCBT_ACTIVATE && self && GetClassNameA(window, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0 &&
        !GetDlgItem(window, IDC_NEWFOLDER_NAME) && !GetPropA(window, "answered")) {
      SetPropA(window, "answered", reinterpret_cast<HANDLE>(1));
      ++self->shown;
      self->owner = GetWindow(window, GW_OWNER);
      EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(self));
      // A browser that comes up cold may still be filling its tree: choose the folder again until
      // the tree shows it selected (at most about 10 s), then press OK.
      self->browser = window;
      self->tries = 0;
      SetTimer(nullptr, 0, 100, choosetimer);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static std::string selectedname(HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    if (!tree) return std::string();
    char text[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return std::string();
    return text;
  }
  static void CALLBACK choosetimer(HWND, UINT, UINT_PTR id, DWORD) {
    browseranswer_c* self = current();
    if (!self || !IsWindow(self->browser)) {
      KillTimer(nullptr, id);
      return;
    }
    SendMessageA(self->browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->choose.c_str()));
    std::string leaf = self->choose.substr(self->choose.find_last_of('\\') + 1);
    if (lstrcmpiA(selectedname(self->browser).c_str(), leaf.c_str()) == 0 || ++self->tries >= 100) {
      KillTimer(nullptr, id);
      PostMessageA(self->browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(self->browser, IDOK)));
    }
  }
  HHOOK hook = nullptr;
  HWND browser = nullptr;
  int tries = 0;
};

struct parentlog {
  std::vector<unsigned> commands;   // WM_COMMAND without a control: the popup's commands
  std::vector<UINT> notifies;       // tree notifications that reached the parent
  std::vector<UINT> popupitems;     // items of the last popup menu opened
  RECT menurect = {};
  std::function<void(HWND)> onmenuidle;
  std::vector<dialogstep> steps;    // played in order; Cancel when none is left
  std::vector<dialogseen> dialogs;
  int browsershown = 0;
  std::vector<std::string> browsertexts;
  HWND browserowner = nullptr;
  HWND dialogwindow = nullptr;
};

std::string itemtext(HWND dialog, int id) {
  char text[1024] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void playdialog(parentlog& log, HWND dialog) {
  if (GetPropA(dialog, "played")) return;
  SetPropA(dialog, "played", reinterpret_cast<HANDLE>(1));
  dialogseen seen;
  seen.name = itemtext(dialog, IDC_NEWFOLDER_NAME);
  seen.location = itemtext(dialog, IDC_NEWFOLDER_LOCATION);
  seen.okatstart = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
  int button = IDCANCEL, then = 0;
  if (!log.steps.empty()) {
    dialogstep step = log.steps.front();
    log.steps.erase(log.steps.begin());
    for (const auto& edit : step.edits) {
      SetDlgItemTextA(dialog, IDC_NEWFOLDER_NAME, edit.first.c_str());
      SetDlgItemTextA(dialog, IDC_NEWFOLDER_LOCATION, edit.second.c_str());
      seen.okafter.push_back(IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE);
    }
    if (!step.browseto.empty()) {
      // The browser runs its own loop inside the click; the answer object picks the folder.
      browseranswer_c answer(step.browseto);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEWFOLDER_BROWSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_NEWFOLDER_BROWSE)));
      seen.browsed = itemtext(dialog, IDC_NEWFOLDER_LOCATION);
      seen.okafterbrowse = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
      log.browsershown += answer.shown;
      log.browsertexts = answer.texts;
      log.browserowner = answer.owner;
      log.dialogwindow = dialog;
    }
    button = step.button;
    then = step.thenbutton;
  }
  log.dialogs.push_back(seen);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  if (then)
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(then, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, then)));
}

LRESULT CALLBACK parentproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* log = reinterpret_cast<parentlog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  LRESULT reflected = 0;
  if (uireflect(hwnd, msg, wparam, lparam, reflected)) return reflected;
  if (!log) return DefWindowProcA(hwnd, msg, wparam, lparam);
  switch (msg) {
    case WM_COMMAND:
      if (lparam == 0) log->commands.push_back(LOWORD(wparam));
      return 0;
    case WM_NOTIFY:
      log->notifies.push_back(reinterpret_cast<const NMHDR*>(lparam)->code);
      return 0;
    case WM_INITMENUPOPUP: {
      HMENU menu = reinterpret_cast<HMENU>(wparam);
      log->popupitems.clear();
      for (int i = 0; i < GetMenuItemCount(menu); ++i) log->popupitems.push_back(GetMenuItemID(menu, i) + 0u);
      return 0;
    }
    case WM_ENTERIDLE:
      if (wparam == MSGF_MENU && log->onmenuidle) {
        auto idle = std::move(log->onmenuidle);
        log->onmenuidle = nullptr;
        idle(reinterpret_cast<HWND>(lparam));
      } else if (wparam == MSGF_DIALOGBOX && GetDlgItem(reinterpret_cast<HWND>(lparam), IDC_NEWFOLDER_NAME)) {
        playdialog(*log, reinterpret_cast<HWND>(lparam));
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
    wc.lpszClassName = "FolderTreeTestParent";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    registered = RegisterClassA(&wc) != 0;
  }
  return "FolderTreeTestParent";
}

// What a selection asked of the main window.
class recorder_c : public CManFolders::Owner {
public:
  std::vector<std::string> calls;
  void ShowInbox() override { calls.push_back("inbox"); }
  void ShowOutbox() override { calls.push_back("outbox"); }
  void ShowNothing() override { calls.push_back("nothing"); }
  void ShowFolder(const char* directory) override { calls.push_back(std::string("folder ") + directory); }
};

// ---- reading the control back ------------------------------------------------------------------

HTREEITEM nextitem(HWND tree, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

struct iteminfo {
  std::string text;
  LPARAM kind;
  int image, selectedimage;
  bool expanded;
};

iteminfo readitem(HWND tree, HTREEITEM item) {
  char text[512] = "";
  TVITEMA tv = {};
  tv.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_HANDLE;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  tv.stateMask = TVIS_EXPANDED;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return {text, tv.lParam, tv.iImage, tv.iSelectedImage, (tv.state & TVIS_EXPANDED) != 0};
}

// The whole tree as text: "root[child,child] root[...]".
std::string treetext(HWND tree) {
  std::string out;
  for (HTREEITEM root = nextitem(tree, nullptr, TVGN_ROOT); root; root = nextitem(tree, root, TVGN_NEXT)) {
    if (!out.empty()) out += " ";
    out += readitem(tree, root).text + "[";
    bool first = true;
    for (HTREEITEM c = nextitem(tree, root, TVGN_CHILD); c; c = nextitem(tree, c, TVGN_NEXT)) {
      out += (first ? "" : ",") + readitem(tree, c).text;
      first = false;
    }
    out += "]";
  }
  return out;
}

HTREEITEM finditem(HWND tree, const std::string& text) {
  for (HTREEITEM root = nextitem(tree, nullptr, TVGN_ROOT); root; root = nextitem(tree, root, TVGN_NEXT)) {
    if (readitem(tree, root).text == text) return root;
    for (HTREEITEM c = nextitem(tree, root, TVGN_CHILD); c; c = nextitem(tree, c, TVGN_NEXT))
      if (readitem(tree, c).text == text) return c;
  }
  return nullptr;
}

int count(const std::vector<UINT>& codes, UINT code) {
  int n = 0;
  for (UINT c : codes) n += c == code;
  return n;
}

std::string selectedtext(HWND tree) {
  HTREEITEM item = nextitem(tree, nullptr, TVGN_CARET);
  return item ? readitem(tree, item).text : "(none)";
}

// ---- the fixture -------------------------------------------------------------------------------

class FoldersTest : public ::testing::Test {
protected:
  void SetUp() override {
    setmessageboxcaption(TITLE);
    parent = CreateWindowExA(0, parentclass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    SetWindowLongPtrA(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
    ASSERT_TRUE(tree.Create(parent, TREEID));
    SetWindowPos(tree.hwnd(), nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    tree.SetOwner(&shown);
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }

  std::string dir(const std::string& name) const { return scratch.path() + "\\" + name; }

  // Selects an item the way a click on it does.
  void select(CManFolders& t, const std::string& text) {
    HTREEITEM item = finditem(t.hwnd(), text);
    ASSERT_TRUE(item) << text;
    SendMessageA(t.hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }

  // A right click on the item's text (or on the empty space below the items); the cursor goes
  // there as the mouse would have moved it.
  void rightclick(CManFolders& t, const std::string& text) {
    POINT client = {150, 280};
    if (!text.empty()) {
      HTREEITEM item = finditem(t.hwnd(), text);
      ASSERT_TRUE(item) << text;
      RECT r = {};
      memcpy(&r, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
      ASSERT_TRUE(SendMessageA(t.hwnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
      client = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    POINT at = client;
    ClientToScreen(t.hwnd(), &at);
    SetCursorPos(at.x, at.y);
    uitest::pump();
    // The button goes up before the control looks for a drag: a click, not a drag.
    PostMessageA(t.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    SendMessageA(t.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
    uitest::pump();
  }

  savedfolders_c savedkey;
  scratchdir_c scratch;
  parentlog log;
  recorder_c shown;
  HWND parent = nullptr;
  CManFolders tree;
};

const char MAINGROUP[] = "Main Mailbox Folders";
const char PERSONALGROUP[] = "Personal Folders";

// ---- filling and selecting -----------------------------------------------------------------------

// Without the key: the two groups, Inbox and Outbox, both groups open, Inbox selected and shown.
TEST_F(FoldersTest, NoKeyGivesTwoGroupsWithInboxSelected) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(tree.hwnd(), GWL_STYLE));
  // The control takes WS_VSCROLL away itself while everything fits.
  const DWORD wanted = WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                       TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
  EXPECT_EQ(style & wanted, wanted);

  ASSERT_TRUE(tree.FillTree());
  HWND t = tree.hwnd();
  EXPECT_EQ(treetext(t), "Main Mailbox Folders[Inbox,Outbox] Personal Folders[]");
  EXPECT_EQ(selectedtext(t), "Inbox");
  EXPECT_EQ(shown.calls, std::vector<std::string>{"inbox"});
  EXPECT_EQ(tree.MainFolderSelected(), 1);
  EXPECT_STREQ(tree.FolderPath(), "");
  EXPECT_EQ(tree.PersonalFolderSelected(), 0);
  EXPECT_TRUE(readitem(t, finditem(t, MAINGROUP)).expanded);

  // Kinds and images: each item the same image selected or not, the groups sharing theirs.
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(t, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  ASSERT_TRUE(images);
  EXPECT_EQ(ImageList_GetImageCount(images), 4);
  const struct {
    const char* text;
    LPARAM kind;
  } items[] = {{MAINGROUP, 3}, {"Inbox", 1}, {"Outbox", 2}, {PERSONALGROUP, 3}};
  std::vector<int> imageof;
  for (const auto& i : items) {
    iteminfo info = readitem(t, finditem(t, i.text));
    EXPECT_EQ(info.kind, i.kind) << i.text;
    EXPECT_EQ(info.image, info.selectedimage) << i.text;
    imageof.push_back(info.image);
  }
  EXPECT_EQ(imageof[0], imageof[3]);
  EXPECT_NE(imageof[1], imageof[2]);
  EXPECT_NE(imageof[0], imageof[1]);

  // The other main items drive the main window as well; the notification stays with the tree.
  log.notifies.clear();
  select(tree, "Outbox");
  select(tree, MAINGROUP);
  EXPECT_EQ(shown.calls, (std::vector<std::string>{"inbox", "outbox", "nothing"}));
  EXPECT_EQ(tree.MainFolderSelected(), 0);
  EXPECT_EQ(count(log.notifies, TVN_SELCHANGEDA) + count(log.notifies, TVN_SELCHANGEDW), 0);

  // A second fill starts again at the Inbox, with no item twice.
  ASSERT_TRUE(tree.FillTree());
  EXPECT_EQ(treetext(t), "Main Mailbox Folders[Inbox,Outbox] Personal Folders[]");
  EXPECT_EQ(shown.calls.back(), "inbox");
  EXPECT_EQ(tree.MainFolderSelected(), 1);
}

// Every usable string value is a personal folder, in the key's order; a fill selects the one
// named (in any case), which opens its directory. Values that are no folder's never show.
TEST_F(FoldersTest, PersonalFoldersListedAndUntrustedValuesSkipped) {
  makefolder(dir("alpha"));
  makefolder(dir("beta"));
  makefolder(dir("gamma"));
  ASSERT_TRUE(setfolder("Alpha", dir("alpha")));
  std::string beta = dir("beta") + "\\";
  ASSERT_TRUE(setfoldervalue("Beta", REG_EXPAND_SZ, beta.c_str(), static_cast<DWORD>(beta.size() + 1)));
  std::string gamma = dir("gamma") + std::string("\0second\0\0", 9);
  ASSERT_TRUE(setfoldervalue("Gamma", REG_MULTI_SZ, gamma.data(), static_cast<DWORD>(gamma.size())));

  // Values no folder may come from.
  DWORD number = 7;
  ASSERT_TRUE(setfoldervalue("Number", REG_DWORD, &number, sizeof number));
  ASSERT_TRUE(setfoldervalue("Binary", REG_BINARY, dir("alpha").c_str(), static_cast<DWORD>(dir("alpha").size() + 1)));
  const std::pair<const char*, std::string> unusable[] = {
      {"Empty", ""},
      {"Relative", "alpha"},
      {"Rooted", "\\alpha"},
      {"Drive root", "C:\\"},
      {"Share root", "\\\\server\\share\\"},
      {"Device", "\\\\.\\C:\\x"},
      {"Up", scratch.path() + "\\alpha\\..\\.."},
      {"Wildcard", scratch.path() + "\\*"},
      {"Too long", scratch.path() + "\\" + std::string(300, 'x')},
  };
  for (const auto& u : unusable) ASSERT_TRUE(setfolder(u.first, u.second)) << u.first;
  // A directory of exactly 260 bytes without a terminator must not run into the next bytes.
  std::string full(260, 'y');
  full[0] = 'C';
  full[1] = ':';
  full[2] = '\\';
  ASSERT_TRUE(setfoldervalue("Unterminated", REG_SZ, full.data(), static_cast<DWORD>(full.size())));
  // A name too long to be a display name.
  ASSERT_TRUE(setfolder(std::string(300, 'n'), dir("alpha")));

  ASSERT_TRUE(tree.FillTree("BETA"));
  HWND t = tree.hwnd();
  EXPECT_EQ(treetext(t), "Main Mailbox Folders[Inbox,Outbox] Personal Folders[Alpha,Beta,Gamma]");
  EXPECT_TRUE(readitem(t, finditem(t, PERSONALGROUP)).expanded);
  EXPECT_EQ(readitem(t, finditem(t, "Alpha")).kind, 4);
  EXPECT_EQ(selectedtext(t), "Beta");
  EXPECT_EQ(shown.calls, std::vector<std::string>{"folder " + beta});
  EXPECT_EQ(tree.FolderPath(), beta);
  EXPECT_EQ(tree.MainFolderSelected(), 0);
  EXPECT_EQ(tree.PersonalFolderSelected(), 1);

  select(tree, "Gamma");
  EXPECT_EQ(shown.calls.back(), "folder " + dir("gamma"));
  select(tree, PERSONALGROUP);
  EXPECT_EQ(shown.calls.back(), "nothing");
  EXPECT_STREQ(tree.FolderPath(), "");

  // A name that is not there selects the Inbox.
  ASSERT_TRUE(tree.FillTree("Delta"));
  EXPECT_EQ(selectedtext(t), "Inbox");

  // A folder whose value went away meanwhile shows nothing and leaves no path.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, CManFolders::KEY, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  RegDeleteValueA(key, "Alpha");
  RegCloseKey(key);
  shown.calls.clear();
  select(tree, "Alpha");
  EXPECT_TRUE(shown.calls.empty());
  EXPECT_STREQ(tree.FolderPath(), "");
  EXPECT_EQ(tree.MainFolderSelected(), 0);
}

TEST(FoldersDirectory, OnlyFullPathsBelowARootAreUsable) {
  const struct {
    const char* path;
    bool usable;
  } cases[] = {
      {"C:\\Faxes", true},           {"c:\\Faxes\\2024\\", true},    {"\\\\server\\share\\faxes", true},
      {"C:\\", false},               {"C:", false},                  {"C:Faxes", false},
      {"\\Faxes", false},            {"Faxes", false},               {"", false},
      {"\\\\server\\share", false},  {"\\\\server\\share\\", false}, {"\\\\server", false},
      {"\\\\?\\C:\\Faxes", false},   {"\\\\.\\pipe\\x", false},      {"C:\\Faxes\\..", false},
      {"C:\\..\\Windows", false},    {"C:\\Faxes\\.\\x", false},     {"C:\\Faxes\\ . ", false},
      {"C:\\Fa*", false},            {"C:\\Faxes\\\\x", false},      {"C:\\Faxes:stream", false},
      {"C:/Faxes", false},           {"C:\\Fax\tes", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CManFolders::UsableDirectory(c.path), c.usable) << c.path;
  EXPECT_FALSE(CManFolders::UsableDirectory(nullptr));
  EXPECT_FALSE(CManFolders::UsableDirectory(("C:\\" + std::string(257, 'x')).c_str()));
}

// ---- creating ----------------------------------------------------------------------------------

// The first showing proposes "New Folder" in the program's directory; the new folder is made
// with an empty mailbox, entered in the key and selected at once.
TEST_F(FoldersTest, NewFolderIsSelectedAndEmpty) {
  ASSERT_TRUE(tree.FillTree());
  uitest::boxanswer_c boxes;
  log.steps.push_back({{{"Faxes 2024", scratch.path() + "\\"}}, IDOK});
  ASSERT_TRUE(tree.CreateFolder());

  ASSERT_EQ(log.dialogs.size(), 1u);
  EXPECT_EQ(log.dialogs[0].name, "New Folder");
  EXPECT_EQ(log.dialogs[0].location, CNewFolderDialog::ProgramDirectory().text());
  EXPECT_EQ(log.dialogs[0].location.back(), '\\');
  EXPECT_TRUE(log.dialogs[0].okatstart);
  EXPECT_TRUE(boxes.boxes.empty());

  std::string made = dir("Faxes 2024");
  ASSERT_TRUE(isdir(made));
  mailboxfile_c file;
  ASSERT_TRUE(file.open((made + "\\mailbox.rlb").c_str()));
  EXPECT_STREQ(file.header.mailboxname, "Personal Mailbox");
  eventrecord r;
  EXPECT_EQ(file.firstevent(&r), 0);
  file.close();

  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(getvalue("Faxes 2024", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, made);

  EXPECT_EQ(selectedtext(tree.hwnd()), "Faxes 2024");
  EXPECT_EQ(shown.calls.back(), "folder " + made);
  EXPECT_EQ(tree.FolderPath(), made);
}

// OK is there only with a name and an existing directory as location.
TEST_F(FoldersTest, DialogEnablesOkOnlyForANameInAnExistingDirectory) {
  ASSERT_TRUE(tree.FillTree());
  uitest::boxanswer_c boxes;
  log.steps.push_back({{{"x", scratch.path()},
                        {"", scratch.path()},
                        {"x", ""},
                        {"x", scratch.path() + "\\missing"},
                        {"x", scratch.path() + "\\mailbox.rlb.txt"},
                        {"x", scratch.path() + "\\"}},
                       IDCANCEL});
  writewhole(dir("mailbox.rlb.txt"), "a file, not a directory");
  EXPECT_FALSE(tree.CreateFolder());
  ASSERT_EQ(log.dialogs.size(), 1u);
  EXPECT_EQ(log.dialogs[0].okafter, (std::vector<bool>{true, false, false, false, false, true}));
  EXPECT_FALSE(isdir(dir("x")));
  EXPECT_TRUE(boxes.boxes.empty());

  // Enter (IDOK) while OK is disabled leaves the dialog open: only the Cancel after it ends it.
  log.dialogs.clear();
  log.steps.push_back({{{"", scratch.path()}}, IDOK, "", IDCANCEL});
  EXPECT_FALSE(tree.CreateFolder());
  EXPECT_EQ(log.dialogs.size(), 1u);
  EXPECT_TRUE(boxes.boxes.empty());
  DWORD type;
  std::string data;
  EXPECT_FALSE(getvalue("", type, data));
}

// Browse offers the system's folder browser with its own title; the folder chosen there becomes
// the location, the name typed stays, and OK follows the new location.
TEST_F(FoldersTest, BrowseSetsTheLocation) {
  ASSERT_TRUE(CreateDirectoryA(dir("chosen").c_str(), nullptr));
  ASSERT_TRUE(tree.FillTree());
  uitest::boxanswer_c boxes;
  dialogstep step{{{"Browsed", scratch.path() + "\\missing"}}, IDOK, dir("chosen")};
  log.steps.push_back(step);
  ASSERT_TRUE(tree.CreateFolder());
  ASSERT_EQ(log.dialogs.size(), 1u);
  EXPECT_EQ(log.dialogs[0].okafter, std::vector<bool>{false});
  EXPECT_EQ(log.browsershown, 1);
  EXPECT_EQ(log.browserowner, log.dialogwindow);
  EXPECT_NE(std::find(log.browsertexts.begin(), log.browsertexts.end(),
                      "Select directory where the personal mailbox will be created."),
            log.browsertexts.end());
  EXPECT_EQ(log.dialogs[0].browsed, dir("chosen"));
  EXPECT_TRUE(log.dialogs[0].okafterbrowse);
  EXPECT_TRUE(isfile(dir("chosen\\Browsed\\mailbox.rlb")));
  EXPECT_EQ(selectedtext(tree.hwnd()), "Browsed");
}

// A refused name or location shows its message and brings the dialog back with what was typed;
// nothing is made until a name and directory are free.
TEST_F(FoldersTest, RefusedNamesAndDirectoriesComeBackToTheDialog) {
  makefolder(dir("alpha"));
  ASSERT_TRUE(setfolder("Alpha", dir("alpha")));
  ASSERT_TRUE(CreateDirectoryA(dir("Taken").c_str(), nullptr));
  ASSERT_TRUE(tree.FillTree());
  uitest::boxanswer_c boxes;
  log.steps.push_back({{{"ALPHA", scratch.path()}}, IDOK});
  log.steps.push_back({{{"Taken", scratch.path()}}, IDOK});
  log.steps.push_back({{}, IDCANCEL});
  EXPECT_FALSE(tree.CreateFolder());

  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, "Name of folder already exists. Please specify a different name.");
  EXPECT_EQ(boxes.boxes[1].text,
            "The directory '" + dir("Taken") + "' already exists. Please specify a different location.");
  for (const auto& b : boxes.boxes) {
    EXPECT_EQ(b.caption, TITLE);
    EXPECT_EQ(b.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(b.owner, parent);
  }
  ASSERT_EQ(log.dialogs.size(), 3u);
  EXPECT_EQ(log.dialogs[1].name, "ALPHA");
  EXPECT_EQ(log.dialogs[1].location, scratch.path());
  EXPECT_EQ(log.dialogs[2].name, "Taken");
  EXPECT_EQ(log.dialogs[2].location, scratch.path());

  EXPECT_FALSE(isdir(dir("ALPHA\\ALPHA")));
  EXPECT_FALSE(isfile(dir("Taken\\mailbox.rlb")));
  DWORD type;
  std::string data;
  EXPECT_FALSE(getvalue("Taken", type, data));
  EXPECT_EQ(treetext(tree.hwnd()), "Main Mailbox Folders[Inbox,Outbox] Personal Folders[Alpha]");
}

// A directory that cannot be made ends the command with message 142. A name with path parts
// counts as such: it would make a directory outside the location.
TEST_F(FoldersTest, DirectoryThatCannotBeMadeEndsTheCommand) {
  ASSERT_TRUE(CreateDirectoryA(dir("sub").c_str(), nullptr));
  ASSERT_TRUE(tree.FillTree());
  const struct {
    const char* name;
    std::string location;
  } cases[] = {
      {"sub\\inner", scratch.path()},              // would be made inside "sub"
      {"a:b", scratch.path()},
      {"inner", scratch.path() + "\\sub\\"},      // fine: made below
  };
  for (const auto& c : cases) {
    uitest::boxanswer_c boxes;
    log.steps.push_back({{{c.name, c.location}}, IDOK});
    std::string path = c.location;
    if (path.back() != '\\') path += "\\";
    path += c.name;
    bool made = tree.CreateFolder();
    if (std::string(c.name) == "inner") {
      EXPECT_TRUE(made);
      EXPECT_TRUE(isfile(path + "\\mailbox.rlb"));
      EXPECT_TRUE(boxes.boxes.empty());
      continue;
    }
    EXPECT_FALSE(made) << c.name;
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes.boxes[0].text, "Could not create directory '" + path + "'. Operaion aborted.");
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_FALSE(isdir(path)) << c.name;
    DWORD type;
    std::string data;
    EXPECT_FALSE(getvalue(c.name, type, data)) << c.name;
  }
}

// ---- deleting ----------------------------------------------------------------------------------

// No keeps the folder, its files and its value; Yes removes all three and goes back to the Inbox.
TEST_F(FoldersTest, DeleteAsksAndRemovesFolderFilesAndValue) {
  makefolder(dir("alpha"));
  ASSERT_TRUE(writewhole(dir("alpha\\00000001.TIF"), "fax"));
  makefolder(dir("beta"));
  ASSERT_TRUE(setfolder("Alpha", dir("alpha")));
  ASSERT_TRUE(setfolder("Beta", dir("beta")));

  ASSERT_TRUE(tree.FillTree());
  {
    uitest::boxanswer_c boxes;
    EXPECT_FALSE(tree.DeleteFolder());   // the Inbox is no personal folder
    EXPECT_TRUE(boxes.boxes.empty());
  }
  ASSERT_TRUE(tree.FillTree("alpha"));

  {
    uitest::boxanswer_c boxes(IDNO);
    EXPECT_TRUE(tree.DeleteFolder());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "This operation will delete all the mails in the folder and cannot be undone! Are you sure?");
    EXPECT_EQ(boxes.boxes[0].caption, TITLE);
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
  }
  EXPECT_TRUE(isfile(dir("alpha\\mailbox.rlb")));
  EXPECT_TRUE(isfile(dir("alpha\\00000001.TIF")));
  DWORD type;
  std::string data;
  EXPECT_TRUE(getvalue("Alpha", type, data));
  EXPECT_EQ(selectedtext(tree.hwnd()), "Alpha");

  {
    uitest::boxanswer_c boxes(IDYES);
    shown.calls.clear();
    EXPECT_TRUE(tree.DeleteFolder());
    EXPECT_EQ(boxes.boxes.size(), 1u);
  }
  EXPECT_FALSE(isdir(dir("alpha")));
  EXPECT_FALSE(getvalue("Alpha", type, data));
  EXPECT_TRUE(isfile(dir("beta\\mailbox.rlb")));
  EXPECT_EQ(treetext(tree.hwnd()), "Main Mailbox Folders[Inbox,Outbox] Personal Folders[Beta]");
  EXPECT_EQ(selectedtext(tree.hwnd()), "Inbox");
  EXPECT_EQ(shown.calls, std::vector<std::string>{"inbox"});
}

// A value pointing at a directory that is no personal folder (no mailbox file there) loses its
// entry, never the files of that directory.
TEST_F(FoldersTest, DeleteNeverEmptiesADirectoryThatIsNoPersonalFolder) {
  ASSERT_TRUE(CreateDirectoryA(dir("documents").c_str(), nullptr));
  ASSERT_TRUE(writewhole(dir("documents\\precious.txt"), "keep me"));
  ASSERT_TRUE(setfolder("Documents", dir("documents")));
  ASSERT_TRUE(tree.FillTree("Documents"));
  uitest::boxanswer_c boxes(IDYES);
  EXPECT_TRUE(tree.DeleteFolder());
  DWORD type;
  std::string data;
  EXPECT_FALSE(getvalue("Documents", type, data));
  EXPECT_EQ(readwhole(dir("documents\\precious.txt")), "keep me");
  EXPECT_EQ(selectedtext(tree.hwnd()), "Inbox");
}

// ---- right clicks ------------------------------------------------------------------------------

// A right click selects the item under the cursor; only a personal folder opens the Folders
// popup beside the cursor, whose command goes to the main window.
TEST_F(FoldersTest, RightClicksSelectAndOnlyPersonalFoldersShowTheMenu) {
  makefolder(dir("alpha"));
  ASSERT_TRUE(setfolder("Alpha", dir("alpha")));
  ASSERT_TRUE(tree.FillTree());
  HWND t = tree.hwnd();

  select(tree, "Outbox");
  rightclick(tree, "Inbox");
  EXPECT_EQ(selectedtext(t), "Inbox");
  EXPECT_EQ(shown.calls.back(), "inbox");
  EXPECT_TRUE(log.popupitems.empty());

  rightclick(tree, PERSONALGROUP);
  EXPECT_EQ(selectedtext(t), PERSONALGROUP);
  EXPECT_TRUE(log.popupitems.empty());

  // Below the items nothing changes.
  rightclick(tree, "");
  EXPECT_EQ(selectedtext(t), PERSONALGROUP);
  EXPECT_TRUE(log.popupitems.empty());
  EXPECT_TRUE(log.commands.empty());

  log.onmenuidle = [&](HWND menuwindow) {
    GetWindowRect(menuwindow, &log.menurect);
    PostMessageA(menuwindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuwindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuwindow, WM_KEYDOWN, VK_RETURN, 0);
  };
  rightclick(tree, "Alpha");
  EXPECT_EQ(selectedtext(t), "Alpha");
  EXPECT_EQ(shown.calls.back(), "folder " + dir("alpha"));
  EXPECT_EQ(log.popupitems, (std::vector<UINT>{ID_FOLDER_NEW, ID_FOLDER_DELETE}));
  EXPECT_EQ(log.commands, std::vector<unsigned>{ID_FOLDER_DELETE});
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(log.menurect.left, cursor.x + 2);
  EXPECT_EQ(log.menurect.top, cursor.y + 2);
  // None of the clicks reached the parent: the tree handled them.
  EXPECT_EQ(count(log.notifies, NM_RCLICK), 0);
  EXPECT_EQ(count(log.notifies, TVN_SELCHANGEDA) + count(log.notifies, TVN_SELCHANGEDW), 0);
}

// ---- the Move dialog's copy --------------------------------------------------------------------

// The embedded copy records the choice but never drives the main window; its parent sees the
// selection changes, and the right clicks on personal folders, itself.
TEST_F(FoldersTest, EmbeddedCopyOnlyRecordsTheChoice) {
  makefolder(dir("alpha"));
  ASSERT_TRUE(setfolder("Alpha", dir("alpha")));
  ASSERT_TRUE(tree.FillTree());
  shown.calls.clear();

  CManFolders chooser;
  chooser.Embedded = 1;
  ASSERT_TRUE(chooser.Create(parent, TREEID + 1));
  SetWindowPos(chooser.hwnd(), nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  chooser.SetOwner(&shown);
  log.notifies.clear();
  ASSERT_TRUE(chooser.FillTree());
  EXPECT_EQ(selectedtext(chooser.hwnd()), "Inbox");
  EXPECT_EQ(chooser.MainFolderSelected(), 1);

  select(chooser, "Alpha");
  EXPECT_EQ(chooser.FolderPath(), dir("alpha"));
  EXPECT_EQ(chooser.MainFolderSelected(), 0);
  select(chooser, "Outbox");
  EXPECT_EQ(chooser.MainFolderSelected(), 1);
  select(chooser, MAINGROUP);
  EXPECT_EQ(chooser.MainFolderSelected(), 0);
  EXPECT_STREQ(chooser.FolderPath(), "");

  EXPECT_TRUE(shown.calls.empty());
  EXPECT_EQ(count(log.notifies, TVN_SELCHANGEDA) + count(log.notifies, TVN_SELCHANGEDW), 4);

  log.notifies.clear();
  rightclick(chooser, "Alpha");
  EXPECT_EQ(selectedtext(chooser.hwnd()), "Alpha");
  EXPECT_TRUE(log.popupitems.empty());
  EXPECT_EQ(count(log.notifies, NM_RCLICK), 1);
  EXPECT_TRUE(shown.calls.empty());
  // The main tree kept its own selection.
  EXPECT_EQ(selectedtext(tree.hwnd()), "Inbox");
}

}  // namespace
