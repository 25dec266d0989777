#pragma once
// The folder tree of the Manager's left pane: "Main Mailbox Folders" with Inbox and Outbox (the
// two directions of the user's own mailbox) and "Personal Folders" with the user's personal
// folders. A personal folder is a directory holding its own mailbox.rlb; the list lives in
// HKEY_CURRENT_USER\Software\Tavikon\Virerure Client 7.00\Personal Folders, one string value
// per folder: the display name, and the directory as data.
//
// Selecting an item tells the owner which mailbox to show. A second copy of the tree serves as
// the chooser of the Move dialog: with Embedded set it only records the choice and leaves the
// notifications to its dialog.
//
// Everything in the key is untrusted: values that are not strings, names or directories that do
// not fit, and directories that are no full path of a folder are never listed, shown or emptied.
#include <windows.h>
#include <commctrl.h>

#include "manager/ui/uiholders.h"
#include "manager/ui/uitreeview.h"
#include "toolkit/string.h"

class CManFolders : public uitreeview_c {
public:
  // What a selection asks of the main window.
  class Owner {
  public:
    virtual ~Owner() = default;
    virtual void ShowInbox() = 0;
    virtual void ShowOutbox() = 0;
    virtual void ShowNothing() = 0;
    virtual void ShowFolder(const char* directory) = 0;
  };

  // Item kinds, kept as each item's data.
  enum : LPARAM { KIND_INBOX = 1, KIND_OUTBOX = 2, KIND_GROUP = 3, KIND_PERSONAL = 4 };

  static const char KEY[];               // below HKEY_CURRENT_USER
  static constexpr int NAMEMAX = 255;    // characters of a folder's display name
  static constexpr int DIRMAX = MAX_PATH;   // bytes of a folder's directory, terminator included

  CManFolders() = default;
  ~CManFolders() override;

  // 1 in the Move dialog's copy: it never drives the main window. Set before the first fill.
  int Embedded = 0;

  // Who hears about selections (may be null), and the window that gets the Folders popup's
  // commands and owns message boxes and the dialog (null: the tree's top-level window).
  void SetOwner(Owner* owner, HWND mainwindow = nullptr);

  // The tree as a child window (expand buttons, lines, selection always shown, no dragging,
  // vertical scroll bar, tab stop), taking its own notifications.
  bool Create(HWND parent, unsigned id, DWORD exstyle = WS_EX_CLIENTEDGE);
  // An existing tree control (the Move dialog's), taking its notifications from now on.
  bool Attach(HWND control);

  // Refills the tree and selects the personal folder of that name (ignoring case), or Inbox.
  bool FillTree(const char* select = nullptr);
  // Asks for a new personal folder and makes it; true when one was made.
  bool CreateFolder();
  // Deletes the selected personal folder after asking; its files and directory go with it.
  bool DeleteFolder();

  // 1 when the selected item is a personal folder.
  int PersonalFolderSelected() const;
  // 1 while Inbox or Outbox is selected.
  int MainFolderSelected() const { return mainselected; }
  // The selected personal folder's directory; empty for anything else.
  const char* FolderPath() const { return folderpath.text(); }

  // Whether a directory read from the key may be shown and emptied: a full path (drive or
  // UNC share) below a root, without "." or ".." parts or wildcards, that fits with the
  // mailbox file's name.
  static bool UsableDirectory(const char* directory);

protected:
  bool OnReflect(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

private:
  void SelectionChanged();
  bool RightClick();
  HWND MainWindow() const;
  // The directory of the personal folder of that name, from the key; false when none.
  static bool FindFolder(const char* name, string_c& directory);


  uiimagelist_c images;
  int imagesmade = 0;
  int imageindex[4] = {0, 1, 2, 3};   // Inbox, Outbox, group node, personal folder
  bool filling = false;
  int mainselected = 1;
  string_c folderpath;
  Owner* owner = nullptr;
  HWND mainwindow = nullptr;
};
