#include "manager/movedialog.h"

#include "manager/res/resource.h"

CMoveDlg::CMoveDlg() : uidialog_c(IDD_MOVE), Copy(0) {}
