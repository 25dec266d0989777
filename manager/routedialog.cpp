#include "manager/routedialog.h"

#include "manager/eventlist.h"
#include "manager/res/resource.h"

CRouteDlg::CRouteDlg(CManListCtrl& list) : uidialog_c(IDD_ROUTE), eventlist(list) {}
