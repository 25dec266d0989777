#include "manager/optionsdialog.h"

#include "manager/res/resource.h"

COptionsDlg::COptionsDlg() : uidialog_c(IDD_OPTIONS) {}
