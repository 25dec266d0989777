#pragma once
// The Manager's event list: the right-hand pane of the main window, one row per event of the
// open mailbox file (the user's own mailbox or a personal folder).
//
// Each row's item data is the slot number of its event in the open mailbox file; rows are found
// by that number, never by position. A reload walks the rows and the file inside one batch (the
// file is held exclusively for the whole reload and closed again at its end), so the rows follow
// whatever the fax server or another program did to the file since the last reload. Rows are
// filtered by direction and state (Filter), sorted by one column (SortBy) and drawn by the list
// itself: an icon per state, bold for unread events, italic for events in the server's hands.
//
// Everything in a record is untrusted: texts are read within their fields, states outside the
// table are shown as unknown, and nothing indexes past the eight state images.
//
// Window-layer wiring:
// - Create() makes the control (report view, fixed-height owner-drawn rows, multiple selection)
//   and subclasses it; WM_DRAWITEM and the list notifications come back through OnReflect.
// - WM_MEASUREITEM reaches the parent (a splitter passes it on to the frame) before the control
//   can be subclassed; the frame answers it with CManListCtrl::MeasureItem.
// - View (double click, Enter), Details (right double click) and the context menu's commands
//   are posted to the top-level window as WM_COMMAND, like menu commands.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxdir.h"
#include "mailstore/mailboxfile.h"
#include "manager/ui/uiholders.h"
#include "manager/ui/uilistview.h"
#include "toolkit/string.h"

class CManListCtrl : public uilistview_c {
public:
  // Bits of Filter: which rows pass.
  enum : DWORD {
    FILTER_INCOMING = 1,   // events with EV_INCOMING (Inbox, personal folders)
    FILTER_OUTGOING = 2,   // events without it (Outbox, personal folders)
    FILTER_READ = 4,       // state Read
    FILTER_SENT = 8,       // state Sent
    FILTER_FAILED = 16,    // states Failed and Cancelled
  };
  enum : int {
    COLUMN_STATE = 0,
    COLUMN_PARTY = 1,
    COLUMN_SUBJECT = 2,
    COLUMN_DATE = 3,
    COLUMNS = 4,
    ICONSIZE = 16,
    FILLINDENT = 19,       // the first pixels of a row are never filled (the icon column's edge)
    TEXTINDENT = 20,       // the state text starts this far into the row
  };
  // The control's style when Create makes it.
  static constexpr DWORD STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LVS_REPORT | LVS_OWNERDRAWFIXED |
                                 LVS_SHAREIMAGELISTS;

  CManListCtrl();
  ~CManListCtrl() override;

  // Makes the control as a child of parent and takes over its messages. False when the system
  // refused the window.
  bool Create(HWND parent, unsigned id, const RECT& rect);

  // Opens a mailbox and reloads the rows. With a path: a personal folder's mailbox file (or,
  // when the path holds no "mailbox.rlb", a directory of user mailboxes). Without: the user's
  // own mailbox, or the directory of user mailboxes given before. Messages 114 (the directory
  // does not exist) and 2 (no mailbox of this Windows user in it) are shown here; a mailbox file
  // that cannot be opened fails without a message. Rows never outlive the file they came from:
  // opening another file (or failing to) removes them; a failed personal folder also clears both
  // direction bits of Filter.
  int OpenMailbox(const char* path = nullptr);
  // Brings the rows in line with the file, then counts the user's unread and failed events. A
  // reload asked for while one runs returns 1 at once and changes nothing. When the file cannot
  // be opened within its retry time, the rows stay as they were.
  int Reload();
  // Sort order of two rows by their slot numbers: negative, 0 or positive. Date column: newest
  // first; any other column: the shown texts, byte-wise and case-sensitive.
  int CompareRows(LPARAM first, LPARAM second);

  // WM_MEASUREITEM of the list's rows (CtlType ODT_LISTVIEW): sets itemHeight so that a row holds
  // the state icon and a line of the list's font. list may be null while the control is being
  // created (the control's default font is assumed then). False for other controls.
  static bool MeasureItem(MEASUREITEMSTRUCT* measure, HWND list);

  // The frame loads and saves these (and may change Filter before OpenMailbox or Reload).
  DWORD Filter;
  int SortBy;

  // Read access for the frame, the event commands and the dialogs.
  mailboxfile_c& Mailbox() { return mailbox; }
  const mailboxfile_c& Mailbox() const { return mailbox; }
  // Directory of the open mailbox file, ending in a backslash: its events' side files lie here.
  const char* StoreDir() const { return mailbox.directory; }
  const char* UserMailboxFile() const { return usermailboxfile.text(); }
  const char* ServerMailboxDir() const { return servermailboxdir.text(); }
  int PersonalOpen() const { return personalopen; }
  int FailedCount() const { return failedcount; }
  int UnreadCount() const { return unreadcount; }
  int NewFailed() const { return newfailed; }
  int HasUnread() const { return hasunread; }
  int NewUnread() const { return newunread; }
  // Image-list index of a state's icon; -1 for a state outside 0..7 or before the first open.
  int StateImage(int state) const;
  HIMAGELIST Images() const { return images.get(); }
  // The font a row with this image is drawn in (bold for unread, italic for events the server
  // holds); null before the first open.
  HFONT RowFont(int image) const;

  // Rows by slot number, for the event commands.
  int FindRow(int slot) const { return finditem(static_cast<LPARAM>(slot)); }
  int SlotOfRow(int row) const { return static_cast<int>(itemdata(row)); }
  std::vector<int> SelectedSlots() const;
  // Removes the row of a slot (after its event left the file); false when there is none.
  bool RemoveRow(int slot);
  void RemoveAllRows();

