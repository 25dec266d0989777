#pragma once
// "Route events..." (dialog 135): picks the users the selected events of the event list are
// routed to, then routes them. List 1018 holds the candidates, the mailbox names of every user
// mailbox beside the open one (the user's own included); list 1019 the chosen targets. Both lists
// are sorted, take extended selections and draw their items themselves: a name ending in
// "@ravelink" (any case) is shown without that ending but always routed with its full text.
//
// OK routes each selected event to every target, deletes the routed events from the open
// mailbox without asking, reloads the list and closes; with no target chosen it does nothing.
#include <windows.h>

#include "manager/ui/uidialog.h"
#include "toolkit/string.h"

class CManListCtrl;

class CRouteDlg : public uidialog_c {
public:
  explicit CRouteDlg(CManListCtrl& list);

  // The ending the lists hide, compared ignoring case.
  static const char HIDDENSUFFIX[];
  // How many characters of an item text the lists show: up to the first "@ravelink".
  static int ShownLength(const char* text);
  // The directory that holds the user mailboxes, for the directory of an open mailbox (ending
  // in a backslash or not): its parent, ending in a backslash. Empty when it has none.
  static string_c CandidateRoot(const char* storedir);

protected:
  bool OnInit() override;
  void OnOK() override;
  bool OnCommand(unsigned id, unsigned code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

private:
  void FillCandidates();
  // Moves the selected items of one list into the other, last to first, selecting them there.
  void MoveItems(int from, int to);
  void DrawItem(const DRAWITEMSTRUCT& draw);

  CManListCtrl& eventlist;
};
