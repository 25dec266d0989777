// The "Move Event to Folder..." dialog with the real folder tree over the real registry (the
// current user's personal folder list, kept aside and put back around every test) and real
// folders in a scratch directory. The dialog comes from the program's own resources and runs
// modally; a script posted into its modal loop selects tree items with the messages a click
// produces and presses the buttons. The choice is read from the dialog object after it closed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "mailstore/mailboxfile.h"
#include "manager/folders.h"
#include "manager/movedialog.h"
#include "manager/res/resource.h"
#include "tests/manager/personalfolders_kit.h"
#include "tests/managerui/uitesthelp.h"
#include "tests/support/testsupport.h"

namespace {

const UINT WM_SCRIPT = WM_APP + 45;

using folderstest::savedfolders_c;

// What a selection asked of the main window: the Move dialog's tree must never ask anything.
class recorder_c : public CManFolders::Owner {
public:
  std::vector<std::string> calls;
  void ShowInbox() override { calls.push_back("inbox"); }
  void ShowOutbox() override { calls.push_back("outbox"); }
  void ShowNothing() override { calls.push_back("nothing"); }
  void ShowFolder(const char* directory) override { calls.push_back(std::string("folder ") + directory); }
};

// The real dialog with a script that runs once it has started. A script that leaves the dialog
// open is ended for it (IDABORT), so no test can hang in the modal loop.
class probe_c : public CMoveDlg {
public:
  std::function<void(probe_c&)> script;
  bool scriptran = false;

  HWND tree() const { return item(IDC_MOVE_TREE); }
  std::string itemtext(HTREEITEM at) const {
    char text[300] = "";
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = at;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
  }
  HTREEITEM next(HTREEITEM at, UINT code) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(at)));
  }
  HTREEITEM find(const std::string& text) const {
    for (HTREEITEM root = next(nullptr, TVGN_ROOT); root; root = next(root, TVGN_NEXT)) {
      if (itemtext(root) == text) return root;
      for (HTREEITEM child = next(root, TVGN_CHILD); child; child = next(child, TVGN_NEXT))
        if (itemtext(child) == text) return child;
    }
    return nullptr;
  }
  std::string selected() const {
    HTREEITEM at = next(nullptr, TVGN_CARET);
    return at ? itemtext(at) : "(none)";
  }
  // Selects an item the way a click on it does; false when there is no such item.
  bool select(const std::string& text) {
    HTREEITEM at = find(text);
    if (!at) return false;
    SendMessageA(tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(at));
    return true;
  }
  bool okenabled() const { return IsWindowEnabled(item(IDOK)) != FALSE; }
  void press(int id) { SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id))); }
  bool open() const { return hwnd() && IsWindow(hwnd()) && !ending(); }

protected:
  bool OnInit() override {
    bool focus = CMoveDlg::OnInit();
    PostMessageA(hwnd(), WM_SCRIPT, 0, 0);
    return focus;
  }
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override {
    if (msg != WM_SCRIPT) return CMoveDlg::OnMessage(msg, wparam, lparam, result);
    scriptran = true;
    if (script) script(*this);
    if (!ending()) enddialog(IDABORT);
    result = TRUE;
    return true;
  }
};

class MoveDialog : public ::testing::Test {
protected:
  void SetUp() override {
    archive = scratch.path() + "\\archive";
    ASSERT_TRUE(CreateDirectoryA(archive.c_str(), nullptr));
    mailboxfile_c file;
    ASSERT_TRUE(file.create((archive + "\\mailbox.rlb").c_str(), "Personal Mailbox"));
    ASSERT_TRUE(folderstest::setfolder("Archive", archive));
  }

  INT_PTR run(probe_c& dialog) {
    dialog.Tree.SetOwner(&mainwindow);
    INT_PTR result = dialog.domodal(nullptr);
    EXPECT_TRUE(dialog.scriptran);
    EXPECT_TRUE(mainwindow.calls.empty()) << mainwindow.calls.front();
    return result;
  }

  savedfolders_c savedfolders;
  scratchdir_c scratch;
  std::string archive;
  recorder_c mainwindow;
};

// The tree comes up with Inbox selected; OK follows the selection: off on the two group nodes,
// on for Inbox, Outbox and a personal folder. A disabled OK does not close the dialog, not even
// by Enter.
TEST_F(MoveDialog, OkOnlyForAFolder) {
  probe_c dialog;
  std::string first;
  bool okatstart = false, closedwhiledisabled = true, copyatstart = true;
  std::vector<std::pair<std::string, bool>> ok;
  dialog.script = [&](probe_c& d) {
    first = d.selected();
    okatstart = d.okenabled();
    copyatstart = IsDlgButtonChecked(d.hwnd(), IDC_MOVE_COPY) == BST_CHECKED;
    for (const char* name : {"Main Mailbox Folders", "Outbox", "Personal Folders", "Archive", "Inbox",
                             "Personal Folders"}) {
      bool found = d.select(name);
      ok.push_back({name, found && d.selected() == name && d.okenabled()});
    }
    SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);   // Enter
    closedwhiledisabled = !d.open();
    d.press(IDCANCEL);
  };
  EXPECT_EQ(run(dialog), IDCANCEL);
  EXPECT_EQ(first, "Inbox");
  EXPECT_TRUE(okatstart);
  EXPECT_FALSE(copyatstart);
  EXPECT_EQ(ok, (std::vector<std::pair<std::string, bool>>{{"Main Mailbox Folders", false},
                                                           {"Outbox", true},
                                                           {"Personal Folders", false},
                                                           {"Archive", true},
                                                           {"Inbox", true},
                                                           {"Personal Folders", false}}));
  EXPECT_FALSE(closedwhiledisabled);
}

// After OK the caller reads the choice from the dialog object, its window gone: a personal
// folder gives its directory and the copy flag; Inbox gives the main mailbox and no directory.
TEST_F(MoveDialog, TheChoiceOutlivesTheWindow) {
  const struct {
    const char* choose;
    bool copy;
    int mainfolder;
    bool folder;   // FolderPath is the personal folder's directory (else empty)
  } cases[] = {{"Archive", true, 0, true}, {"Inbox", false, 1, false}, {"Outbox", true, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choose);
    probe_c dialog;
    dialog.script = [&](probe_c& d) {
      ASSERT_TRUE(d.select(c.choose));
      if (c.copy) SendMessageA(d.item(IDC_MOVE_COPY), BM_CLICK, 0, 0);
      d.press(IDOK);
    };
    EXPECT_EQ(run(dialog), IDOK);
    EXPECT_FALSE(IsWindow(dialog.hwnd()));
    EXPECT_EQ(dialog.Copy, c.copy ? 1 : 0);
    EXPECT_EQ(dialog.Tree.MainFolderSelected(), c.mainfolder);
    EXPECT_STREQ(dialog.Tree.FolderPath(), c.folder ? archive.c_str() : "");
  }
}

}  // namespace
