#pragma once
// "Route events..." (dialog 135): picks the users the selected events of the event list are
// routed to, then routes them.
#include <windows.h>

#include "manager/ui/uidialog.h"

class CManListCtrl;

class CRouteDlg : public uidialog_c {
public:
  explicit CRouteDlg(CManListCtrl& list);

private:
  CManListCtrl& eventlist;
};