  // Whether an event passes a filter word: the state test, then the direction test.
  static bool PassesFilter(const eventrecord& event, DWORD filter);

  // The event commands (eventlistcommands.cpp). Each acts on the selected rows and the open
  // mailbox file; View, Details and Forward need exactly one selected row, the others at least
  // one, and do nothing otherwise.
  //
  // View (print 0) or print (print 1) the event's fax pages through the outside viewer.
  void ViewEvent(int print);
  // The Event details dialog of the selected event; an unread event is read afterwards.
  void ShowDetails();
  // Deletes the selected events with their side files (ask 1: message 134 first). Working events
  // stay; Queued ones only after one Yes to message 135 for the whole run.
  void DeleteSelected(int ask);
  // Adds a route request to target ("name@suffix" or a bare name) for each selected event that
  // is not Working or Queued. 1 when rows were selected, else 0.
  int RouteTo(const char* target);
  // Turns the selected events (not Working or Queued) into outgoing Pending resubmissions.
  void ResubmitSelected();
  // Hands the selected event to the outside composer (section ResubmitParams of RIROVEVI.INI).
  void ForwardEvent();
  // Moves (copy 0) or copies the selected events with their side files into another mailbox
  // file; destination null: the user's own mailbox file. False when nothing was selected or the
  // destination could not be opened.
  int MoveSelected(const char* destination, int copy);
  // Writes the shown rows, in the shown order, as tab-separated lines into a file the user picks.
  int ExportLog();
  // The outside composer with no parameters; message 137 when it cannot be started.
  static void NewFax(HWND owner);
  // The help file in the program's own directory, when there is one.
  static void HelpContents(HWND owner);

protected:
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  bool OnReflect(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

private:

  enum { FONT_LIGHT = 0, FONT_BOLD = 1, FONT_LIGHTITALIC = 2, FONT_BOLDITALIC = 3, FONTS = 4 };
  enum { COLOUR_HIGHLIGHT = 0, COLOUR_HIGHLIGHTTEXT = 1, COLOUR_WINDOW = 2, COLOUR_WINDOWTEXT = 3, COLOURS = 4 };

  // What a reload remembers of a shown event: a digest of the shown fields (an unchanged event's
  // row is not rewritten) and its date as one sortable number.
  struct rowmemo {
    uint64_t digest;
    uint64_t datekey;
  };
  // The texts and image of one row.
  struct rowtexts {
    std::string cells[COLUMNS];
    int image;
  };

  void MakeImages();
  void ReleaseImages();
  void RefreshRows(std::unordered_set<int>& present, std::unordered_map<int, rowmemo>& memo, bool& changed);
  void AddRows(std::unordered_set<int>& present, std::unordered_map<int, rowmemo>& memo, bool& changed);
  // Counts the user's own mailbox; unavailable names a file the reload just found locked.
  void CountStatus(const char* unavailable);
  // Opens the mailbox object on a file; rows of another file are removed.
  int OpenFile(const char* file);
  // Sorts with CompareRows; the keys are taken once per row first (from memo where it has the
  // row's date, else from the file and the shown texts).
  void SortRows(const std::unordered_map<int, rowmemo>* memo);
  void ColumnClick(int column);
  // Takes the open mailbox file for a batch: false when it cannot be had (the batch is ended).
  bool TakeMailbox();

  void MakeTexts(const eventrecord& event, rowtexts& out) const;
  void ShowTexts(int row, const rowtexts& texts);
  void DrawRow(const DRAWITEMSTRUCT& draw);
  void ShowContextMenu(LPARAM where);
  void PostCommand(unsigned id) const;
  HWND MainWindow() const;

  // Helpers of the event commands (eventlistcommands.cpp).
  //
  // Shows a changed event in its row: state text, icon and Subject column.
  void ShowEventRow(int slot, const eventrecord& event);
  // Reads the event again after the viewer or the details dialog had it; an Unread one becomes
  // Read. The row follows in any case.
  void MarkRead(int slot);
  // Deletes the event's side files and frees its slot; the row goes only when the slot was freed.
  bool RemoveEvent(int slot);
  // The one selected row's slot, or 0 unless exactly one row is selected.
  int SingleSelectedSlot() const;
  // The first selected row's slot, deselecting the row; 0 when no row is selected.
  int TakeSelected();

  static int CALLBACK SortCallback(LPARAM first, LPARAM second, LPARAM context);
  static uint64_t DateKey(const eventrecord& event);
  static uint64_t Digest(const eventrecord& event);

  mailboxfile_c mailbox;
  mailboxdir_c mailboxdir;
  string_c usermailboxfile;
  string_c servermailboxdir;
  int personalopen;
  int mailboxopen;              // the mailbox object's file was opened and is the rows' file
  int imagesmade;
  int reloading;
  int stateimages[EVS_COUNT];
  uiimagelist_c images;
  int failedcount;
  int unreadcount;
  int newfailed;
  int hasunread;
  int newunread;
  COLORREF colours[COLOURS];
  uifont_c fonts[FONTS];
  int oldstyle;
  std::string statetexts[EVS_COUNT];
  std::string unknowntext;

  // The last reload's memo of every row it kept or added, by slot.
  std::unordered_map<int, rowmemo> rowmemos;
  int sortedby;                 // SortBy of the last sort; -1 before the first
  // Keys of the running sort, by slot: dates, or the texts of the sort column.
  std::unordered_map<LPARAM, uint64_t> sortdates;
  std::unordered_map<LPARAM, std::string> sorttexts;
  bool sorting;
};
